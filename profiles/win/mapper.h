#pragma once
// The command options dialog of one motion: which of keys, buttons, wheel and Power Command
// it uses, each set through its own dialog (written into the map at once), and its dead
// zone, against a live view of the head's deflection read by `MapperEmitter`.
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "commands/command.h"
#include "device/link_cancel.h"
#include "profiles/mapper_rules.h"
#include "winui/dialog.h"
#include "winui/handles.h"

class Mapper : public winui::Dialog {
 public:
  Mapper(Command& map, int mapIndex, int itemIndex, const MapperChecks& checks, int32_t deadZone);
  ~Mapper() override;
  // Meaningful after DoModal returned IDOK.
  MapperChecks Checks() const;
  int32_t DeadZone() const;

  // The live bar's thread: reads its own tracker link back to back until the stop flag is set.
  static DWORD WINAPI MapperEmitter(void* dialog);

 protected:
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code) override;
  void OnClose() override;
  void OnDestroy() override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  MapperChecks ReadChecks() const;
  void PlaceIndicator();
  void ShowChecks(const MapperChecks& checks);
  void Enable();
  void ShowText(MapperOption option);
  void OnOptionClicked(MapperOption option);
  void ChangeKeys();
  void ChangeButtons();
  void ChangeWheel();
  void ChangePowerCommand();
  void Close(int code, const char* trace);
  void StopEmitter();

  Command& map_;
  const int mapIndex_;
  const int itemIndex_;
  MapperChecks checks_;
  int32_t deadZone_;
  std::atomic<int32_t> stop_{1};
  std::atomic<HWND> bar_{nullptr};  // set before the thread starts, valid until it has ended
  LinkCancel cancel_;  // the thread's link is made with it
  KernelHandle emitter_;
};
