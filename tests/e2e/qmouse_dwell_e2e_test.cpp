// Dwell clicking in the whole program: clicks of every mode land in a target window where
// the cursor holds still; the panel's buttons are pressed by dwelling on them; pause and
// resume.
#include "tests/e2e/probe.h"
#include "tests/e2e/qmouse_fixture.h"
#include "tests/e2e/screenshot.h"

namespace {

HWND Panel(const Program& qmouse) { return qmouse.FindDialog("Quellan Mouse ", 3000); }

// Screen centre of a control of a dialog in another process.
POINT CentreOf(HWND dialog, int id) {
  RECT r = {};
  GetWindowRect(GetDlgItem(dialog, id), &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::string ButtonText(HWND dialog, int id) {
  char text[64] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

class QmouseDwell : public Qmouse {
 protected:
  // Clicks the tray icon as the system does, and waits for qmouse's menu to show.
  bool OpenTrayMenu() {
    PostMessageA(window_, NullWindowTrayMessage(), 132, WM_RBUTTONUP);
    return WaitFor([&] { return OwnWindow("#32768", [](HWND w) { return IsWindowVisible(w) != FALSE; }) != nullptr; },
                   5000);
  }
  // A key pressed and let go, as a user would at the keyboard.
  static void PressKey(WORD vk) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    Sleep(40);
  }
  // Puts the cursor at `p` as a user would with the mouse; head control resumes a second
  // later and a dwell there clicks about 0.75 s after that. Waits for a rest's click allow
  // 10 s: on a loaded machine the readings come late and the clock runs on.
  void Rest(Probe& probe, POINT p) {
    SetCursorPos(p.x, p.y);
    probe.Pump(50);
  }
};

TEST_F(QmouseDwell, EveryModeClicksWhereTheCursorRests) {
  Probe probe({200, 200, 1000, 800});
  StartQmouse();
  WaitForHeadControl();
  struct Case {
    int mode;
    POINT at;
    const char* events;
  } cases[] = {
      {ID_MODE_LEFTCLICK, {300, 300}, "Ldown 100,100 Lup 100,100"},
      {ID_MODE_RIGHTCLICK, {400, 300}, "Rdown 200,100 Rup 200,100"},
      {ID_MODE_DOUBLELEFT, {500, 300}, "Ldown 300,100 Lup 300,100 Ldown 300,100 Lup 300,100"},
      {ID_MODE_DOUBLERIGHT, {600, 300}, "Rdown 400,100 Rup 400,100 Rdown 400,100 Rup 400,100"},
      {ID_MODE_SCROLL, {700, 300}, "Mdown 500,100 Mup 500,100"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    probe.Clear();
    PostMessageA(window_, WM_COMMAND, c.mode, 0);  // as the tray menu does
    Rest(probe, c.at);
    const size_t expected = std::count(c.events, c.events + strlen(c.events), ' ') / 2 + 1;
    EXPECT_TRUE(probe.WaitEvents(expected, 10000)) << probe.Joined();
    probe.Pump(300);  // nothing more follows while the cursor stays
    EXPECT_EQ(probe.Joined(), c.events);
  }
}

TEST_F(QmouseDwell, DragPressesThenReleasesElsewhere) {
  Probe probe({200, 200, 1000, 800});
  StartQmouse();
  WaitForHeadControl();
  PostMessageA(window_, WM_COMMAND, ID_MODE_DRAGLEFT, 0);
  Rest(probe, {300, 300});
  ASSERT_TRUE(probe.WaitEvents(1, 10000)) << probe.Joined();
  probe.Pump(200);
  EXPECT_EQ(probe.Joined(), "Ldown 100,100");
  Rest(probe, {600, 500});
  ASSERT_TRUE(probe.WaitEvents(2, 10000)) << probe.Joined();
  EXPECT_EQ(probe.Joined(), "Ldown 100,100 Lup 400,300");
}

TEST_F(QmouseDwell, DwellOnThePanelChoosesTheMode) {
  Probe probe({400, 400, 1000, 800});
  StartQmouse();
  WaitForHeadControl();
  HWND panel = Panel(qmouse_);
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(SendMessageA(GetDlgItem(panel, IDC_LEFTCLICK), BM_GETCHECK, 0, 0), BST_CHECKED);
  Rest(probe, CentreOf(panel, IDC_RIGHTCLICK));  // a left click on the panel's button
  EXPECT_TRUE(WaitFor([&] { return SendMessageA(GetDlgItem(panel, IDC_RIGHTCLICK), BM_GETCHECK, 0, 0) == BST_CHECKED; },
                      10000));
  EXPECT_EQ(SendMessageA(GetDlgItem(panel, IDC_LEFTCLICK), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  Rest(probe, {500, 500});  // and the next dwell clicks right
  ASSERT_TRUE(probe.WaitEvents(2, 10000)) << probe.Joined();
  EXPECT_EQ(probe.Joined(), "Rdown 100,100 Rup 100,100");

  // Pictures for the README: the panel with the chosen mode, and the tray menu marking it.
  if (const std::string shots = ShotsFolder(); !shots.empty()) {
    // Moving the cursor by hand holds head control, and with it dwell, for a second: enough
    // for each picture, so no dwell click lands on the menu while it shows.
    SetCursorPos(50, 50);
    Sleep(300);  // let it paint: a picture for people, not a condition
    EXPECT_TRUE(SaveWindowPicture(panel, shots + "floating_panel.bmp"));
    SetCursorPos(60, 60);
    ASSERT_TRUE(OpenTrayMenu()) << "no menu of qmouse's shows";
    HWND menu = OwnWindow("#32768", [](HWND w) { return IsWindowVisible(w) != FALSE; });
    Sleep(300);
    EXPECT_TRUE(SaveWindowPicture(menu, shots + "tray_menu.bmp"));
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(menu); }, 3000)) << "Escape left the menu open";
  }
}

TEST_F(QmouseDwell, PauseFromThePanelResumeFromTheTray) {
  Probe probe({400, 400, 1000, 800});
  StartQmouse();
  WaitForHeadControl();
  HWND panel = Panel(qmouse_);
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(ButtonText(panel, IDC_PAUSE), "Pause");
  Rest(probe, CentreOf(panel, IDC_PAUSE));
  HWND box = qmouse_.FindDialog("Pausing Quellan Mouse will disable", 5000);
  ASSERT_NE(box, nullptr);
  Program::Press(box, IDOK);
  EXPECT_TRUE(WaitFor([&] { return ButtonText(panel, IDC_PAUSE) == "Unpause"; }, 10000));

  SetCursorPos(700, 600);
  Sleep(1500);  // paused: neither the head nor a dwell does anything
  Pose(12, 0);
  probe.Pump(1500);
  EXPECT_TRUE(CursorAt(700, 600, 0)) << CursorText();
  EXPECT_EQ(probe.Joined(), "");

  // Resume from the tray menu: open it as a click on the icon does.
  ASSERT_TRUE(OpenTrayMenu()) << "no menu of qmouse's shows";
  // Menus are not readable across processes here, so the item is chosen by keyboard, as a
  // user could: the eight modes, then "Pause Quellan Mouse".
  for (int i = 0; i < 9; ++i) PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  EXPECT_TRUE(WaitFor([&] { return ButtonText(panel, IDC_PAUSE) == "Pause"; }, 3000));
  // The first step after a hold moves by the whole turn since the last step: the 12 made while
  // paused and 12 more, 120 pixels, whether or not a step came between the two.
  Pose(24, 0);
  EXPECT_TRUE(CursorAt(820, 600, 3000)) << CursorText();
}

// One question at a time: while the panel's Pause question is open, the panel's Shutdown
// and the tray's Exit ask nothing; once it closes, dwell clicks as the mode says again.
TEST_F(QmouseDwell, OneQuestionAtATime) {
  Probe probe({400, 400, 1000, 800});
  StartQmouse();
  WaitForHeadControl();
  HWND panel = Panel(qmouse_);
  ASSERT_NE(panel, nullptr);
  // While a panel question is open a dwell clicks left: let it rest on nothing of ours.
  SetCursorPos(50, 1000);
  Program::Press(panel, IDC_PAUSE);
  HWND box = qmouse_.FindDialog("Pausing Quellan Mouse will disable", 5000);
  ASSERT_NE(box, nullptr);
  Program::Press(panel, IDC_SHUTDOWN);
  PostMessageA(window_, WM_COMMAND, ID_TRAY_EXIT, 0);
  EXPECT_EQ(qmouse_.FindDialog("Are you sure you wish to shut Quellan Mouse down?", 1500), nullptr);
  Program::Press(box, IDCANCEL);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, 3000)) << "the first question could not be closed";
  EXPECT_EQ(ButtonText(panel, IDC_PAUSE), "Pause");
  EXPECT_TRUE(qmouse_.Running());

  probe.Clear();
  PostMessageA(window_, WM_COMMAND, ID_MODE_RIGHTCLICK, 0);
  Rest(probe, {500, 500});
  ASSERT_TRUE(probe.WaitEvents(2, 10000)) << probe.Joined();
  EXPECT_EQ(probe.Joined(), "Rdown 100,100 Rup 100,100") << "dwell still forced to the left button";
}

}  // namespace
