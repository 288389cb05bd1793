// Quellan Mouse: start-up. One instance only; the hidden main window runs modally for the
// whole life of the program.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "qmouse/texts.h"
#include "profiles/profile.h"
#include "profiles/win/profile_folder.h"
#include "qmouse/win/null_window.h"
#include "qmouse/win/process_engine.h"
#include "resources/qmouse/resource.h"
#include "winui/app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  EnterProfileFolder(texts::kProgramFolder);  // the profiles' folder; without one, where started

  winui::Application application;
  if (!application.ClaimSingleInstance(texts::kMutexName)) {
    MessageBoxA(nullptr, texts::kAlreadyRunning, texts::kAppTitle, MB_OK);
    return 1;
  }
  char title[128] = {};
  if (!LoadStringA(GetModuleHandleA(nullptr), IDS_APP_TITLE, title, sizeof title)) lstrcpyA(title, texts::kAppTitle);
  application.SetRegistryKey(texts::kCompanyKey, title);
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  if (FAILED(OleInitialize(nullptr))) {
    MessageBoxA(nullptr, texts::kOleFailed, texts::kAppTitle, MB_OK);
    return 1;
  }
  SetProfileMessageHandler([](const char* text, const char* caption) { MessageBoxA(nullptr, text, caption, MB_OK); });
  bool closedBySetup = false;
  {
    NullWindow window(application);
    window.SetLastForeground(GetForegroundWindow());
    window.DoModal();
    closedBySetup = window.CloseRequested();
  }
  if (closedBySetup) SetProfileMessageHandler(nullptr);  // no message may hold setup up
  // The cursor thread has ended with the window: let go of what the engine holds, then of
  // the profiles.
  ShutdownProcessEngine();
  CurrentProfile().Clear();
  WorkingProfile().Clear();
  OleUninitialize();
  return 0;
}
