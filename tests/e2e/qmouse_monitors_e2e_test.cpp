// qmouse on two monitors side by side (a 1280x1024 primary and a 1024x768 one on its right,
// top edges level), as tools/wine-session HX_MONITORS=2 lays them out: the head carries the
// cursor across and back, never into the gap under the smaller monitor; the dwell indicator
// appears beside the cursor on the monitor it is on, sized for that monitor and its DPI; the
// floating panel stays on the monitor it was put on and on a work area.
#include "tests/e2e/qmouse_fixture.h"

#include <vector>

namespace {

struct Screen {
  RECT bounds, work;
};

BOOL CALLBACK AddScreen(HMONITOR monitor, HDC, LPRECT, LPARAM param) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(monitor, &info))
    reinterpret_cast<std::vector<Screen>*>(param)->push_back({info.rcMonitor, info.rcWork});
  return TRUE;
}

std::vector<Screen> Screens() {
  std::vector<Screen> screens;
  EnumDisplayMonitors(nullptr, nullptr, AddScreen, reinterpret_cast<LPARAM>(&screens));
  return screens;
}

bool Inside(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

bool OnAWorkArea(const RECT& r) {
  for (const Screen& s : Screens())
    if (Inside(s.work, r)) return true;
  return false;
}

std::string Text(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

int Dpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

const RECT kPrimary = {0, 0, 1280, 1024};
const RECT kSecond = {1280, 0, 2304, 768};

class QmouseMonitors : public Qmouse {
 protected:
  // Slower readings keep the indicator up long enough to be seen on a loaded machine.
  QmouseMonitors() { rateHz_ = 30; }
  void SetUp() override {
    Qmouse::SetUp();
    const std::vector<Screen> screens = Screens();
    ASSERT_EQ(screens.size(), 2u) << "needs the two-monitor session: HX_MONITORS=2 tools/wine-session up";
    ASSERT_TRUE(EqualRect(&screens[0].bounds, &kPrimary) || EqualRect(&screens[1].bounds, &kPrimary));
    ASSERT_TRUE(EqualRect(&screens[0].bounds, &kSecond) || EqualRect(&screens[1].bounds, &kSecond));
  }
  HWND Panel() { return qmouse_.FindDialog("Quellan Mouse ", 5000); }
  // The visible horizontal dwell indicator on `monitor`: a dialog of ours with a frame but no
  // title bar, wider than tall. One still showing elsewhere, from the dwell before, is not it.
  HWND VisibleIndicator(const RECT& monitor, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitFor([&] {
      found = OwnWindow("#32770", [&monitor](HWND w) {
        RECT r, common;
        return IsWindowVisible(w) && (GetWindowLongA(w, GWL_STYLE) & WS_CAPTION) != WS_CAPTION &&
               !GetDlgItem(w, IDC_SPLASH_PICTURE) && GetWindowRect(w, &r) && r.right - r.left > r.bottom - r.top &&
               IntersectRect(&common, &r, &monitor);
      });
      return found != nullptr;
    }, timeoutMs);
    return found;
  }
  // Where the indicator of a dwell at the cursor shows: on the cursor's monitor, within one
  // indicator's width of the cursor, a sixteenth of the monitor's width by a fortieth of its
  // height at 96 DPI and as much larger as the DPI is.
  void ExpectIndicatorBesideTheCursorOn(const RECT& monitor) {
    const POINT cursor = Cursor();
    HWND indicator = VisibleIndicator(monitor, 10000);
    ASSERT_NE(indicator, nullptr) << "no indicator for a dwell at " << CursorText();
    RECT r;
    ASSERT_TRUE(GetWindowRect(indicator, &r));
    const int dpi = Dpi();
    const LONG w = MulDiv((monitor.right - monitor.left) / 16, dpi, 96);
    const LONG h = MulDiv((monitor.bottom - monitor.top) / 40, dpi, 96);
    SCOPED_TRACE("indicator " + Text(r) + " for the cursor at " + std::to_string(cursor.x) + "," +
                 std::to_string(cursor.y) + " at " + std::to_string(dpi) + " DPI");
    EXPECT_EQ(r.right - r.left, w);
    EXPECT_EQ(r.bottom - r.top, h);
    EXPECT_TRUE(Inside(monitor, r));
    EXPECT_LE(std::abs(r.left - cursor.x) + std::abs(r.right - cursor.x), 2 * w) << "beside the cursor";
    EXPECT_LE(std::min(std::abs(r.top - cursor.y), std::abs(r.bottom - cursor.y)), w);
  }
};

TEST_F(QmouseMonitors, HeadCarriesTheCursorAcrossAndBackWithTheIndicatorBesideIt) {
  SetCursorPos(100, 100);  // on the primary when qmouse starts
  StartQmouse();
  ASSERT_TRUE(CursorAt(640, 512, 5000)) << "the splash holds the cursor in the primary's middle; at " << CursorText();
  WaitForHeadControl();
  Pose(180, 0);  // +180: x5 = 900 right, onto the second monitor
  ASSERT_TRUE(CursorAt(1540, 512, 5000)) << CursorText();
  Pose(180, -60);  // 300 down would be under the smaller monitor: kept on its bottom row
  ASSERT_TRUE(CursorAt(1540, 767, 5000)) << CursorText();
  ExpectIndicatorBesideTheCursorOn(kSecond);
  Pose(0, -60);  // 900 back left, onto the primary
  ASSERT_TRUE(CursorAt(640, 767, 5000)) << CursorText();
  ExpectIndicatorBesideTheCursorOn(kPrimary);
  RECT panel;
  ASSERT_TRUE(GetWindowRect(Panel(), &panel));
  EXPECT_TRUE(OnAWorkArea(panel)) << Text(panel);
}

TEST_F(QmouseMonitors, PanelStaysOnTheMonitorItWasPutOnAndOnItsWorkArea) {
  SetCursorPos(100, 100);
  StartQmouse();
  ASSERT_TRUE(CursorAt(640, 512, 5000)) << CursorText();
  WaitForHeadControl();
  HWND panel = Panel();
  ASSERT_NE(panel, nullptr);
  RECT r;
  ASSERT_TRUE(GetWindowRect(panel, &r));
  const LONG width = r.right - r.left, height = r.bottom - r.top;
  SetWindowPos(panel, nullptr, 1500, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);  // the user drags it over
  Pose(12, 0);  // passes of the cursor thread with the cursor on the primary
  ASSERT_TRUE(CursorAt(700, 512, 5000)) << CursorText();
  Pose(24, 0);
  ASSERT_TRUE(CursorAt(760, 512, 5000)) << CursorText();
  ASSERT_TRUE(GetWindowRect(panel, &r));
  EXPECT_EQ(r.left, 1500);
  EXPECT_EQ(r.top, 100);
  // Dragged to hang into the gap under the smaller monitor: pulled back onto its work area.
  SetWindowPos(panel, nullptr, 1500, 700, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(WaitFor([&] { return GetWindowRect(panel, &r) && Inside(kSecond, r); }, 5000)) << Text(r);
  EXPECT_EQ(r.right - r.left, width);
  EXPECT_EQ(r.bottom - r.top, height);
}

TEST_F(QmouseMonitors, DisplayChangeBringsAStrandedPanelBackWithoutTheTracker) {
  SetCursorPos(2000, 100);  // the user looks at the second monitor when qmouse starts
  StartQmouse();
  EXPECT_TRUE(CursorAt(1792, 384, 5000)) << "the splash holds the cursor in its monitor's middle; at " << CursorText();
  WaitForHeadControl();
  HWND panel = Panel();
  ASSERT_NE(panel, nullptr);
  ASSERT_EQ(sim_.Control("unplug"), "ok");  // no cursor thread to keep it in place
  // Where a monitor that was taken away would have left it.
  SetWindowPos(panel, nullptr, 2400, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT r;
  ASSERT_TRUE(GetWindowRect(panel, &r));
  ASSERT_FALSE(OnAWorkArea(r)) << Text(r);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window_, WM_DISPLAYCHANGE, 24, MAKELPARAM(2304, 1024), SMTO_BLOCK, 5000, &ignored);
  EXPECT_TRUE(WaitFor([&] { return GetWindowRect(panel, &r) && OnAWorkArea(r); }, 5000)) << Text(r);
  EXPECT_TRUE(Inside(kSecond, r)) << "the nearest work area: " << Text(r);
}

}  // namespace
