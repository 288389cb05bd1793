// qmouse as a whole under Wine, with the simulated tracker: start-up, following the head,
// the physical mouse, hot-plug, a second instance and the roads out.
#include "tests/e2e/qmouse_fixture.h"

#include <dbt.h>

#include "device/win/device_events.h"
#include "tests/e2e/probe.h"
#include "tests/win32/win_test_support.h"

namespace {

TEST_F(Qmouse, HoldsStillDuringTheSplashThenFollowsTheHead) {
  StartQmouse();
  ASSERT_TRUE(CursorAt(kCentre.x, kCentre.y, 5000)) << "the cursor thread centres the cursor; at " << CursorText();
  Pose(100, 50);  // a big turn during the splash moves nothing
  Sleep(600);
  EXPECT_TRUE(CursorAt(kCentre.x, kCentre.y, 0)) << CursorText();
  WaitForHeadControl();
  EXPECT_TRUE(CursorAt(kCentre.x, kCentre.y, 0)) << "the first reading only primes; at " << CursorText();
  Pose(112, 54);  // +12 (x5 = 60 right), +4 (4 up) at the default settings
  EXPECT_TRUE(CursorAt(kCentre.x + 60, kCentre.y - 4, 3000)) << CursorText();
  Pose(112 + 8, 54);  // +8: x3 = 24
  EXPECT_TRUE(CursorAt(kCentre.x + 84, kCentre.y - 4, 3000)) << CursorText();
}

TEST_F(Qmouse, PhysicalMouseHoldsHeadControlForASecond) {
  StartQmouse();
  WaitForHeadControl();
  SetCursorPos(100, 100);  // the user takes the mouse
  auto moved = Clock::now();
  Pose(12, 0);
  Sleep(500);
  EXPECT_TRUE(CursorAt(100, 100, 0)) << "held; at " << CursorText();
  ASSERT_TRUE(CursorAt(160, 100, 5000)) << "released with the whole change; at " << CursorText();
  auto held = Clock::now() - moved;
  EXPECT_GE(held, std::chrono::milliseconds(900));
  EXPECT_LE(held, std::chrono::milliseconds(4000));  // about a second, later when loaded
}

TEST_F(Qmouse, SecondInstanceSaysSoAndLeavesTheFirstRunning) {
  StartQmouse();
  Program second;
  ASSERT_TRUE(second.Start(exe_));
  HWND box = second.FindDialog("Quellan Mouse is already running");
  ASSERT_NE(box, nullptr);
  Program::Press(box, IDOK);
  EXPECT_EQ(second.WaitExit(5000), 1);
  EXPECT_TRUE(qmouse_.Running());
  EXPECT_TRUE(IsWindow(window_));
}

TEST_F(Qmouse, UnplugStopsCursorControlAndPlugRestartsIt) {
  StartQmouse();
  WaitForHeadControl();
  Pose(4, 0);
  ASSERT_TRUE(CursorAt(kCentre.x + 4, kCentre.y, 3000)) << CursorText();
  EXPECT_EQ(sim_.Control("unplug"), "ok");
  Sleep(300);
  Pose(16, 0);
  Sleep(500);
  EXPECT_TRUE(CursorAt(kCentre.x + 4, kCentre.y, 0)) << "no tracker, no motion; at " << CursorText();
  EXPECT_EQ(sim_.Control("plug"), "ok");
  // A new cursor thread centres the cursor, then applies the change made while unplugged.
  EXPECT_TRUE(CursorAt(kCentre.x + 60, kCentre.y, 3000)) << CursorText();
  EXPECT_TRUE(qmouse_.Running());
}

// Volumes, ports and other device interfaces come and go all the time; only the tracker's
// own removal stops head control.
TEST_F(Qmouse, OtherDevicesComingAndGoingLeaveHeadControlAlone) {
  StartQmouse();
  WaitForHeadControl();
  DEV_BROADCAST_VOLUME volume = {};
  volume.dbcv_size = sizeof volume;
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume.dbcv_unitmask = 1u << ('E' - 'A');
  DEV_BROADCAST_DEVICEINTERFACE_A stick = {};
  stick.dbcc_size = sizeof stick;
  stick.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  stick.dbcc_classguid = {0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};
  DEV_BROADCAST_HDR empty = {};
  for (DEV_BROADCAST_HDR* header : {reinterpret_cast<DEV_BROADCAST_HDR*>(&volume),
                                    reinterpret_cast<DEV_BROADCAST_HDR*>(&stick), &empty}) {
    DWORD_PTR result = 0;
    ASSERT_NE(SendMessageTimeoutA(window_, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(header),
                                  SMTO_ABORTIFHUNG, 3000, &result), 0);
  }
  Pose(4, 0);
  EXPECT_TRUE(CursorAt(kCentre.x + 4, kCentre.y, 3000)) << "head control stopped; at " << CursorText();
}

TEST_F(Qmouse, NoTrackerAtStartWaitsForAnArrival) {
  EXPECT_EQ(sim_.Control("unplug"), "ok");
  StartQmouse();
  WaitForHeadControl(false);
  EXPECT_TRUE(qmouse_.Running());
  SetCursorPos(300, 300);
  EXPECT_EQ(sim_.Control("plug"), "ok");
  ASSERT_TRUE(CursorAt(kCentre.x, kCentre.y, 3000)) << "started on arrival; at " << CursorText();
  ASSERT_TRUE(ReadingsTaken(2));  // the new thread centres first, then takes its first reading as the reference
  Pose(4, 0);
  EXPECT_TRUE(CursorAt(kCentre.x + 4, kCentre.y, 3000)) << CursorText();
}

TEST_F(Qmouse, FailedReadWithoutRemovalRecoversOnTheNextArrival) {
  StartQmouse();
  WaitForHeadControl();
  EXPECT_EQ(sim_.Control("fail IOCTL_GET_FLOAD_POSITION"), "ok");
  Sleep(300);  // the cursor thread ends on the failed read
  EXPECT_EQ(sim_.Control("pass IOCTL_GET_FLOAD_POSITION"), "ok");
  Pose(4, 0);
  Sleep(400);
  EXPECT_TRUE(CursorAt(kCentre.x, kCentre.y, 0)) << CursorText();
  EXPECT_EQ(sim_.Control("plug"), "ok");  // an arrival with no removal before it
  EXPECT_TRUE(CursorAt(kCentre.x + 4, kCentre.y, 3000)) << CursorText();
}

// A tracker announced while the cursor thread still runs, on a link that then fails: that
// thread ends, and the arrival it had taken as its own starts the next one.
TEST_F(Qmouse, AnArrivalWhileTheCursorThreadEndsOnAFailureIsNotLost) {
  StartQmouse();
  WaitForHeadControl();
  ASSERT_TRUE(StallReaders(sim_));
  EXPECT_EQ(sim_.Control("fail IOCTL_GET_FLOAD_POSITION 1"), "ok");  // the stalled read, not the next thread's
  BroadcastTrackerEvent(true, "arrival");  // returns once qmouse has handled it
  EXPECT_EQ(sim_.Control("stall 0"), "ok");
  SetCursorPos(300, 300);
  ASSERT_TRUE(CursorAt(kCentre.x, kCentre.y, 5000)) << "no new cursor thread; at " << CursorText();
  ASSERT_TRUE(ReadingsTaken(2));
  Pose(4, 0);
  EXPECT_TRUE(CursorAt(kCentre.x + 4, kCentre.y, 3000)) << CursorText();
}

// The tracker keeps the cursor thread waiting for ten seconds. A removal and an arrival start
// the next cursor thread at once, and only once the old one has ended; Exit then closes at
// once although the new one waits in the stall too.
TEST_F(Qmouse, ACursorThreadTheTrackerStallsIsEndedAtOnce) {
  StartQmouse();
  WaitForHeadControl();
  const int threads = ThreadsOf(qmouse_.Id());
  sim_.Control("log");
  ASSERT_TRUE(StallReaders(sim_));
  EXPECT_EQ(sim_.Control("unplug"), "ok");
  EXPECT_EQ(sim_.Control("plug"), "ok");
  const DWORD plugged = GetTickCount();
  std::string log;
  ASSERT_TRUE(WaitFor([&] { return (log += sim_.Control("log")).find(":open") != std::string::npos; }, 5000))
      << "no new cursor thread";
  EXPECT_LT(GetTickCount() - plugged, 1000u) << log;
  // Not more than before: a second cursor thread would add one; a thread of Wine's counted at
  // the start may have ended since (seen once under load as 3 of 4).
  EXPECT_LE(ThreadsOf(qmouse_.Id()), threads) << "the old cursor thread ended before the new began";
  ASSERT_TRUE(StallReaders(sim_));

  PostMessageA(window_, WM_COMMAND, ID_TRAY_EXIT, 0);
  HWND box = qmouse_.FindDialog("Are you sure you wish to shut Quellan Mouse down?");
  ASSERT_NE(box, nullptr);
  Program::Press(box, IDOK);
  const DWORD asked = GetTickCount();
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(window_); }, 5000));
  EXPECT_LT(GetTickCount() - asked, 1000u) << "the main window goes at once";
  EXPECT_EQ(qmouse_.WaitExit(5000), 0);
}

TEST_F(Qmouse, ExitFromTheTrayAsksThenSavesEverySetting) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  DWORD speed = 20, mode = ID_MODE_SCROLL;
  RegSetValueExA(key, "X Speed", 0, REG_DWORD, reinterpret_cast<BYTE*>(&speed), sizeof speed);
  RegSetValueExA(key, "Dwell Command", 0, REG_DWORD, reinterpret_cast<BYTE*>(&mode), sizeof mode);
  RegCloseKey(key);

  StartQmouse();
  PostMessageA(window_, WM_COMMAND, ID_TRAY_EXIT, 0);
  HWND box = qmouse_.FindDialog("Are you sure you wish to shut Quellan Mouse down?");
  ASSERT_NE(box, nullptr);
  Program::Press(box, IDCANCEL);  // "No": nothing happens
  Sleep(300);
  EXPECT_TRUE(qmouse_.Running());

  PostMessageA(window_, WM_COMMAND, ID_TRAY_EXIT, 0);
  box = qmouse_.FindDialog("Are you sure you wish to shut Quellan Mouse down?");
  ASSERT_NE(box, nullptr);
  char yes[16] = {};
  GetDlgItemTextA(box, IDOK, yes, sizeof yes);
  EXPECT_STREQ(yes, "Yes");
  Program::Press(box, IDOK);
  EXPECT_EQ(qmouse_.WaitExit(5000), 0);

  struct Case {
    const char* name;
    long value;
  } cases[] = {{"X Speed", 20},          {"Dwell Command", ID_MODE_SCROLL}, {"Y Speed", 10},
               {"Dwell Zone", 25},       {"Color Reference", 255},          {"Gestures", 0},
               {"Startup at boot", 0},   {"Hover Sound", 0},                {"Back Type", 0}};
  for (const Case& c : cases) EXPECT_EQ(Setting(c.name), c.value) << c.name;
  DWORD values = 0;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(key);
  EXPECT_EQ(values, 45u);  // every row of the settings table
}

// System parameters set without writing them to the user's profile stay inside the setting
// process under Wine, so the snap-to-default-button round trip is not observable from here.
TEST_F(Qmouse, CloseAsksThenEndsAndSaves) {
  StartQmouse();
  PostMessageA(window_, WM_CLOSE, 0, 0);
  HWND box = qmouse_.FindDialog("Shutting Quellan Mouse down will disable mouse control.");
  ASSERT_NE(box, nullptr);
  Program::Press(box, IDNO);
  Sleep(300);
  EXPECT_TRUE(qmouse_.Running());
  PostMessageA(window_, WM_CLOSE, 0, 0);
  box = qmouse_.FindDialog("Shutting Quellan Mouse down will disable mouse control.");
  ASSERT_NE(box, nullptr);
  Program::Press(box, IDYES);
  EXPECT_EQ(qmouse_.WaitExit(5000), 0);
  EXPECT_EQ(Setting("Dwell Command"), ID_MODE_LEFTCLICK) << "saved on the way out";
}

// The session's end saves what the user chose; a shutdown that was cancelled after all leaves
// head control, the panel and the tray menu as they were, and writes nothing.
TEST_F(Qmouse, EndOfSessionSavesAndACancelledOneChangesNothing) {
  const struct {
    BOOL ending;
    long savedMode;  // -999: nothing written
    bool headControl;
  } cases[] = {{TRUE, ID_MODE_NOCLICK, false}, {FALSE, -999, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ending);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Korvath");
    StartQmouse();
    WaitForHeadControl();
    // As the tray menu does; no dwell clicks about. Sent, not posted: the session's messages
    // below are sent too, and would be handled before a posted command.
    DWORD_PTR result = 0;
    ASSERT_NE(SendMessageTimeoutA(window_, WM_COMMAND, ID_MODE_NOCLICK, 0, SMTO_ABORTIFHUNG, 5000, &result), 0);
    ASSERT_NE(SendMessageTimeoutA(window_, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &result), 0);
    EXPECT_NE(result, 0u) << "the session may end";
    ASSERT_NE(SendMessageTimeoutA(window_, WM_ENDSESSION, c.ending, 0, SMTO_ABORTIFHUNG, 5000, &result), 0);
    EXPECT_EQ(Setting("Dwell Command"), c.savedMode);
    SetCursorPos(kCentre.x, kCentre.y);
    Sleep(1200);  // the hand-held mouse's hold ends
    Pose(12, 0);
    EXPECT_EQ(CursorAt(kCentre.x + 60, kCentre.y, 3000), c.headControl) << CursorText();
    if (!c.headControl) EXPECT_EQ(qmouse_.WaitExit(5000), 0) << "the process stays after its session";
    if (c.headControl) {
      HWND panel = qmouse_.FindDialog("Quellan Mouse ", 0);
      EXPECT_TRUE(panel && IsWindowVisible(panel)) << "no floating panel";
      PostMessageA(window_, NullWindowTrayMessage(), 132, WM_RBUTTONUP);  // the tray icon clicked
      HWND menu = nullptr;
      EXPECT_TRUE(WaitFor([&] { return (menu = OwnWindow("#32768", [](HWND w) { return IsWindowVisible(w) != FALSE; })); },
                          5000)) << "no tray menu";
      if (menu) PostMessageA(window_, WM_CANCELMODE, 0, 0);
      EXPECT_EQ(Setting("Dwell Command"), -999);
    }
    qmouse_.Kill();  // the system ends the process after the session's end
    Pose(0, 0);
  }
}

// Setup asks a running qmouse to close with a broadcast message: it ends as the user's Exit
// ends it, without a question (an open box is closed as its Cancel does, and the message a
// profile that did not read leaves for the way out is not shown), its settings saved and the
// dragged button let go.
TEST_F(Qmouse, CloseRequestEndsAsExitDoesWithoutAQuestion) {
  const struct {
    const char* open;  // a question on screen when the request comes
    int command;       // the tray command that opens it
    bool damagedProfile;
  } cases[] = {{nullptr, 0, false},
               {"Are you sure you wish to shut Quellan Mouse down?", ID_TRAY_EXIT, false},
               {"About Quellan Mouse...", ID_TRAY_ABOUT, false},
               {nullptr, 0, true}};
  const std::string folder = "C:\\Program Files\\Quellan Mouse", damaged = folder + "\\Damaged.cpf";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.open ? c.open : c.damagedProfile ? "a damaged profile" : "no question");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Korvath");
    if (c.damagedProfile) {  // in the profile folder qmouse lists when it can write there
      CreateDirectoryA("C:\\Program Files", nullptr);
      CreateDirectoryA(folder.c_str(), nullptr);
      HANDLE file = CreateFileA(damaged.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      ASSERT_NE(file, INVALID_HANDLE_VALUE);
      DWORD written = 0;
      WriteFile(file, "damaged", 7, &written, nullptr);
      CloseHandle(file);
    }
    Probe probe({200, 200, 1000, 800});
    StartQmouse();
    WaitForHeadControl();
    PostMessageA(window_, WM_COMMAND, ID_MODE_DRAGLEFT, 0);
    SetCursorPos(300, 300);
    ASSERT_TRUE(probe.WaitEvents(1, 6000)) << "no dwell pressed the button; " << probe.Joined();
    EXPECT_EQ(probe.Joined(), "Ldown 100,100");
    if (c.open) {
      PostMessageA(window_, WM_COMMAND, c.command, 0);
      ASSERT_NE(qmouse_.FindDialog(c.open), nullptr);
    }
    DWORD_PTR result = 0;
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("Korvath.QuellanMouse.CloseRequest"), 0, 0,
                        SMTO_ABORTIFHUNG, 5000, &result);
    EXPECT_EQ(qmouse_.WaitExit(10000), 0);
    probe.Pump(300);
    EXPECT_EQ(probe.Joined(), "Ldown 100,100 Lup 100,100") << "the dragged button is still down";
    EXPECT_EQ(Setting("Dwell Command"), ID_MODE_DRAGLEFT) << "not saved on the way out";
    if (qmouse_.Running()) qmouse_.Kill();  // a copy left running would spoil the next case
    if (c.damagedProfile) DeleteFileA(damaged.c_str());
  }
}

// The on-screen keyboard is any top-level window of its class; the panel keeps beside it, on
// the side with more room, level with the keyboard's edge nearer the middle of the screen.
TEST_F(Qmouse, PanelKeepsBesideTheOnScreenKeyboard) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "My-T-Mouse";
  RegisterClassA(&wc);
  StartQmouse();
  WaitForHeadControl();
  HWND panel = qmouse_.FindDialog("Quellan Mouse ", 3000);
  ASSERT_NE(panel, nullptr);
  RECT work = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  ASSERT_EQ(work.right, 1280) << "the session has no taskbar";
  auto panelAt = [&](LONG left, LONG top, LONG bottom) {
    return WaitFor([&] {
      RECT r = {};
      GetWindowRect(panel, &r);
      return r.left == left && (top < 0 || r.top == top) && (bottom < 0 || r.bottom == bottom);
    }, 3000);
  };
  auto panelText = [&] {
    RECT r = {};
    GetWindowRect(panel, &r);
    return std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
  };
  // Lower half, more room on the right: right of it, bottoms level.
  HWND keyboard = CreateWindowExA(WS_EX_TOOLWINDOW, "My-T-Mouse", "", WS_POPUP | WS_VISIBLE, 300, 600, 600, 300,
                                  nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(keyboard, nullptr);
  EXPECT_TRUE(panelAt(900, -1, 900)) << panelText();
  // Moved to the upper half: followed, now with the tops level.
  SetWindowPos(keyboard, nullptr, 100, 100, 600, 300, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(panelAt(700, 100, -1)) << panelText();
  DestroyWindow(keyboard);
  Sleep(300);
  EXPECT_TRUE(qmouse_.Running());
  UnregisterClassA("My-T-Mouse", wc.hInstance);
}

}  // namespace
