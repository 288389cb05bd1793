#pragma once
// The application's process-wide parts: the single-instance mutex and the per-user
// registry root (HKCU\Software\<company>\<application>) with integers by section and name.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "winui/handles.h"

namespace winui {

class Application {
 public:
  // False when another instance already holds the mutex.
  [[nodiscard]] bool ClaimSingleInstance(const char* mutexName);
  void SetRegistryKey(const std::string& company, const std::string& application);
  std::string RegistryPath() const { return "Software\\" + company_ + "\\" + application_; }

  int32_t GetProfileInt(const char* section, const char* name, int32_t defaultValue) const;
  bool WriteProfileInt(const char* section, const char* name, int32_t value) const;

 private:
  KernelHandle mutex_;
  std::string company_, application_;
};

// Starts a worker thread at the given priority; the handle is empty on failure.
KernelHandle StartThread(LPTHREAD_START_ROUTINE proc, void* arg, int priority);
// Ends a worker for good: waits for its thread without a time limit, while still answering
// messages sent to this thread's windows, so that a worker calling into our windows can never
// deadlock against us. `cancel` ends what the worker waits on (its tracker request); it runs
// at once and again every 20 ms while the thread runs, since a wait may begin just after a
// cancel. Empties `thread`; does nothing when it is empty.
void JoinThread(KernelHandle& thread, const std::function<void()>& cancel);
// The system's text for an error code (neutral language), without the trailing line break.
std::string SystemErrorText(DWORD error);

// The message with which setup and the uninstaller ask qmouse and hxprofiler to close as the
// user's Exit does (settings saved, keys let go), without a question. They broadcast it by
// this name, so it must not change.
constexpr char kCloseRequestName[] = "Korvath.QuellanMouse.CloseRequest";
UINT CloseRequestMessage();
// Closes, as their Cancel does, the dialog boxes this thread still shows (ours and the
// system's message boxes) but `except`: a question left open would hold a close request up.
void CloseOpenBoxes(HWND except);

}  // namespace winui
