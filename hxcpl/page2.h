#pragma once
// "Options": calibration and the zero point, through the page's own tracker link.
#include "device/hx_mouse.h"
#include "hxcpl/external_dialog.h"

namespace hxcpl {

class CPage2 : public CExternalDialog {
 public:
  int DialogId() const override;

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code) override;

 private:
  void OnCalibrate();
  void OnSetZero();

  CHxMouse link_;
};

}  // namespace hxcpl
