#pragma once
// The "Gesture" page: the four gestures, their actions and required motion, with a live bar
// that shows how far the head is moved in the direction of the chosen gesture.
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "device/link_cancel.h"
#include "qmouse/win/settings_page.h"
#include "winui/handles.h"

class Gesture : public SettingsPage {
 public:
  explicit Gesture(Settings& values);
  ~Gesture() override;

  // The bar's thread: reads its own tracker link back to back until the stop flag is set.
  static DWORD WINAPI GestureEmitter(void* page);

 protected:
  BOOL OnInitDialog() override;
  void OnPageCommand(int id, int code) override;
  void OnSliderReleased(int id, int position) override;
  void OnDestroy() override;

 private:
  void ReadControls();
  void ShowCurrentGesture();
  void ShowCommandList();
  void EnableControls();
  void OnGestureChosen();
  void OnTypeClicked();
  void OnCommandChosen(int listId);
  void OnEnableClicked();
  void StartEmitter();
  void StopEmitter();

  std::atomic<int32_t> current_{0};  // the gesture shown, read by the thread in every pass
  std::atomic<int32_t> stop_{1};
  int32_t actionChoice_ = 0;        // the radio group as last read or written
  std::atomic<HWND> bar_{nullptr};  // set before the thread starts, valid until it has ended
  LinkCancel cancel_;  // the thread's link is made with it
  KernelHandle emitter_;
};
