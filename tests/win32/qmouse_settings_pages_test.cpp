// The Options, Mouse, Dwell and Sounds pages in a sheet of this process, driven by messages,
// with a stand-in main window that applies the page values as the program's own does.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "device/trace.h"
#include "hxsim/win/sim_client.h"
#include "qmouse/look_away.h"
#include "qmouse/texts.h"
#include "qmouse/win/dwell_page.h"
#include "qmouse/win/general_page.h"
#include "qmouse/win/mouse_page.h"
#include "qmouse/win/sounds_page.h"
#include "resources/qmouse/resource.h"
#include "tests/win32/win_test_support.h"
#include "winui/dpi.h"
#include "winui/head_reach.h"

namespace {

enum Page { kOptions, kMouse, kDwell, kSounds };

class SettingsPages : public testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SettingsPagesMain";
    RegisterClassA(&wc);
    main_ = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(main_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    for (winui::PropertyPage* page : pages_) sheet_.AddPage(*page);
  }
  void TearDown() override {
    sheet_.Destroy();
    DestroyWindow(main_);
  }

  // As the main window opens the sheet: the live values, then every page visited once.
  void Open() {
    for (const SettingRow& row : kSettingRows) pageValues_.Set(row.id, live_.Get(row.id));
    for (SettingsPage* page : pages_) page->SetMainWindow(main_);
    ASSERT_TRUE(sheet_.Create(nullptr));
    for (int i : {kSounds, kDwell, kMouse, kOptions}) ASSERT_TRUE(sheet_.SetActivePage(i));
    // QMOUSE_PAGES_HOLD_MS shows each page that long, for screenshots.
    if (const char* hold = getenv("QMOUSE_PAGES_HOLD_MS"))
      for (int i : {kOptions, kMouse, kDwell, kSounds, kOptions}) {
        sheet_.SetActivePage(i);
        PumpUntil([] { return false; }, atoi(hold));
      }
  }
  HWND Item(Page page, int id) { return GetDlgItem(pages_[page]->hwnd(), id); }
  LRESULT Send(Page page, int id, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    return SendMessageA(Item(page, id), msg, wp, lp);
  }
  void Click(Page page, int id) { Send(page, id, BM_CLICK); }
  bool ApplyEnabled(Page page) { return IsWindowEnabled(Item(page, IDC_PAGE_APPLY)) != FALSE; }
  void Choose(Page page, int list, int index) {
    Send(page, list, CB_SETCURSEL, index);
    SendMessageA(pages_[page]->hwnd(), WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE), (LPARAM)Item(page, list));
  }
  // TBM_SETPOS tells nobody; a drag ends with the release notification.
  void Drag(Page page, int slider, int position) {
    Send(page, slider, TBM_SETPOS, TRUE, position);
    NMHDR header = {Item(page, slider), static_cast<UINT_PTR>(slider), static_cast<UINT>(NM_RELEASEDCAPTURE)};
    SendMessageA(pages_[page]->hwnd(), WM_NOTIFY, slider, reinterpret_cast<LPARAM>(&header));
  }
  std::string Text(Page page, int id) {
    char text[64] = {};
    GetDlgItemTextA(pages_[page]->hwnd(), id, text, sizeof text);
    return text;
  }

  static LRESULT CALLBACK MainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<SettingsPages*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    if (!self || msg < WM_USER) return DefWindowProcA(w, msg, wp, lp);
    self->received_.push_back(msg);
    if (msg == SettingsPage::kApplySettings && ApplyPageValues(self->live_, self->pageValues_))
      self->live_.Set(Setting::StartupAtBoot, self->pageValues_.Get(Setting::StartupAtBoot));
    return 0;
  }

  Settings live_, pageValues_;
  General general_{pageValues_};
  MousePage mouse_{pageValues_};
  DwellPage dwell_{pageValues_};
  SoundsPage sounds_{pageValues_};
  SettingsPage* pages_[4] = {&general_, &mouse_, &dwell_, &sounds_};
  winui::Sheet sheet_{"Quellan Mouse Settings"};
  HWND main_ = nullptr;
  std::vector<UINT> received_;
};

TEST_F(SettingsPages, OnlyAReleaseAfterADragStoresASliderValue) {
  struct Case {
    Page page;
    int choice, slider, position;
    Setting value;
    int32_t stored;
    int text;
  } cases[] = {
      {kMouse, 2, IDC_MOUSE_HORIZONTAL, 25, Setting::XSpeed, 25, IDC_MOUSE_HORIZONTAL_VALUE},
      {kMouse, 0, IDC_MOUSE_VERTICAL, 12, Setting::YAccel, 12, IDC_MOUSE_VERTICAL_VALUE},
      {kMouse, 1, IDC_MOUSE_HORIZONTAL, 40, Setting::XStabilizer, 40, IDC_MOUSE_HORIZONTAL_VALUE},
      {kDwell, -1, IDC_HOVER_TIME, 30, Setting::HoverTime, 90, 0},
      {kDwell, -1, IDC_DWELL_TIME, 100, Setting::DwellTime, 20, 0},
      {kDwell, -1, IDC_DWELL_ZONE, 40, Setting::DwellZone, 40, 0},
  };
  Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.slider);
    if (c.choice >= 0) Choose(c.page, IDC_MOUSE_PAIR, c.choice);
    const int before = static_cast<int>(Send(c.page, c.slider, TBM_GETPOS));
    Send(c.page, c.slider, WM_KEYDOWN, VK_END);
    EXPECT_NE(Send(c.page, c.slider, TBM_GETPOS), before);
    EXPECT_FALSE(ApplyEnabled(c.page));
    Drag(c.page, c.slider, c.position);
    EXPECT_EQ(pageValues_.Get(c.value), c.stored);
    if (c.text) {
      EXPECT_EQ(Text(c.page, c.text), std::to_string(c.stored));
    }
    EXPECT_TRUE(ApplyEnabled(c.page));
    Click(c.page, IDC_PAGE_APPLY);
    EXPECT_EQ(live_.Get(c.value), c.stored);
    EXPECT_FALSE(ApplyEnabled(c.page));
  }
}

TEST_F(SettingsPages, ListsShowTheirChoiceAndTellTheMainWindowWhenOpen) {
  live_.Set(Setting::SoundMode, 2);
  live_.Set(Setting::DropLeftSound, 7);
  Open();
  // The Mouse page's list only shows another pair.
  EXPECT_EQ(Send(kMouse, IDC_MOUSE_PAIR, CB_GETCURSEL), 2);
  Choose(kMouse, IDC_MOUSE_PAIR, 0);
  EXPECT_EQ(Send(kMouse, IDC_MOUSE_HORIZONTAL, TBM_GETPOS), 30);
  EXPECT_EQ(Text(kMouse, IDC_MOUSE_VERTICAL_VALUE), "30");
  EXPECT_FALSE(ApplyEnabled(kMouse));
  // Choosing an event is an edit; its sound follows the event list's order.
  Choose(kSounds, IDC_SOUND_EVENT, 5);  // "Drop w/left button"
  EXPECT_EQ(Send(kSounds, IDC_SOUND_LIST, CB_GETCURSEL), 7);
  EXPECT_TRUE(ApplyEnabled(kSounds));
  Choose(kSounds, IDC_SOUND_EVENT, 6);  // "Drag w/right button"
  Choose(kSounds, IDC_SOUND_LIST, 9);
  EXPECT_EQ(pageValues_.Get(Setting::DragRightSound), 9);
  EXPECT_EQ(pageValues_.Get(Setting::DropLeftSound), 7);
  // One sound for all: the event list goes off and the sound list edits the global sound.
  Click(kSounds, IDC_SOUND_ONE);
  EXPECT_EQ(pageValues_.Get(Setting::SoundMode), 1);
  EXPECT_FALSE(IsWindowEnabled(Item(kSounds, IDC_SOUND_EVENT)));
  Choose(kSounds, IDC_SOUND_LIST, 3);
  EXPECT_EQ(pageValues_.Get(Setting::GlobalSound), 3);
  Click(kSounds, IDC_SOUND_NONE);
  EXPECT_FALSE(IsWindowEnabled(Item(kSounds, IDC_SOUND_LIST)));
  Click(kSounds, IDC_SOUND_UNIQUE);
  received_.clear();
  const std::pair<Page, int> lists[] = {{kMouse, IDC_MOUSE_PAIR}, {kSounds, IDC_SOUND_EVENT}, {kSounds, IDC_SOUND_LIST}};
  for (auto [page, list] : lists) {
    sheet_.SetActivePage(page);
    Send(page, list, CB_SHOWDROPDOWN, TRUE);
    Send(page, list, CB_SHOWDROPDOWN, FALSE);
  }
  const UINT on = SettingsPage::kForceLeftOn, off = SettingsPage::kForceLeftOff;
  EXPECT_EQ(received_, (std::vector<UINT>{on, off, on, off, on, off}));
}

// The rows of every drop-down list as the open list draws them, at least 24 pixels at 96 DPI
// and scaled with the DPI; also the smallest control, for the record.
TEST_F(SettingsPages, DropDownRowsAHeadCanHit) {
  Open();
  const int dpi = winui::SystemDpi();
  const int least = 24 * dpi / 96;
  const std::pair<Page, int> lists[] = {{kOptions, IDC_LOOK_AWAY_DIRECTION}, {kOptions, IDC_LOOK_AWAY_TIME},
                                        {kMouse, IDC_MOUSE_PAIR}, {kSounds, IDC_SOUND_EVENT}, {kSounds, IDC_SOUND_LIST}};
  int smallestRow = 1 << 30;
  for (auto [page, list] : lists) {
    SCOPED_TRACE(list);
    sheet_.SetActivePage(page);
    Send(page, list, CB_SHOWDROPDOWN, TRUE);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(Item(page, list), &info));
    RECT row = {};
    ASSERT_NE(SendMessageA(info.hwndList, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row)), LB_ERR);
    EXPECT_GE(row.bottom - row.top, least);
    EXPECT_GE(info.rcItem.bottom - info.rcItem.top + 2, least) << "the closed field too";
    smallestRow = std::min(smallestRow, static_cast<int>(row.bottom - row.top));
    Send(page, list, CB_SHOWDROPDOWN, FALSE);
  }
  int smallestWidth = 1 << 30, smallestHeight = 1 << 30;
  for (SettingsPage* page : pages_)
    for (HWND c = GetWindow(page->hwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      char cls[32] = {};
      GetClassNameA(c, cls, sizeof cls);
      if (!(GetWindowLongA(c, GWL_STYLE) & WS_TABSTOP) && lstrcmpiA(cls, "Button") != 0) continue;
      if ((GetWindowLongA(c, GWL_STYLE) & 0x0F) == BS_GROUPBOX && lstrcmpiA(cls, "Button") == 0) continue;
      RECT r;
      GetWindowRect(c, &r);
      smallestWidth = std::min(smallestWidth, static_cast<int>(r.right - r.left));
      smallestHeight = std::min(smallestHeight, static_cast<int>(r.bottom - r.top));
    }
  std::printf("measured at %d DPI: smallest drop-down row %d px, smallest control %d x %d px\n", dpi, smallestRow,
              smallestWidth, smallestHeight);
}

// A rest on a slider's track is a left click there: the thumb moves one page towards it and
// the value is stored, as after a drag; no slider needs more than ten rests from end to end.
TEST_F(SettingsPages, ARestOnATrackMovesOnePageAndStores) {
  struct Case {
    Page page;
    int slider;
    Setting value;
  } cases[] = {{kMouse, IDC_MOUSE_HORIZONTAL, Setting::XSpeed}, {kDwell, IDC_HOVER_TIME, Setting::HoverTime}};
  live_.Set(Setting::XSpeed, 10);
  Open();
  ShowWindow(sheet_.hwnd(), SW_SHOW);
  SetForegroundWindow(sheet_.hwnd());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.slider);
    ASSERT_TRUE(sheet_.SetActivePage(c.page));
    HWND slider = Item(c.page, c.slider);
    const int low = static_cast<int>(Send(c.page, c.slider, TBM_GETRANGEMIN));
    const int high = static_cast<int>(Send(c.page, c.slider, TBM_GETRANGEMAX));
    const int page = static_cast<int>(Send(c.page, c.slider, TBM_GETPAGESIZE));
    EXPECT_LE((high - low + page - 1) / page, 10);
    const int before = static_cast<int>(Send(c.page, c.slider, TBM_GETPOS));
    const int32_t stored = pageValues_.Get(c.value);
    ASSERT_TRUE(RestOnTrack(slider));
    EXPECT_NE(pageValues_.Get(c.value), stored);
    EXPECT_EQ(Send(c.page, c.slider, TBM_GETPOS), std::min(high, before + page));
    EXPECT_TRUE(ApplyEnabled(c.page));
  }
}

TEST_F(SettingsPages, LookAwayIsChosenOnTheOptionsPage) {
  Open();
  EXPECT_EQ(IsDlgButtonChecked(pages_[kOptions]->hwnd(), IDC_LOOK_AWAY), BST_UNCHECKED);
  EXPECT_EQ(Send(kOptions, IDC_LOOK_AWAY_DIRECTION, CB_GETCURSEL), 0);
  EXPECT_EQ(Send(kOptions, IDC_LOOK_AWAY_TIME, CB_GETCURSEL), 1);
  Click(kOptions, IDC_LOOK_AWAY);
  Choose(kOptions, IDC_LOOK_AWAY_DIRECTION, 3);
  Choose(kOptions, IDC_LOOK_AWAY_TIME, 4);
  EXPECT_TRUE(ApplyEnabled(kOptions));
  Click(kOptions, IDC_PAGE_OK);
  ASSERT_TRUE(PumpUntil([&] { return !sheet_.IsOpen(); }));
  EXPECT_EQ(live_.Get(Setting::LookAway), 1);
  EXPECT_EQ(live_.Get(Setting::LookAwayDirection), kLookRight);
  EXPECT_EQ(live_.Get(Setting::LookAwayTime), 5000);
  // Odd stored values show as what the look away uses and stay until changed.
  live_.Set(Setting::LookAwayDirection, 9);
  live_.Set(Setting::LookAwayTime, 60000);
  Open();
  EXPECT_EQ(Send(kOptions, IDC_LOOK_AWAY_DIRECTION, CB_GETCURSEL), 0);
  EXPECT_EQ(Send(kOptions, IDC_LOOK_AWAY_TIME, CB_GETCURSEL), 4);
  Click(kOptions, IDC_PAGE_OK);
  ASSERT_TRUE(PumpUntil([&] { return !sheet_.IsOpen(); }));
  EXPECT_EQ(live_.Get(Setting::LookAwayTime), 60000);
}

TEST_F(SettingsPages, ApplyCopiesEveryPageAndCancelKeepsWhatWasApplied) {
  Open();
  Drag(kDwell, IDC_HOVER_TIME, 30);
  Click(kMouse, IDC_PAGE_APPLY);  // the Dwell page's edit goes too
  EXPECT_EQ(live_.Get(Setting::HoverTime), 90);
  Click(kOptions, IDC_REPEAT_CLICKS);
  EXPECT_TRUE(ApplyEnabled(kOptions));
  Click(kOptions, IDC_PAGE_CANCEL);
  ASSERT_TRUE(PumpUntil([&] { return !sheet_.IsOpen(); }));
  EXPECT_EQ(live_.Get(Setting::HoverTime), 90);
  EXPECT_EQ(live_.Get(Setting::Repeater), 0);
  EXPECT_EQ(received_, std::vector<UINT>{SettingsPage::kApplySettings});
}

TEST_F(SettingsPages, OddStoredValuesShowHarmlesslyAndStayUntilChanged) {
  const std::pair<Setting, int32_t> odd[] = {
      {Setting::DwellZone, 100}, {Setting::HoverTime, INT32_MIN}, {Setting::XSpeed, 0},
      {Setting::SoundMode, 1},   {Setting::GlobalSound, 99},      {Setting::ColorReference, -1}};
  for (auto [value, stored] : odd) live_.Set(value, stored);
  Open();
  EXPECT_EQ(Send(kDwell, IDC_DWELL_ZONE, TBM_GETPOS), 45);
  EXPECT_EQ(Send(kDwell, IDC_HOVER_TIME, TBM_GETPOS), 100);
  EXPECT_EQ(Send(kMouse, IDC_MOUSE_HORIZONTAL, TBM_GETPOS), 10);
  EXPECT_EQ(Text(kMouse, IDC_MOUSE_HORIZONTAL_VALUE), "0");
  EXPECT_EQ(Send(kSounds, IDC_SOUND_LIST, CB_GETCURSEL), -1);
  EXPECT_EQ(Send(kDwell, IDC_COLOR_SWATCH, LVM_GETBKCOLOR), static_cast<LRESULT>(GetSysColor(COLOR_BTNFACE)));
  Click(kOptions, IDC_STARTUP_AT_BOOT);
  Click(kOptions, IDC_PAGE_OK);
  ASSERT_TRUE(PumpUntil([&] { return !sheet_.IsOpen(); }));
  EXPECT_EQ(live_.Get(Setting::StartupAtBoot), 1);
  for (auto [value, stored] : odd) EXPECT_EQ(live_.Get(value), stored);
}

TEST_F(SettingsPages, HeadTrackerChoiceShowsItsPortAndStoresOnlyWholePorts) {
  live_.Set(Setting::TrackerPort, 70000);  // odd stored port: shown as the default
  Open();
  EXPECT_EQ(Send(kOptions, IDC_TRACKER, CB_GETCURSEL), 0);
  EXPECT_FALSE(IsWindowEnabled(Item(kOptions, IDC_TRACKER_PORT))) << "the driver has no port";
  EXPECT_EQ(Text(kOptions, IDC_TRACKER_PORT), "4242");
  EXPECT_FALSE(ApplyEnabled(kOptions));

  Choose(kOptions, IDC_TRACKER, 1);
  EXPECT_EQ(pageValues_.Get(Setting::Tracker), 1);
  EXPECT_TRUE(IsWindowEnabled(Item(kOptions, IDC_TRACKER_PORT)));
  EXPECT_TRUE(IsWindowEnabled(Item(kOptions, IDC_TRACKER_NETWORK)));
  char item[64] = {};
  Send(kOptions, IDC_TRACKER, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(item));
  EXPECT_STREQ(item, "opentrack (UDP port 4242)");

  struct Typed {
    const char* text;
    int32_t stored;
  } typed[] = {{"5005", 5005}, {"0", 5005}, {"", 5005}, {"65536", 5005}, {"65535", 65535}, {"4242", 4242}};
  for (const Typed& t : typed) {
    SetDlgItemTextA(pages_[kOptions]->hwnd(), IDC_TRACKER_PORT, t.text);  // sends EN_CHANGE
    EXPECT_EQ(pageValues_.Get(Setting::TrackerPort), t.stored) << '"' << t.text << '"';
  }
  SetDlgItemTextA(pages_[kOptions]->hwnd(), IDC_TRACKER_PORT, "4343");
  Send(kOptions, IDC_TRACKER, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(item));
  EXPECT_STREQ(item, "opentrack (UDP port 4343)") << "the list follows the port";
  Click(kOptions, IDC_TRACKER_NETWORK);
  EXPECT_EQ(pageValues_.Get(Setting::TrackerNetwork), 1);
  Click(kOptions, IDC_PAGE_APPLY);
  EXPECT_EQ(live_.Get(Setting::Tracker), 1);
  EXPECT_EQ(live_.Get(Setting::TrackerPort), 4343);
  EXPECT_EQ(live_.Get(Setting::TrackerNetwork), 1);
}

// The tracker actions against the simulator. A second thread answers each question box in
// turn and cancels any it did not expect, so a wrong path fails rather than hangs.
class TrackerActions : public SettingsPages {
 protected:
  struct Answer {
    const char* text;
    int button;
  };
  std::vector<std::string> Run(int button, const std::vector<Answer>& script) {
    std::vector<std::string> seen;
    std::atomic<bool> done{false};
    std::thread answerer([&, thread = GetCurrentThreadId()] {
      HWND answered = nullptr;
      while (!done) {
        HWND box = FindWindowA("#32770", texts::kAppTitle);
        if (box && box != answered && IsWindowVisible(box) && GetWindowThreadProcessId(box, nullptr) == thread) {
          char text[512] = {};
          GetDlgItemTextA(box, IDC_CONFIRM_TEXT, text, sizeof text);
          const size_t i = seen.size();
          seen.push_back(text);
          const bool expected = i < script.size() && seen.back() == script[i].text;
          const int id = expected ? script[i].button : IDCANCEL;
          PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
          answered = box;
        }
        Sleep(10);
      }
    });
    Click(kOptions, button);
    done = true;
    answerer.join();
    return seen;
  }
  // The simulator's requests since the last look, without client numbers.
  std::string Requests() {
    std::string log = sim_.Control("log").substr(2), out;
    for (size_t at = log.find(':'); at != std::string::npos; at = log.find(':', at + 1))
      out += (out.empty() ? "" : ",") + log.substr(at + 1, log.find(' ', at) - at - 1);
    return out;
  }
  SimProcess sim_;
};

TEST_F(TrackerActions, CalibrationAndCentreAskAndSaveOnlyOnSuccess) {
  SimProcess::Options options;
  options.rateHz = 0;
  ASSERT_TRUE(sim_.Start(options));
  _putenv(("HXSIM_PIPE=" + sim_.PipeName()).c_str());
  Open();
  const std::string open = "open,IOCTL_GET_VERSION,IOCTL_START_COLLECTION,", close = "IOCTL_STOP_COLLECTION,close";
  struct Case {
    const char* control;
    int button;
    std::vector<Answer> script;
    std::string requests;
  } cases[] = {
      {"answer calibrate 1", IDC_CALIBRATE, {{texts::kAlignSensors, IDOK}, {texts::kCalibrationDone, IDOK}},
       open + "IOCTL_CALIBRATE,IOCTL_SAVE_SETTINGS," + close},
      {"answer calibrate 0", IDC_CALIBRATE,
       {{texts::kAlignSensors, IDOK}, {texts::kCalibrationMisaligned, IDOK},
        {texts::kAlignSensors, IDOK}, {texts::kCalibrationMisaligned, IDCANCEL}},
       open + "IOCTL_CALIBRATE*2," + close},
      {"answer calibrate 2", IDC_CALIBRATE,
       {{texts::kAlignSensors, IDOK}, {texts::kCalibrationNoResponse, IDOK}}, open + "IOCTL_CALIBRATE," + close},
      {"answer calibrate 1", IDC_CALIBRATE, {{texts::kAlignSensors, IDCANCEL}}, open + close},
      {"pass IOCTL_SET_ZERO", IDC_SET_CENTER, {{texts::kLookAtCenter, IDOK}, {texts::kCenterDone, IDOK}},
       open + "IOCTL_SET_ZERO,IOCTL_SAVE_SETTINGS," + close},
      {"fail IOCTL_SET_ZERO", IDC_SET_CENTER, {{texts::kLookAtCenter, IDOK}, {texts::kCenterFailed, IDOK}},
       open + "IOCTL_SET_ZERO," + close},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    ASSERT_EQ(sim_.Control(c.control).rfind("ok", 0), 0u);
    Requests();
    TraceCapture trace;
    std::vector<std::string> expected;
    for (const Answer& a : c.script) expected.push_back(a.text);
    EXPECT_EQ(Run(c.button, c.script), expected);
    EXPECT_TRUE(trace.Contains(c.button == IDC_CALIBRATE ? texts::kTraceCalibrationLink : texts::kTraceCenterLink));
    // The link closed before the handler returned; the simulator may log it a moment later.
    std::string requests;
    PumpUntil([&] {
      const std::string more = Requests();
      requests += (requests.empty() || more.empty() ? "" : ",") + more;
      return requests.find("close") != std::string::npos;
    });
    EXPECT_EQ(requests, c.requests);
  }
  EXPECT_TRUE(sim_.Quit());
}

}  // namespace
