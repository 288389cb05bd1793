// The settings sheet in the whole program: opened from the tray, one at a time, and a
// dwell time changed on its page takes effect at once and is saved at exit.
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

}  // namespace
