// hxsim.exe: the tracker simulator in the driver's place. See options.h for its command line.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "hxsim/control.h"
#include "hxsim/motion_script.h"
#include "hxsim/sim_device.h"
#include "hxsim/win/control_server.h"
#include "hxsim/win/device_notifier.h"
#include "hxsim/win/motion.h"
#include "hxsim/win/options.h"
#include "hxsim/win/slider_window.h"
#include "hxsim/win/tracker_server.h"
#include "winui/handles.h"

namespace {

// Bad command line: the reason, the usage text and exit code 2.
int Usage(const std::string& reason) {
  std::fprintf(stderr, "hxsim: %s\n%s", reason.c_str(), kSimUsage);
  return 2;
}

bool LoadMotion(const SimOptions& options, MotionScript* script, std::string* error) {
  if (options.motion == SimOptions::Motion::Demo) return script->Parse(MotionScript::DemoText(), error);
  std::ifstream file(options.scriptFile, std::ios::binary);
  if (!file) {
    *error = "cannot read " + options.scriptFile;
    return false;
  }
  std::ostringstream text;
  text << file.rdbuf();
  if (script->Parse(text.str(), error)) return true;
  *error = options.scriptFile + ": " + *error;
  return false;
}

// Waits for `quit`; with the slider window the thread also runs its messages.
void WaitForQuit(HANDLE quitRequested, bool pumpMessages) {
  if (!pumpMessages) {
    WaitForSingleObject(quitRequested, INFINITE);
    return;
  }
  for (;;) {
    DWORD woke = MsgWaitForMultipleObjects(1, &quitRequested, FALSE, INFINITE, QS_ALLINPUT);
    if (woke == WAIT_OBJECT_0) return;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

int Run(int argc, char** argv) {
  SimOptions options;
  std::string error;
  if (!ParseSimOptions(argc, argv, &options, &error)) return Usage(error);
  MotionScript script;
  if (options.motion != SimOptions::Motion::Still && !LoadMotion(options, &script, &error)) {
    std::fprintf(stderr, "hxsim: %s\n", error.c_str());
    return 2;  // a bad script is a bad argument
  }

  // These live until ExitProcess; the threads that use them are never outlived by them.
  static SimDevice device;
  static DeviceNotifier notifier("\\\\?\\hxsim#" + options.pipe + "#{29624363-2437-4af2-8545-e1db10092374}");
  static std::unique_ptr<MotionPlayer> motion;
  auto setPlugged = [](bool plugged) {
    if (plugged)
      device.Plug();
    else
      device.Unplug();
    notifier.Announce(plugged);
  };
  auto takeOver = [] {
    if (motion) motion->TakeOver();
  };
  if (options.motion != SimOptions::Motion::Still)
    motion = std::make_unique<MotionPlayer>(device, script, options.motion == SimOptions::Motion::Demo, setPlugged);

  static SimControl control(device, SimControl::Hooks{[](bool plugged) { notifier.Announce(plugged); }, takeOver});
  static KernelHandle quitRequested(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  static KernelHandle quitterGone(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  static TrackerServer tracker(device, options.pipe, options.rateHz);
  static ControlServer controlServer(control, options.pipe, quitRequested.Get(), quitterGone.Get());
  if (!quitRequested || !quitterGone || !notifier.Start()) {
    std::fprintf(stderr, "hxsim: cannot start\n");
    return 1;
  }
  if (!tracker.Start(&error) || !controlServer.Start(&error)) {
    std::fprintf(stderr, "hxsim: %s\n", error.c_str());
    return 1;
  }
  if (motion && !motion->Start()) {
    std::fprintf(stderr, "hxsim: cannot start the motion\n");
    return 1;
  }

  static SliderWindow sliders(device, takeOver);
  bool window = options.window && sliders.Create();
  if (options.window && !window) std::fprintf(stderr, "hxsim: no display, running without the window\n");

  WaitForQuit(quitRequested.Get(), window);
  // Links end now, so their clients' reads fail at once; the asker of `quit` gets a moment
  // to read its reply before the process, and with it every pipe, goes away.
  tracker.DisconnectAll();
  WaitForSingleObject(quitterGone.Get(), 1000);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int code = Run(argc, argv);
  std::fflush(stdout);
  std::fflush(stderr);
  // Ends the serving threads with the process instead of unwinding objects they still use.
  ExitProcess(static_cast<UINT>(code));
}
