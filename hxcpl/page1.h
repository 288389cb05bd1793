#pragma once
// "Outputs": the tracker's five axes live, read by a thread of the page's own.
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "device/hx_mouse.h"
#include "hxcpl/external_dialog.h"
#include "winui/handles.h"

namespace hxcpl {

class CPage1 : public CExternalDialog {
 public:
  CPage1() = default;
  ~CPage1() override;

  int DialogId() const override;

  // The bars' thread: reads the page's link back to back until the killswitch is set.
  static DWORD WINAPI GetPositionDouble(void* page);

 protected:
  BOOL OnInitDialog() override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  DWORD ReadUntilKilled();
  void StartReader();
  void StopReader();

  std::atomic<int32_t> killswitch_{1};
  int calibrated_ = 0;
  std::atomic<int32_t> axes_[5] = {};  // X, Y, Z, RX and -RY of the last reading
  LinkCancel cancel_;  // ends the reader's request when the page stops it
  CHxMouse link_{&cancel_};
  std::atomic<HWND> bars_[5] = {};  // set before the thread starts, valid until it has ended
  KernelHandle reader_;
};

}  // namespace hxcpl
