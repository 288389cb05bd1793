// Hxprofiler: the game-profile editor as a program of its own. One instance only; its one
// window, the profile manager, runs modally for the whole life of the program.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "hxprofiler/main_window.h"
#include "hxprofiler/output.h"
#include "hxprofiler/startup.h"
#include "hxprofiler/texts.h"
#include "profiles/profile.h"
#include "profiles/win/profile_folder.h"
#include "resources/hxprofiler/resource.h"
#include "winui/app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  EnterProfileFolder(texts::kProgramFolder);  // the profiles' folder; without one, where started

  winui::Application application;
  const std::string alreadyRunning = ResourceText(IDS_ALREADY_RUNNING, "Hxprofiler is already running!");
  if (!application.ClaimSingleInstance(texts::kMutexName)) {
    MessageBoxA(nullptr, alreadyRunning.c_str(), texts::kAppTitle, MB_OK);
    return 1;
  }
  if (!StartServices(SystemStartupCalls())) return 1;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  application.SetRegistryKey(texts::kCompanyKey, texts::kAppTitle);
  SetProfileMessageHandler([](const char* text, const char* caption) { MessageBoxA(nullptr, text, caption, MB_OK); });

  const int32_t maxListSize =
      application.GetProfileInt(texts::kParameters, texts::kMaxListSize, texts::kMaxListSizeDefault);
  INT_PTR ended = IDCANCEL;
  bool closedBySetup = false;
  {
    Output output;
    MainWindow window(output, application);
    ended = window.DoModal();
    closedBySetup = window.CloseRequested();
  }  // the output thread has ended with the window, its keys let go
  if (closedBySetup) SetProfileMessageHandler(nullptr);  // no message may hold setup up
  if (ended == IDOK || ended == IDCANCEL)
    application.WriteProfileInt(texts::kParameters, texts::kMaxListSize, maxListSize);
  CurrentProfile().Clear();
  WorkingProfile().Clear();
  WSACleanup();
  OleUninitialize();
  return 0;
}
