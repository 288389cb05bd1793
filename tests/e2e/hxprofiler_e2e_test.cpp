// hxprofiler as a whole program against hxsim: one instance, the joystick button, engaged
// output into a probe window, tracker hot-plug, never two output threads, and calibration.
#include <winsock2.h>
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "commands/key_table.h"
#include "hxprofiler/texts.h"
#include "hxsim/win/sim_client.h"
#include "profiles/profile.h"
#include "resources/hxprofiler/resource.h"
#include "tests/e2e/broadcast_watch.h"
#include "tests/e2e/pose_sender.h"
#include "tests/e2e/game_steps.h"
#include "tests/e2e/probe.h"
#include "tests/e2e/program.h"
#include "tests/e2e/screenshot.h"

namespace {

int ThreadCount(DWORD pid) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
    if (entry.th32OwnerProcessID == pid) ++count;
  CloseHandle(snapshot);
  return count;
}

std::string Text(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}


class Hxprofiler : public testing::Test {
 protected:
  void SetUp() override {
    GetSystemMetrics(SM_CXSCREEN);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Hxprofiler");
    ASSERT_TRUE(sim_.Start(SimProcess::Options{}));
    _putenv(("HXSIM_PIPE=" + sim_.PipeName()).c_str());
    const char* exe = std::getenv("HXPROFILER_EXE");
    ASSERT_NE(exe, nullptr) << "HXPROFILER_EXE names the program under test";
    exe_ = WindowsPath(exe);
    CreateDirectoryA("C:\\Program Files", nullptr);
    CreateDirectoryA(texts::kProgramFolder, nullptr);
    profileFile_ = std::string(texts::kProgramFolder) + "\\Walk.cpf";
    ASSERT_NO_FATAL_FAILURE(SaveWalkProfile(profileFile_));
  }
  void TearDown() override {
    if (program_.Running()) program_.Kill();
    DeleteFileA(profileFile_.c_str());
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Hxprofiler");
  }
  void Start() {
    ASSERT_TRUE(program_.Start(exe_));
    ASSERT_TRUE(WaitFor([&] { return (window_ = Manager()) != nullptr; }, 5000)) << "no dialog 102";
  }
  HWND Manager() {
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", nullptr));) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == program_.Id() && GetDlgItem(w, IDC_JOYSTICK) && IsWindowVisible(w)) return w;
    }
    return nullptr;
  }
  std::string ButtonText(int id) { return Text(GetDlgItem(window_, id)); }
  void Click(int id) { Program::Click(window_, id); }
  // Picks the first row as a user's click does.
  void SelectWalk() {
    HWND list = GetDlgItem(window_, IDC_MANAGER_LIST);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 8));
    PostMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(40, 8));
    ASSERT_TRUE(WaitFor([&] { return Text(GetDlgItem(window_, IDC_MANAGER_ACTIVE)) == "Walk"; }, 5000))
        << Text(GetDlgItem(window_, IDC_MANAGER_ACTIVE));
  }
  void Pose(double rx) {
    char line[96];
    snprintf(line, sizeof line, "pose 0 0 0 %g 0", rx);
    ASSERT_EQ(sim_.Control(line), "ok");
  }
  int Threads() { return ThreadCount(program_.Id()); }
  static std::vector<std::string> Keys(const Probe& probe) { return FoldedKeys(probe.Events()); }
  // The game takes the keyboard, Engage, and the head turned left holds W in it.
  void EngageAndHoldW(Probe& game) {
    ASSERT_TRUE(game.TakeKeyboard());
    Click(IDC_MANAGER_ENGAGE);
    Pose(-1200);
    ASSERT_TRUE(KeysAre(game, {down_})) << game.Joined();
  }
  bool KeysAre(Probe& probe, const std::vector<std::string>& want, DWORD timeoutMs = 5000) {
    return WaitFor([&] { probe.Pump(20); return Keys(probe) == want; }, timeoutMs);
  }
  // The thread count once it has held for a while: the program's own threads at rest.
  int RestingThreads() {
    int last = -1, same = 0;
    WaitFor([&] {
      const int now = Threads();
      same = now == last ? same + 1 : 0;
      last = now;
      return same >= 10;
    }, 5000);
    return last;
  }

  const std::string& down_ = kWDown;
  const std::string& up_ = kWUp;
  SimProcess sim_;
  Program program_;
  std::string exe_, profileFile_;
  HWND window_ = nullptr;
};

TEST_F(Hxprofiler, SecondInstanceSaysSoAndLeavesTheFirstRunning) {
  Start();
  if (const std::string shots = ShotsFolder(); !shots.empty()) {
    SelectWalk();
    SetWindowPos(window_, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    Sleep(300);  // let it paint: a picture for people, not a condition
    EXPECT_TRUE(SaveWindowPicture(window_, shots + "hxprofiler_main.bmp"));
  }
  Program second;
  ASSERT_TRUE(second.Start(exe_));
  HWND message = second.FindDialog("Hxprofiler is already running!");
  ASSERT_NE(message, nullptr);
  Program::Press(message, IDOK);
  EXPECT_EQ(second.WaitExit(5000), 1);
  EXPECT_TRUE(program_.Running());
  EXPECT_EQ(Manager(), window_);

  PostMessageA(window_, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);  // the system menu's "&About Hxprofiler"
  HWND about = program_.FindDialog("Hxprofiler v");
  ASSERT_NE(about, nullptr);
  if (const std::string shots = ShotsFolder(); !shots.empty()) {
    Sleep(300);  // let it paint: a picture for people, not a condition
    EXPECT_TRUE(SaveWindowPicture(about, shots + "hxprofiler_about.bmp"));
  }
  Program::Press(about, IDOK);
  ASSERT_TRUE(WaitFor([&] { return program_.FindDialog("Hxprofiler v", 0) == nullptr; }, 5000));

  Program::Press(window_, IDOK);  // "Close" ends it with OK: the list size goes back
  EXPECT_EQ(program_.WaitExit(5000), 0);
  DWORD value = 0, size = sizeof value;
  EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, "Software\\Hxprofiler\\Hxprofiler\\Parameters", "Max List Size",
                         RRF_RT_REG_DWORD, nullptr, &value, &size), ERROR_SUCCESS);
  EXPECT_EQ(value, 200u);
}

TEST_F(Hxprofiler, JoystickButtonFollowsTheTrackersAnswer) {
  struct Case {
    const char* setUp;       // control line before the program starts
    const char* shownFirst;  // the button at start
    const char* request;     // what the press sends
    const char* shownAfter;
  };
  const Case cases[] = {
      {"answer joystick 1", texts::kDisableJoystick, "IOCTL_DISABLE_JOYSTICK", texts::kEnableJoystick},
      {"answer joystick 0", texts::kEnableJoystick, "IOCTL_ENABLE_JOYSTICK", texts::kDisableJoystick},
      // A failed state request counts as enabled.
      {"fail IOCTL_GET_JOYSTICK_STATE", texts::kDisableJoystick, "IOCTL_DISABLE_JOYSTICK", texts::kEnableJoystick},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setUp);
    ASSERT_EQ(sim_.Control(c.setUp).substr(0, 2), "ok");
    Start();
    EXPECT_EQ(ButtonText(IDC_JOYSTICK), c.shownFirst);
    sim_.Control("log");
    Click(IDC_JOYSTICK);
    EXPECT_EQ(ButtonText(IDC_JOYSTICK), c.shownAfter);
    const std::string log = sim_.Control("log");
    EXPECT_NE(log.find(c.request), std::string::npos) << log;
    EXPECT_NE(log.find("IOCTL_SAVE_SETTINGS"), std::string::npos) << log;
    program_.Kill();
    program_.WaitExit(5000);
    sim_.Control("pass IOCTL_GET_JOYSTICK_STATE");
  }

  // No tracker at all: the request fails, so the press disables and offers to enable.
  ASSERT_EQ(sim_.Control("unplug").substr(0, 2), "ok");
  Start();
  Click(IDC_JOYSTICK);
  EXPECT_EQ(ButtonText(IDC_JOYSTICK), texts::kEnableJoystick);
}

TEST_F(Hxprofiler, EngagedTurnReachesTheProbeAndDisengagingLetsGo) {
  Start();
  SelectWalk();
  const int resting = RestingThreads();
  Probe game({100, 100, 500, 400});
  ASSERT_TRUE(game.TakeKeyboard());
  Click(IDC_MANAGER_ENGAGE);
  EXPECT_EQ(ButtonText(IDC_MANAGER_ENGAGE), "Disengage");
  EXPECT_EQ(ButtonText(IDC_MANAGER_LAUNCH), "Disengage");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window_, IDC_MANAGER_EDIT)));
  EXPECT_EQ(Threads(), resting + 1);

  Pose(-1200);
  EXPECT_TRUE(KeysAre(game, {down_})) << game.Joined();
  Pose(50);
  EXPECT_TRUE(KeysAre(game, {down_, up_})) << game.Joined();
  Pose(-1300);
  EXPECT_TRUE(KeysAre(game, {down_, up_, down_})) << game.Joined();

  Click(IDC_MANAGER_ENGAGE);  // "Disengage", the key still held
  EXPECT_TRUE(KeysAre(game, {down_, up_, down_, up_})) << "the held key stayed down: " << game.Joined();
  EXPECT_EQ(Threads(), resting) << "the output thread outlived Disengage";
  EXPECT_EQ(ButtonText(IDC_MANAGER_ENGAGE), "Engage");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window_, IDC_MANAGER_EDIT)));
}

TEST_F(Hxprofiler, UnplugWhileIdleChangesNothingAndWhileEngagedRestartsOutput) {
  Start();
  SelectWalk();
  const int resting = RestingThreads();
  BroadcastWatch watch;
  const int before = watch.Seen();
  ASSERT_EQ(sim_.Control("unplug").substr(0, 2), "ok");
  ASSERT_EQ(sim_.Control("plug").substr(0, 2), "ok");
  ASSERT_TRUE(watch.WaitCount(before + 2, 5000));
  // Nothing may start: there is no event to wait for, so watch a while.
  for (int i = 0; i < 25; ++i, Sleep(20)) ASSERT_EQ(Threads(), resting) << "a plug while idle started output";
  EXPECT_EQ(ButtonText(IDC_MANAGER_ENGAGE), "Engage");

  Probe game({100, 100, 500, 400});
  ASSERT_NO_FATAL_FAILURE(EngageAndHoldW(game));

  ASSERT_EQ(sim_.Control("unplug").substr(0, 2), "ok");
  EXPECT_TRUE(KeysAre(game, {down_, up_})) << "the removal left the key held: " << game.Joined();
  EXPECT_TRUE(WaitFor([&] { return Threads() == resting; }, 5000)) << "output kept running unplugged";
  EXPECT_EQ(ButtonText(IDC_MANAGER_ENGAGE), "Disengage");

  ASSERT_EQ(sim_.Control("plug").substr(0, 2), "ok");
  EXPECT_TRUE(WaitFor([&] { return Threads() == resting + 1; }, 5000)) << "no output after the arrival";
  EXPECT_TRUE(KeysAre(game, {down_, up_, down_})) << "the turn after the arrival: " << game.Joined();
  Pose(50);  // any turn to the right brings "Look left" inside again
  EXPECT_TRUE(KeysAre(game, {down_, up_, down_, up_})) << game.Joined();
  EXPECT_EQ(Threads(), resting + 1);

  // Disengaged by hand while the tracker is away: its return starts nothing.
  ASSERT_EQ(sim_.Control("unplug").substr(0, 2), "ok");
  EXPECT_TRUE(WaitFor([&] { return Threads() == resting; }, 5000));
  Click(IDC_MANAGER_ENGAGE);
  EXPECT_EQ(ButtonText(IDC_MANAGER_ENGAGE), "Engage");
  const int seen = watch.Seen();
  ASSERT_EQ(sim_.Control("plug").substr(0, 2), "ok");
  ASSERT_TRUE(watch.WaitCount(seen + 1, 5000));
  for (int i = 0; i < 25; ++i, Sleep(20)) ASSERT_EQ(Threads(), resting) << "a plug after Disengage started output";
}

TEST_F(Hxprofiler, ReadFailureEndsOutputAndLetsGoWhileTheButtonsStayEngaged) {
  Start();
  SelectWalk();
  const int resting = RestingThreads();
  Probe game({100, 100, 500, 400});
  ASSERT_NO_FATAL_FAILURE(EngageAndHoldW(game));

  ASSERT_EQ(sim_.Control("fail IOCTL_GET_POSITION").substr(0, 2), "ok");
  EXPECT_TRUE(KeysAre(game, {down_, up_})) << "the failed read left the key held: " << game.Joined();
  EXPECT_TRUE(WaitFor([&] { return Threads() == resting; }, 5000)) << "output kept running";
  EXPECT_EQ(ButtonText(IDC_MANAGER_ENGAGE), "Disengage");

  // The user disengages by hand; engaging again starts output anew.
  ASSERT_EQ(sim_.Control("pass IOCTL_GET_POSITION").substr(0, 2), "ok");
  Click(IDC_MANAGER_ENGAGE);
  EXPECT_EQ(ButtonText(IDC_MANAGER_ENGAGE), "Engage");
  Click(IDC_MANAGER_ENGAGE);
  EXPECT_TRUE(KeysAre(game, {down_, up_, down_})) << game.Joined();
  EXPECT_EQ(Threads(), resting + 1);
}

TEST_F(Hxprofiler, QuickEngagingNeverRunsTwoOutputThreadsNorLeavesAKeyHeld) {
  Start();
  SelectWalk();
  const int resting = RestingThreads();
  Probe game({100, 100, 500, 400});
  ASSERT_TRUE(game.TakeKeyboard());
  Pose(-1200);  // each engagement presses W at once

  std::atomic<bool> done{false};
  std::atomic<int> most{0}, samples{0};
  std::thread counter([&] {
    while (!done.load()) {
      const int n = Threads();
      if (n > most.load()) most = n;
      samples.fetch_add(1);
    }
  });
  for (int i = 0; i < 50; ++i) {
    Click(IDC_MANAGER_ENGAGE);
    game.Pump(0);
    Click(IDC_MANAGER_ENGAGE);
    game.Pump(0);
  }
  done = true;
  counter.join();
  EXPECT_GT(samples.load(), 50);
  EXPECT_LE(most.load(), resting + 1) << "two output threads at once";
  EXPECT_EQ(Threads(), resting);
  EXPECT_EQ(ButtonText(IDC_MANAGER_ENGAGE), "Engage");
  game.Pump(200);
  const std::vector<std::string> keys = Keys(game);
  ASSERT_FALSE(keys.empty()) << "no engagement pressed the key";
  int held = 0;
  for (const std::string& k : keys) held += k == down_ ? 1 : -1;
  EXPECT_EQ(held, 0) << game.Joined();
  EXPECT_EQ(keys.back(), up_) << game.Joined();
}

TEST_F(Hxprofiler, CalibrationMapsUnexpectedAnswersToTheDefaultValues) {
  Start();
  const char kDefaults[] = "Hxmouse will use the default calibration values.";
  CheckTrackerButton(program_, sim_, window_, IDC_MANAGER_CALIBRATE, "Position the two Hxmouse sensors", "IOCTL_CALIBRATE",
                     {{"answer calibrate 1", "Calibration successful.", "IOCTL_SAVE_SETTINGS"},
                      {"answer calibrate 0", kDefaults, "IOCTL_RESTORE_DEFAULT_CALIBRATION"},
                      {"answer calibrate 2", kDefaults, "IOCTL_RESTORE_DEFAULT_CALIBRATION"},
                      {"answer calibrate 65535", kDefaults, "IOCTL_RESTORE_DEFAULT_CALIBRATION"},
                      {"fail IOCTL_CALIBRATE", "Calibration error.  Please contact technical support.", ""}});
}

}  // namespace

// qmouse and hxprofiler both on opentrack's poses: qmouse binds the port and shares the
// newest pose; silence unplugs and the next pose plugs in again; when qmouse ends,
// hxprofiler binds the port itself and its engaged output goes on.
TEST_F(Hxprofiler, EngagedOnOpentrackBesideQmouseAndTakesThePortOver) {
  constexpr int kPort = 47425;
  _putenv("HXSIM_PIPE=");
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Korvath");
  // Dwell must not click into the windows under test while the head turns.
  ASSERT_TRUE(ChooseOpentrack(kPort, true));
  struct Cleanup {
    ~Cleanup() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Korvath"); }
  } cleanup;

  PoseSender sender(kPort);
  const char* qmouseExe = std::getenv("QMOUSE_EXE");
  ASSERT_NE(qmouseExe, nullptr);
  Program qmouse;
  ASSERT_TRUE(qmouse.Start(WindowsPath(qmouseExe)));
  Start();
  EXPECT_EQ(ButtonText(IDC_JOYSTICK), "Joystick not available");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window_, IDC_JOYSTICK)));
  Program::Press(window_, IDC_MANAGER_CALIBRATE);
  HWND box = program_.FindDialog("opentrack needs no calibration");
  ASSERT_NE(box, nullptr) << "Calibrate did not say that nothing is needed";
  Program::Press(box, IDOK);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, 5000));
  SelectWalk();

  Probe game({100, 100, 500, 400});
  ASSERT_TRUE(game.TakeKeyboard());
  Click(IDC_MANAGER_ENGAGE);
  sender.SetPose({0, 0, 0, -120, 0, 0});  // RX -1200, as the simulator's turn left
  EXPECT_TRUE(KeysAre(game, {down_})) << game.Joined();
  sender.SetPose({0, 0, 0, 5, 0, 0});
  EXPECT_TRUE(KeysAre(game, {down_, up_})) << game.Joined();

  // Silence is an unplugged tracker: the held key is let go; the next pose holds it again.
  sender.SetPose({0, 0, 0, -120, 0, 0});
  EXPECT_TRUE(KeysAre(game, {down_, up_, down_})) << game.Joined();
  sender.Pause(true);
  EXPECT_TRUE(KeysAre(game, {down_, up_, down_, up_})) << "the silence left the key held: " << game.Joined();
  sender.Pause(false);
  EXPECT_TRUE(KeysAre(game, {down_, up_, down_, up_, down_})) << "output did not start again: " << game.Joined();
  sender.SetPose({0, 0, 0, 5, 0, 0});
  EXPECT_TRUE(KeysAre(game, {down_, up_, down_, up_, down_, up_})) << game.Joined();

  qmouse.Kill();
  sender.SetPose({0, 0, 0, -130, 0, 0});
  EXPECT_TRUE(KeysAre(game, {down_, up_, down_, up_, down_, up_, down_}))
      << "no poses after qmouse let go of the port: " << game.Joined();
  Click(IDC_MANAGER_ENGAGE);
  EXPECT_TRUE(KeysAre(game, {down_, up_, down_, up_, down_, up_, down_, up_})) << game.Joined();
}
