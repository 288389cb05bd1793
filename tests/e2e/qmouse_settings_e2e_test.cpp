// The settings sheet in the whole program: opened from the tray, one at a time; a dwell time
// changed on its page takes effect at once; Apply and OK write the registry at once; start at
// boot writes the program's own quoted path, and a failed write keeps the old choice.
#include "tests/e2e/qmouse_fixture.h"

#include <commctrl.h>

#include <cstdio>

#include "tests/e2e/probe.h"
#include "tests/e2e/screenshot.h"

namespace {

class QmouseSettings : public Qmouse {
 protected:
  // Dwell counts readings; at 20 a second the new dwell time stands well clear of the old
  // one on the clock, however loaded the machine.
  QmouseSettings() { rateHz_ = 20; }
  // The sheet opened from the tray, on page `index`; its page window.
  HWND OpenPage(int index) {
    if (!sheet_ || !IsWindow(sheet_)) {
      PostMessageA(window_, WM_COMMAND, ID_TRAY_OPTIONS, 0);
      sheet_ = Sheet(5000);
    }
    if (!sheet_ || !SendMessageA(sheet_, PSM_SETCURSEL, index, 0)) return nullptr;
    return reinterpret_cast<HWND>(SendMessageA(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0));
  }
  // Ticks or clears a check box as a click does: the box changes, then its parent hears of it.
  static void SetCheck(HWND page, int id, bool on) {
    SendMessageA(GetDlgItem(page, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    Program::Click(page, id);
  }
  static bool Checked(HWND page, int id) { return SendMessageA(GetDlgItem(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  static std::string RunValue() {
    char data[1024] = {};
    DWORD size = sizeof data;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kRunKey, "Quellan Mouse", RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
      return "(none)";
    return data;
  }
  static void DeleteRunValue() { RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kRunKey, "Quellan Mouse"); }
  static constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
  HWND sheet_ = nullptr;

  int SheetCount() {
    int n = 0;
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", "Quellan Mouse Settings"));) ++n;
    return n;
  }
  // Drags a slider's thumb from the middle of its travel to beyond its left end, as a user
  // would with the mouse: only a release after a drag stores a value.
  static void DragToLeftEnd(HWND slider) {
    const int low = static_cast<int>(SendMessageA(slider, TBM_GETRANGEMIN, 0, 0));
    const int high = static_cast<int>(SendMessageA(slider, TBM_GETRANGEMAX, 0, 0));
    SendMessageA(slider, TBM_SETPOS, TRUE, (low + high) / 2);  // the thumb now sits at the centre
    RECT r;
    GetWindowRect(slider, &r);
    const int thumbY = r.top + static_cast<int>(SendMessageA(slider, TBM_GETTHUMBLENGTH, 0, 0)) / 2 + 3;
    SetCursorPos((r.left + r.right) / 2, thumbY);
    auto button = [](DWORD flags) {
      INPUT in = {};
      in.type = INPUT_MOUSE;
      in.mi.dwFlags = flags;
      SendInput(1, &in, sizeof in);
    };
    button(MOUSEEVENTF_LEFTDOWN);
    Sleep(30);
    for (int x = (r.left + r.right) / 2; x > r.left - 40; x -= 10) {
      SetCursorPos(x, thumbY);
      Sleep(5);
    }
    button(MOUSEEVENTF_LEFTUP);
  }
};

TEST_F(QmouseSettings, DwellTimeChangedOnItsPageActsAtOnceAndIsSavedAtExit) {
  StartQmouse();
  WaitForHeadControl();
  SetCursorPos(1200, 1000);  // dwell keeps clicking where the cursor rests: on nothing of ours
  PostMessageA(window_, WM_COMMAND, ID_TRAY_OPTIONS, 0);  // as the tray menu does
  HWND sheet = Sheet(5000);
  ASSERT_NE(sheet, nullptr) << "no settings sheet";
  PostMessageA(window_, WM_COMMAND, ID_TRAY_OPTIONS, 0);
  Sleep(300);
  EXPECT_EQ(SheetCount(), 1) << "a second opening made a second sheet";

  if (const std::string shots = ShotsFolder(); !shots.empty()) {
    SetWindowPos(sheet, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE);
    for (int i = 0; i < 5; ++i) {
      ASSERT_TRUE(SendMessageA(sheet, PSM_SETCURSEL, i, 0));
      Sleep(300);  // let it paint: a picture for people, not a condition
      EXPECT_TRUE(SaveWindowPicture(sheet, shots + "settings-page-" + std::to_string(i) + ".bmp"));
    }
  }
  ASSERT_TRUE(SendMessageA(sheet, PSM_SETCURSEL, 2, 0));  // Options, Mouse, Dwell
  HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  ASSERT_NE(page, nullptr);
  HWND slider = GetDlgItem(page, IDC_DWELL_TIME);
  ASSERT_NE(slider, nullptr);
  EXPECT_EQ(SendMessageA(slider, TBM_GETPOS, 0, 0), 120 - 50) << "the default dwell time";
  DragToLeftEnd(slider);
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(GetDlgItem(page, IDC_PAGE_APPLY)) != FALSE; }, 3000))
      << "the drag stored nothing; slider at " << SendMessageA(slider, TBM_GETPOS, 0, 0);
  ASSERT_EQ(SendMessageA(slider, TBM_GETPOS, 0, 0), 20);  // "Slow": a dwell time of 100 readings
  Program::Press(page, IDC_PAGE_OK);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(sheet); }, 3000)) << "OK left the sheet open";

  // The cursor held by hand for a second, then 50 readings of hover and the indicator's fill:
  // 38 readings with a dwell time of 100 where the old 50 took 23. At 20 readings a second
  // that is 5.4 s against 3.65 s.
  Probe probe({400, 400, 1000, 800});
  SetCursorPos(500, 500);
  const auto rested = Clock::now();
  ASSERT_TRUE(probe.WaitEvents(2, 15000)) << probe.Joined();
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - rested).count();
  EXPECT_EQ(probe.Joined(), "Ldown 100,100 Lup 100,100");
  EXPECT_GE(took, 5000) << "the click came after the old dwell time";
  std::printf("dwell click %lld ms after the cursor came to rest\n", static_cast<long long>(took));

  PostMessageA(window_, WM_COMMAND, ID_TRAY_EXIT, 0);
  HWND box = qmouse_.FindDialog("Are you sure you wish to shut Quellan Mouse down?");
  ASSERT_NE(box, nullptr);
  Program::Press(box, IDOK);
  EXPECT_EQ(qmouse_.WaitExit(5000), 0);
  EXPECT_EQ(Setting("Dwell Time"), 100);
}

// A user who never exits (qmouse starts at logon and runs until shutdown) keeps what Apply
// and OK stored: the registry holds it at once, whatever ends the program afterwards.
TEST_F(QmouseSettings, ApplyAndOkWriteTheRegistryAtOnce) {
  StartQmouse();
  WaitForHeadControl();
  const struct {
    bool repeat;
    int button;
  } cases[] = {{true, IDC_PAGE_APPLY}, {false, IDC_PAGE_OK}, {true, IDC_PAGE_OK}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button);
    HWND page = OpenPage(0);  // Options
    ASSERT_NE(page, nullptr);
    SetCheck(page, IDC_REPEAT_CLICKS, c.repeat);
    Program::Click(page, c.button);
    if (c.button == IDC_PAGE_OK) {
      ASSERT_TRUE(WaitFor([&] { return !IsWindow(sheet_); }, 3000)) << "OK left the sheet open";
    }
    EXPECT_EQ(Setting("Repeater"), c.repeat ? 1 : 0);
    EXPECT_EQ(Setting("Dwell Zone"), 25) << "every setting is written";
  }
  qmouse_.Kill();  // no exit, no save
  EXPECT_EQ(Setting("Repeater"), 1);
}

// The Run value holds the program's full path from its module, quoted. Deleting a value that
// someone else removed fails: the box says why and can be answered by dwelling in No Click
// mode, and the setting and its check box keep the old choice.
TEST_F(QmouseSettings, StartAtBootWritesTheQuotedPathAndAFailedWriteKeepsTheOldChoice) {
  DeleteRunValue();
  StartQmouse();
  WaitForHeadControl();
  HWND page = OpenPage(0);
  ASSERT_NE(page, nullptr);
  EXPECT_FALSE(Checked(page, IDC_STARTUP_AT_BOOT));
  SetCheck(page, IDC_STARTUP_AT_BOOT, true);
  Program::Click(page, IDC_PAGE_APPLY);
  EXPECT_EQ(RunValue(), "\"" + exe_ + "\"");
  EXPECT_EQ(Setting("Startup at boot"), 1);

  DeleteRunValue();  // behind qmouse's back: the delete will fail
  PostMessageA(window_, WM_COMMAND, ID_MODE_NOCLICK, 0);
  SetCheck(page, IDC_STARTUP_AT_BOOT, false);
  Program::Press(page, IDC_PAGE_APPLY);  // posted: the error box holds the apply
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    box = OwnWindow("#32770", [](HWND w) { return GetDlgItem(w, IDC_CONFIRM_TEXT) && IsWindowVisible(w); });
    return box != nullptr;
  }, 5000)) << "no error box of qmouse's own";
  char text[256] = {};
  GetDlgItemTextA(box, IDC_CONFIRM_TEXT, text, sizeof text);
  EXPECT_NE(text[0], 0) << "the system's words for the failure";
  RECT ok = {};
  GetWindowRect(GetDlgItem(box, IDOK), &ok);
  SetCursorPos((ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2);  // the head rests on "OK"
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, 15000)) << "dwell in No Click did not answer the box";
  EXPECT_TRUE(Checked(page, IDC_STARTUP_AT_BOOT)) << "the box shows a choice that was not stored";
  EXPECT_EQ(Setting("Startup at boot"), 1);
  EXPECT_EQ(RunValue(), "(none)");
}

}  // namespace
