// The Gesture page in a sheet of this process, driven by messages: a stand-in main window
// counts what the page sends it, and hxsim plays the head for the page's bar.
#include <windows.h>
#include <tlhelp32.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <string>

#include "device/trace.h"
#include "hxsim/win/sim_client.h"
#include "qmouse/win/gesture_page.h"
#include "resources/qmouse/resource.h"
#include "tests/win32/win_test_support.h"

namespace {

std::map<UINT, int> gMainSaw;  // what the page sent the main window
LRESULT CALLBACK MainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg >= WM_USER) ++gMainSaw[msg];
  return DefWindowProcA(w, msg, wp, lp);
}

class GesturePage : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim_.Start({}));
    _putenv(("HXSIM_PIPE=" + sim_.PipeName()).c_str());
    WNDCLASSA wc = {};
    wc.lpfnWndProc = MainProc;
    wc.lpszClassName = "GesturePageMain";
    RegisterClassA(&wc);
    main_ = CreateWindowA(wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    gMainSaw.clear();
    sheet_.AddPage(page_);
  }
  void TearDown() override {
    sheet_.Destroy();
    DestroyWindow(main_);
    EXPECT_TRUE(sim_.Quit());
  }
  void Open(bool gestures) {
    values_.Set(Setting::Gestures, gestures);
    page_.SetMainWindow(main_);
    ASSERT_TRUE(sheet_.Create());
  }
  HWND Item(int id) { return GetDlgItem(page_.hwnd(), id); }
  LRESULT Send(int id, UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageA(Item(id), msg, wp, lp); }
  void Click(int id) { Send(id, BM_CLICK); }
  void Choose(int id, int index) {
    Send(id, CB_SETCURSEL, index);
    SendMessageA(page_.hwnd(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(id)));
  }
  int Bar() { return static_cast<int>(Send(IDC_GESTURE_POSITION, PBM_GETPOS)); }
  // Sets the head and forgets the readings asked for before.
  void Pose(int x, int z) {
    ASSERT_EQ(sim_.Control("pose " + std::to_string(x) + " 0 " + std::to_string(z) + " 0 0"), "ok");
    Readings();
  }
  int Readings() { return PositionReads(sim_); }
  // '1' for each enabled control, in the order given.
  std::string Enabled(std::initializer_list<int> ids) {
    std::string s;
    for (int id : ids) s += IsWindowEnabled(Item(id)) ? '1' : '0';
    return s;
  }

  SimProcess sim_;
  HWND main_ = nullptr;
  Settings values_;
  Gesture page_{values_};
  winui::Sheet sheet_{"Quellan Mouse Settings"};
};

TEST_F(GesturePage, BarShowsMotionTowardsTheChosenGestureOnly) {
  Open(true);
  const struct {
    int gesture, x, z, bar;  // the bar once a few readings of the pose are in
  } rows[] = {
      {0, -300, 0, 300}, {0, 0, 0, 300},    {0, 400, 0, 300},  {0, 0, -500, 300},  // Left
      {1, 250, 0, 250},  {1, -100, 0, 250}, {1, 0, 0, 250},                        // Right
      {2, 0, -200, 200}, {2, 0, 200, 200},  {2, -700, 0, 200},                     // Forward
      {3, 0, 150, 150},  {3, 0, -100, 150}, {3, 0, 0, 150},                        // Back
  };
  for (const auto& row : rows) {
    if (row.gesture != Send(IDC_GESTURE_LIST, CB_GETCURSEL)) Choose(IDC_GESTURE_LIST, row.gesture);
    Pose(row.x, row.z);
    int readings = 0;
    EXPECT_TRUE(PumpUntil([&] { return (readings += Readings()) >= 3 && Bar() == row.bar; }, 3000))
        << "gesture " << row.gesture << " at " << row.x << "," << row.z << ": bar " << Bar();
  }
}

TEST_F(GesturePage, OneReaderPerPageWhateverTheClicksAndNoneAfterClosing) {
  Open(false);
  const int idle = ThreadsOfThisProcess();
  TraceCapture traces;
  for (int i = 0; i < 39; ++i) Click(IDC_GESTURE_ENABLE);  // ends ticked
  EXPECT_EQ(ThreadsOfThisProcess(), idle + 1);
  EXPECT_EQ(traces.Count("Creating driver object from Gesture::GestureEmitter( ).\n"), 20);

  Pose(-300, 0);
  EXPECT_TRUE(PumpUntil([&] { return Bar() == 300; }, 3000));
  Click(IDC_GESTURE_ENABLE);
  EXPECT_TRUE(PumpUntil([&] { return ThreadsOfThisProcess() == idle; }, 3000));
  Pose(-600, 0);  // nobody reads any more, so nothing moves the bar
  EXPECT_EQ(Readings(), 0);
  EXPECT_EQ(Bar(), 300);

  Click(IDC_GESTURE_ENABLE);
  EXPECT_EQ(ThreadsOfThisProcess(), idle + 1);
  sheet_.Destroy();
  EXPECT_EQ(ThreadsOfThisProcess(), idle);
}

// The tracker keeps the reader waiting for ten seconds: a new tick and closing the sheet both
// end that reader at once, and never leave a second one beside it.
TEST_F(GesturePage, AReaderTheTrackerStallsIsEndedAtOnce) {
  const struct {
    const char* what;
    std::function<void()> act;
    int readers;  // threads of ours afterwards
  } rows[] = {
      {"untick and tick", [&] { Click(IDC_GESTURE_ENABLE); Click(IDC_GESTURE_ENABLE); }, 1},
      {"sheet closed", [&] { sheet_.Destroy(); }, 0},
  };
  Open(false);
  SCOPED_TRACE("stalled");  // gtest's first trace on a thread starts a thread of its own
  const int idle = ThreadsOfThisProcess();
  Click(IDC_GESTURE_ENABLE);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    ASSERT_TRUE(PumpUntil([&] { return Readings() >= 2; }, 3000));
    ASSERT_TRUE(StallReaders(sim_));
    EXPECT_LT(MillisecondsFor(row.act), 1000u);
    EXPECT_EQ(ThreadsOfThisProcess(), idle + row.readers);
    ASSERT_EQ(sim_.Control("stall 0"), "ok");
  }
  EXPECT_EQ(page_.hwnd(), nullptr);
}

TEST_F(GesturePage, CheckBoxAndTypeEnableTheControlsAndListsTellTheMainWindow) {
  values_.Set(Setting::RightType, 1);
  Open(true);
  const std::initializer_list<int> ids = {
      IDC_GESTURE_GROUP, IDC_GESTURE_ACTION_GROUP, IDC_GESTURE_MOTION_GROUP, IDC_GESTURE_LIST,
      IDC_GESTURE_CHANGE_DWELL, IDC_GESTURE_PERFORM, IDC_GESTURE_SMALL, IDC_GESTURE_LARGE,
      IDC_GESTURE_POSITION_LABEL, IDC_GESTURE_REQUIRED, IDC_GESTURE_SLIDER, IDC_GESTURE_POSITION,
      IDC_GESTURE_DWELL_LIST, IDC_GESTURE_ACTION_LIST, IDC_GESTURE_ENABLE, IDC_PAGE_OK, IDC_PAGE_CANCEL};
  const struct {
    std::function<void()> act;
    const char* enabled;  // the twelve gesture controls, the two lists, check box, OK, Cancel
  } steps[] = {
      {[] {}, "111111111111" "10" "111"},
      {[&] { Click(IDC_GESTURE_ENABLE); }, "000000000000" "00" "111"},
      {[&] { Click(IDC_GESTURE_ENABLE); }, "111111111111" "10" "111"},
      {[&] { Choose(IDC_GESTURE_LIST, 1); }, "111111111111" "01" "111"},
      {[&] { Click(IDC_GESTURE_ENABLE); }, "000000000000" "00" "111"},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    steps[i].act();
    EXPECT_EQ(Enabled(ids), steps[i].enabled) << "step " << i;
  }
  // The extended combo boxes pass their lists' opening and closing on to the page.
  for (int id : {IDC_GESTURE_LIST, IDC_GESTURE_DWELL_LIST, IDC_GESTURE_ACTION_LIST}) {
    gMainSaw.clear();
    Send(id, CB_SHOWDROPDOWN, TRUE);
    ExpectHeadRows(GetDlgItem(page_.hwnd(), id), "a Gesture page list");
    Send(id, CB_SHOWDROPDOWN, FALSE);
    EXPECT_EQ(gMainSaw[WM_USER + 8] * 10 + gMainSaw[WM_USER + 16], 11) << id;
  }
}

TEST_F(GesturePage, EditsLightApplyAndValuesTheControlsCannotShowStayUntilChanged) {
  const int32_t stored[][3] = {{100, 5, 12}, {-3, -1, -2}, {10, 0, 1}};  // point, type, command
  const Setting rows[][3] = {{Setting::LeftPoint, Setting::LeftType, Setting::LeftCommand},
                             {Setting::RightPoint, Setting::RightType, Setting::RightCommand},
                             {Setting::ForwardPoint, Setting::ForwardType, Setting::ForwardCommand}};
  for (int g = 0; g < 3; ++g)
    for (int k = 0; k < 3; ++k) values_.Set(rows[g][k], stored[g][k]);
  Open(true);
  // Left shows its nearest choices; a click or choice of a shown one is no edit.
  EXPECT_EQ(Send(IDC_GESTURE_SLIDER, TBM_GETPOS), 40);
  EXPECT_EQ(Send(IDC_GESTURE_PERFORM, BM_GETCHECK), BST_CHECKED);
  EXPECT_EQ(Send(IDC_GESTURE_ACTION_LIST, CB_GETCURSEL), 7);
  const struct {
    const char* what;
    std::function<void()> act;
    bool lit;
  } steps[] = {
      {"shown radio", [&] { Click(IDC_GESTURE_PERFORM); }, false},
      {"shown command", [&] { Choose(IDC_GESTURE_ACTION_LIST, 7); }, false},
      {"Right", [&] { Choose(IDC_GESTURE_LIST, 1); }, true},
      {"shown radio", [&] { Click(IDC_GESTURE_CHANGE_DWELL); }, false},
      {"shown command", [&] { Choose(IDC_GESTURE_DWELL_LIST, 0); }, false},
      {"Forward", [&] { Choose(IDC_GESTURE_LIST, 2); }, true},
      {"other radio", [&] { Click(IDC_GESTURE_PERFORM); }, true},
      {"other command", [&] { Choose(IDC_GESTURE_ACTION_LIST, 4); }, true},
      {"drag", [&] {  // a real drag of the thumb to the slider's middle
         RECT thumb, channel;
         Send(IDC_GESTURE_SLIDER, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
         Send(IDC_GESTURE_SLIDER, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
         const int y = (thumb.top + thumb.bottom) / 2, x = (channel.left + channel.right) / 2;
         Send(IDC_GESTURE_SLIDER, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((thumb.left + thumb.right) / 2, y));
         Send(IDC_GESTURE_SLIDER, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
         Send(IDC_GESTURE_SLIDER, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
       }, true},
  };
  int applied = 0;
  for (const auto& step : steps) {
    step.act();
    EXPECT_EQ(IsWindowEnabled(Item(IDC_PAGE_APPLY)) != 0, step.lit) << step.what;
    if (!step.lit) continue;
    Click(IDC_PAGE_APPLY);
    EXPECT_EQ(gMainSaw[WM_USER + 2], ++applied) << step.what;
  }
  const int middle = static_cast<int>(Send(IDC_GESTURE_SLIDER, TBM_GETPOS));
  EXPECT_TRUE(middle > 10 && middle < 30) << middle;
  const int32_t edited[] = {middle, 1, 4};
  for (int g = 0; g < 3; ++g)
    for (int k = 0; k < 3; ++k) EXPECT_EQ(values_.Get(rows[g][k]), g == 2 ? edited[k] : stored[g][k]) << g << k;
}

// A rest on the slider's track is a left click there: the thumb moves one page (a tenth of
// its travel) towards it and the chosen gesture's point is stored at once, as after a drag.
TEST_F(GesturePage, ARestOnTheTrackMovesOnePageAndStoresTheGesturesPoint) {
  const struct {
    int gesture;
    Setting point;
    int32_t stored, after;
  } rows[] = {{1, Setting::RightPoint, 10, 14}, {3, Setting::BackPoint, 0, 4}, {0, Setting::LeftPoint, 33, 37}};
  for (const auto& row : rows) values_.Set(row.point, row.stored);
  Open(true);
  ShowWindow(sheet_.hwnd(), SW_SHOW);
  SetForegroundWindow(sheet_.hwnd());
  for (const auto& row : rows) {
    SCOPED_TRACE(row.gesture);
    Choose(IDC_GESTURE_LIST, row.gesture);
    ASSERT_TRUE(RestOnTrack(Item(IDC_GESTURE_SLIDER)));
    EXPECT_EQ(Send(IDC_GESTURE_SLIDER, TBM_GETPOS), row.after);
    EXPECT_EQ(values_.Get(row.point), row.after);
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_PAGE_APPLY)));
  }
}

}  // namespace
