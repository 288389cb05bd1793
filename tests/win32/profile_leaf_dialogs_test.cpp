// The key command, mouse button and wheel dialogs and the Power Command editor, run modally and
// driven by messages from a timer of the test's own thread, which every modal loop dispatches.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "tests/win32/win_test_support.h"

#include <cstring>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "commands/key_table.h"
#include "commands/win/key_command_dialog.h"
#include "profiles/win/button_dialog.h"
#include "profiles/win/power_command_editor.h"
#include "profiles/win/wheel_dialog.h"
#include "resources/profiles/resource.h"
#include "tests/e2e/screenshot.h"

namespace {

using TitleAndWindow = std::pair<const char*, HWND>;

BOOL CALLBACK MatchDialog(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<TitleAndWindow*>(lp);
  char cls[16] = {}, text[128] = {};
  GetClassNameA(w, cls, sizeof cls);
  GetWindowTextA(w, text, sizeof text);
  if (strcmp(cls, "#32770") != 0 || !IsWindowVisible(w) || !IsWindowEnabled(w)) return TRUE;
  if (f->first && strcmp(text, f->first) != 0) return TRUE;
  f->second = w;
  return FALSE;
}

// This thread's dialog with `title` (any, for null) that no modal window above it disables.
HWND TopDialog(const char* title) {
  TitleAndWindow find{title, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&find));
  return find.second;
}

// Steps run in turn, each once its window is on top. A step that opens a modal window leaves
// the following steps to run inside it. Past the deadline the script fails and cancels
// whatever is on top, so a wrong path fails rather than hangs.
class Script {
 public:
  struct Step {
    const char* title;
    std::function<void(HWND)> act;
  };
  explicit Script(std::vector<Step> steps) : steps_(std::move(steps)), deadline_(GetTickCount() + 15000) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 10, Tick);
  }
  ~Script() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
    EXPECT_EQ(next_, steps_.size()) << "a window the script waited for never came";
  }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    Script* s = current_;
    if (!s) return;
    if (s->next_ < s->steps_.size()) {
      if (HWND w = TopDialog(s->steps_[s->next_].title)) return s->steps_[s->next_++].act(w);
    }
    if (GetTickCount() - s->deadline_ < 0x80000000u)
      if (HWND stuck = TopDialog(nullptr)) PostMessageA(stuck, WM_COMMAND, IDCANCEL, 0);
  }

  static inline Script* current_ = nullptr;
  std::vector<Step> steps_;
  size_t next_ = 0;
  DWORD deadline_;
  UINT_PTR timer_;
};

void Press(HWND d, int id) { SendMessageA(GetDlgItem(d, id), BM_CLICK, 0, 0); }
bool Checked(HWND d, int id) { return IsDlgButtonChecked(d, id) == BST_CHECKED; }
bool Enabled(HWND d, int id) { return IsWindowEnabled(GetDlgItem(d, id)) != FALSE; }
int SliderAt(HWND d, int id) { return static_cast<int>(SendDlgItemMessageA(d, id, TBM_GETPOS, 0, 0)); }
std::string Text(HWND d, int id) {
  char text[256] = {};
  GetDlgItemTextA(d, id, text, sizeof text);
  return text;
}
// TBM_SETPOS tells nobody; a drag ends with the release notification.
void Drag(HWND d, int id, int position) {
  SendDlgItemMessageA(d, id, TBM_SETPOS, TRUE, position);
  NMHDR header = {GetDlgItem(d, id), static_cast<UINT_PTR>(id), static_cast<UINT>(NM_RELEASEDCAPTURE)};
  SendMessageA(d, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
}
// A user's pick in the type list or the Power Command list (both notifications are 1).
void Pick(HWND d, int id, int index) {
  SendDlgItemMessageA(d, id, id == IDC_POWER_TYPE ? CB_SETCURSEL : LB_SETCURSEL, index, 0);
  SendMessageA(d, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(d, id)));
}
std::vector<std::string> Lines(HWND d) {
  std::vector<std::string> lines;
  for (int i = 0; i < SendDlgItemMessageA(d, IDC_POWER_LIST, LB_GETCOUNT, 0, 0); ++i) {
    char text[256] = {};
    SendDlgItemMessageA(d, IDC_POWER_LIST, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    lines.push_back(text);
  }
  return lines;
}
// A message box step: its text goes to `seen`, then OK.
Script::Step Answer(const char* caption, std::vector<std::string>& seen) {
  return {caption, [&seen](HWND box) {
            seen.push_back(Text(box, 0xFFFF));
            Press(box, IDOK);
          }};
}
// With HX_SHOTS set, a picture of the dialog for people to look at.
void Shot(HWND w, const std::string& name) {
  const std::string folder = ShotsFolder();
  if (folder.empty()) return;
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  EXPECT_TRUE(SaveWindowPicture(w, folder + name + ".bmp"));
}

template <typename C>
std::string Joined(const C& values) {
  std::ostringstream out;
  for (const auto& v : values) out << v << ' ';
  return out.str();
}

class LeafDialogs : public testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
  }
};

// What a dialog gives back, as one line to compare: keys or buttons with method and rate; the
// wheel's direction, method and rate; the editor's count, check box, entries, and two slots a
// file's odd values may sit in.
std::string Result(const winui::Dialog& dialog) {
  if (auto* k = dynamic_cast<const KeyCommandDialog*>(&dialog))
    return Joined(k->Keys()) + "/ " + std::to_string(k->Action()) + " " + std::to_string(k->PulseRate());
  if (auto* b = dynamic_cast<const MouseButtonDialog*>(&dialog))
    return Joined(b->Buttons()) + "/ " + std::to_string(b->Action()) + " " + std::to_string(b->PulseRate());
  if (auto* w = dynamic_cast<const WheelDialog*>(&dialog))
    return std::to_string(w->Direction()) + " " + std::to_string(w->Method()) + " " + std::to_string(w->Rate());
  Command map = Command();
  map.powerCount = -1;
  dynamic_cast<const PowerCommandEditor&>(dialog).CommitTo(map);
  std::string out = std::to_string(map.powerCount) + " " + std::to_string(map.repeatWhileOut);
  for (int i = 0; i < map.powerCount; ++i)
    out += " | " + map.powerLabels[i] + " " + std::to_string(map.powerDelay[i]) + " " + std::to_string(map.powerDuration[i]);
  return out + " ; " + Joined(map.powerKeys[0]) + "; " + std::to_string(map.powerType[1]);
}

Command TwoEntryMap() {
  Command map;
  map.powerType[0] = kPowerWheelTick;
  map.powerWheelDirection[0] = 1;
  map.powerLabels[0] = "Scroll the mouse wheel down.";
  map.powerDelay[0] = 5;
  map.powerType[1] = kPowerButtonClick;
  map.powerButtons[1][1] = 1;
  map.powerLabels[1] = "Click mouse buttons: 2 (Right)";
  map.powerDelay[1] = 7;
  map.powerDuration[1] = 9;
  map.powerCount = 2;
  return map;
}

Command OddList() {
  Command map = TwoEntryMap();
  map.powerType[1] = 7;
  map.powerKeys[0] = {300, -5, -1, -1};
  map.powerCount = 200;
  return map;
}

TEST_F(LeafDialogs, EachOpensWithItsValuesAndReturnsEditsOnlyOnOk) {
  struct Case {
    const char* title;
    std::function<std::unique_ptr<winui::Dialog>()> make;
    std::function<void(HWND)> checkAndEdit;
    std::string cancelled, accepted;
  } cases[] = {
      {"Key command", [] { return std::make_unique<KeyCommandDialog>(0, std::array<int32_t, 4>{74, 39, -1, -1}, 3, 40); },
       [](HWND d) {
         for (int i = 0; i < kKeyCount; ++i) EXPECT_EQ(Checked(d, IDC_KEY_FIRST + i), i == 39 || i == 74) << i;
         EXPECT_TRUE(Checked(d, IDC_KEY_PULSE));
         EXPECT_EQ(SliderAt(d, IDC_KEY_RATE), 40);
         EXPECT_TRUE(Enabled(d, IDC_KEY_RATE));
         Press(d, IDC_KEY_HOLD);
         EXPECT_FALSE(Enabled(d, IDC_KEY_RATE));
         Press(d, IDC_KEY_FIRST + 59);
         Press(d, IDC_KEY_FIRST + 74);
       },
       "74 39 -1 -1 / 3 40", "39 59 -1 -1 / 1 40"},
      {"Mouse button command",
       [] { return std::make_unique<MouseButtonDialog>(std::array<int32_t, 8>{1, 0, 1, 0, 0, 0, 1, 0}, 2, 10, false); },
       [](HWND d) {
         EXPECT_TRUE(Checked(d, IDC_BUTTON_LEFT) && Checked(d, IDC_BUTTON_MIDDLE) && !Checked(d, IDC_BUTTON_RIGHT));
         for (int id : {IDC_BUTTON_6, IDC_BUTTON_7, IDC_BUTTON_8}) EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, id)));
         EXPECT_TRUE(Checked(d, IDC_BUTTON_TOGGLE));
         EXPECT_FALSE(Enabled(d, IDC_BUTTON_RATE));
         EXPECT_EQ(SliderAt(d, IDC_BUTTON_RATE), 10);
         Press(d, IDC_BUTTON_RIGHT);
         Press(d, IDC_BUTTON_LEFT);
         Press(d, IDC_BUTTON_PULSE);
         EXPECT_TRUE(Enabled(d, IDC_BUTTON_RATE) && Enabled(d, IDC_BUTTON_FAST));
         Drag(d, IDC_BUTTON_RATE, 70);
       },
       "1 0 1 0 0 0 1 0 / 2 10", "0 1 1 0 0 0 1 0 / 3 70"},
      {"Mouse wheel command", [] { return std::make_unique<WheelDialog>(1, 1, 30, false); },
       [](HWND d) {
         EXPECT_TRUE(Checked(d, IDC_WHEEL_DOWN) && Checked(d, IDC_WHEEL_REPEATEDLY));
         EXPECT_EQ(SliderAt(d, IDC_WHEEL_RATE), 71);
         Press(d, IDC_WHEEL_UP);
         Drag(d, IDC_WHEEL_RATE, 90);
         Press(d, IDC_WHEEL_ONCE);
         EXPECT_FALSE(Enabled(d, IDC_WHEEL_RATE));
       },
       "1 1 30", "0 0 11"},
      {"Power Command editor", [] { return std::make_unique<PowerCommandEditor>(TwoEntryMap()); },
       [](HWND d) {
         EXPECT_EQ(Lines(d), (std::vector<std::string>{"Scroll the mouse wheel down.", "Click mouse buttons: 2 (Right)"}));
         EXPECT_EQ(Text(d, IDC_POWER_CURRENT), "No command set");
         EXPECT_FALSE(Checked(d, IDC_POWER_REPEAT) || Enabled(d, IDC_POWER_CHANGE));
         Pick(d, IDC_POWER_LIST, 1);
         EXPECT_EQ(SliderAt(d, IDC_POWER_DELAY) * 100 + SliderAt(d, IDC_POWER_DURATION), 709);
         Drag(d, IDC_POWER_DELAY, 33);
         Pick(d, IDC_POWER_LIST, 0);
         EXPECT_FALSE(Enabled(d, IDC_POWER_DURATION) || Enabled(d, IDC_POWER_DURATION_SECONDS));
         Press(d, IDC_POWER_REMOVE);
         EXPECT_EQ(SendDlgItemMessageA(d, IDC_POWER_LIST, LB_GETCURSEL, 0, 0), 0);
         EXPECT_TRUE(Enabled(d, IDC_POWER_DURATION));
         Press(d, IDC_POWER_REPEAT);
       },
       "-1 0 ; -1 -1 -1 -1 ; -1", "1 1 | Click mouse buttons: 2 (Right) 33 9 ; -1 -1 -1 -1 ; -1"},
      // Values from a file that no control stands for show as far as they are valid and stay.
      {"Key command", [] { return std::make_unique<KeyCommandDialog>(0, std::array<int32_t, 4>{500, -7, 100, 39}, 9, 1000); },
       [](HWND d) {
         for (int i = 0; i < kKeyCount; ++i) EXPECT_EQ(Checked(d, IDC_KEY_FIRST + i), i == 39 || i == 100) << i;
         for (int id : {IDC_KEY_TAP, IDC_KEY_HOLD, IDC_KEY_TOGGLE, IDC_KEY_PULSE}) EXPECT_FALSE(Checked(d, id));
         EXPECT_EQ(SliderAt(d, IDC_KEY_RATE), 100);
       },
       "500 -7 100 39 / 9 1000", "39 100 -1 -1 / 9 1000"},
      // A list claiming 200 entries, a type no entry has and a key index no key has: the
      // leading entry shows, everything else comes back as it was.
      {"Power Command editor", [] { return std::make_unique<PowerCommandEditor>(OddList()); },
       [](HWND d) { EXPECT_EQ(Lines(d), std::vector<std::string>{"Scroll the mouse wheel down."}); },
       "-1 0 ; -1 -1 -1 -1 ; -1", "1 0 | Scroll the mouse wheel down. 5 0 ; 300 -5 -1 -1 ; 7"},
      {"Mouse wheel command", [] { return std::make_unique<WheelDialog>(5, 7, 1000, false); },
       [](HWND d) {
         for (int id : {IDC_WHEEL_UP, IDC_WHEEL_DOWN, IDC_WHEEL_ONCE, IDC_WHEEL_REPEATEDLY}) EXPECT_FALSE(Checked(d, id));
         EXPECT_EQ(SliderAt(d, IDC_WHEEL_RATE), 1);
       },
       "5 7 1000", "5 7 1000"},
  };
  for (const Case& c : cases) {
    for (const bool ok : {false, true}) {
      SCOPED_TRACE(std::string(c.title) + (ok ? " OK" : " Cancel"));
      auto dialog = c.make();
      {
        Script script({{c.title, [&](HWND d) {
                          c.checkAndEdit(d);
                          if (ok) Shot(d, std::to_string(&c - cases) + "_edited");
                          Press(d, ok ? IDOK : IDCANCEL);
                        }}});
        EXPECT_EQ(dialog->DoModal(), ok ? IDOK : IDCANCEL);
      }
      EXPECT_EQ(Result(*dialog), ok ? c.accepted : c.cancelled);
    }
  }
}

// A rest on a slider's track is a left click there: the thumb moves one page (a tenth of its
// travel) towards it, and the value it stands for is what OK hands back, as after a drag.
TEST_F(LeafDialogs, ARestOnASlidersTrackMovesOnePageAndIsKept) {
  RestOnEachTrack({
      {"key rate", [] { return std::make_unique<KeyCommandDialog>(0, std::array<int32_t, 4>{39, -1, -1, -1}, kPulse, 40); },
       IDC_KEY_RATE, [](const winui::Dialog& d) { return dynamic_cast<const KeyCommandDialog&>(d).PulseRate(); }, 50},
      {"button rate",
       [] { return std::make_unique<MouseButtonDialog>(std::array<int32_t, 8>{1, 0, 0, 0, 0, 0, 0, 0}, kPulse, 20, false); },
       IDC_BUTTON_RATE, [](const winui::Dialog& d) { return dynamic_cast<const MouseButtonDialog&>(d).PulseRate(); }, 30},
      // The wheel's rate runs against its thumb: one page right is ten ticks a second fewer.
      {"wheel rate", [] { return std::make_unique<WheelDialog>(1, 1, 30, false); }, IDC_WHEEL_RATE,
       [](const winui::Dialog& d) { return dynamic_cast<const WheelDialog&>(d).Rate(); }, 20},
      {"Power Command delay", [] { return std::make_unique<PowerCommandEditor>(TwoEntryMap()); }, IDC_POWER_DELAY,
       [](const winui::Dialog& d) {
         Command map = TwoEntryMap();
         dynamic_cast<const PowerCommandEditor&>(d).CommitTo(map);
         return static_cast<int>(map.powerDelay[1]);
       },
       17},
      {"Power Command duration", [] { return std::make_unique<PowerCommandEditor>(TwoEntryMap()); },
       IDC_POWER_DURATION,
       [](const winui::Dialog& d) {
         Command map = TwoEntryMap();
         dynamic_cast<const PowerCommandEditor&>(d).CommitTo(map);
         return static_cast<int>(map.powerDuration[1]);
       },
       19},
  }, [](HWND d) {
    if (GetDlgItem(d, IDC_POWER_LIST)) Pick(d, IDC_POWER_LIST, 1);  // the entry with a delay and a duration
  });
}

TEST_F(LeafDialogs, KeyPictureKeepsKeysInPictureOrderAndRefusesPastThePurposesLimit) {
  struct Case {
    int purpose;
    std::array<int32_t, 4> given;
    std::vector<int> clicks;
    std::string prompt;
    std::vector<std::string> messages;
    int selected;
    std::string result;
  } cases[] = {
      {0, {-1, -1, -1, -1}, {39, 74}, "Select up to four keys to press:", {}, 2, "39 74 -1 -1 / 0 1"},
      {0, {-1, -1, -1, -1}, {74, 39, 59, 60, 61, 60}, "Select up to four keys to press:",
       {"You may only select up to four keys."}, 3, "39 59 74 -1 / 0 1"},
      {3, {50, -1, -1, -1}, {39, 74, 39, 74}, "Select the key you want to use to pause Hxmouse at any time.",
       {"You may only select one key to be the pause key."}, 1, "74 -1 -1 -1 / 0 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.result);
    KeyCommandDialog dialog(c.purpose, c.given, 0, 1);
    std::vector<std::string> seen;
    std::vector<Script::Step> steps = {{"Key command", [&](HWND d) {
                                          EXPECT_EQ(Text(d, IDC_KEY_PROMPT), c.prompt);
                                          EXPECT_EQ(Enabled(d, IDC_KEY_METHOD), c.purpose == 0);
                                          EXPECT_EQ(Enabled(d, IDC_KEY_PULSE), c.purpose == 0);
                                          for (int key : c.clicks) Press(d, IDC_KEY_FIRST + key);
                                          // A refused key shows unselected again.
                                          int shown = 0;
                                          for (int i = 0; i < kKeyCount; ++i) shown += Checked(d, IDC_KEY_FIRST + i);
                                          EXPECT_EQ(shown, c.selected);
                                          Press(d, IDOK);
                                        }}};
    for (size_t i = 0; i < c.messages.size(); ++i) steps.push_back(Answer("Hxprofiler - Keys", seen));
    {
      Script script(std::move(steps));
      EXPECT_EQ(dialog.DoModal(), IDOK);
    }
    EXPECT_EQ(seen, c.messages);
    EXPECT_EQ(Result(dialog), c.result);
  }
}

// Every key of the picture wears the table's label, lies inside the prompt's frame and
// overlaps no other key.
TEST_F(LeafDialogs, KeyPictureHasEveryKeyLabelledInsideItsFrame) {
  KeyCommandDialog dialog(0, {-1, -1, -1, -1}, 0, 1);
  Script script({{"Key command", [](HWND d) {
                    Shot(d, "key_command");
                    RECT frame, keys[kKeyCount], overlap;
                    GetWindowRect(GetDlgItem(d, IDC_KEY_PROMPT), &frame);
                    for (int i = 0; i < kKeyCount; ++i) {
                      EXPECT_EQ(Text(d, IDC_KEY_FIRST + i), kKeyTable[i].label);
                      GetWindowRect(GetDlgItem(d, IDC_KEY_FIRST + i), &keys[i]);
                      EXPECT_TRUE(keys[i].left > frame.left && keys[i].right < frame.right && keys[i].top > frame.top &&
                                  keys[i].bottom < frame.bottom)
                          << i;
                      for (int j = 0; j < i; ++j) EXPECT_FALSE(IntersectRect(&overlap, &keys[i], &keys[j])) << i << " " << j;
                    }
                    Press(d, IDCANCEL);
                  }}});
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(LeafDialogs, PowerCommandEditorBuildsAListThroughTheRealSubDialogs) {
  PowerCommandEditor editor{Command()};
  std::vector<std::string> seen;
  Script script({
      {"Power Command editor",
       [&](HWND d) {
         Press(d, IDC_POWER_ADD);  // nothing set up yet
         Drag(d, IDC_POWER_DELAY, 20);
         Drag(d, IDC_POWER_DURATION, 30);
         Pick(d, IDC_POWER_TYPE, 0);
         EXPECT_EQ(Text(d, IDC_POWER_CURRENT), "Press the following keys: W, Left Shift");
         Press(d, IDC_POWER_ADD);
         Pick(d, IDC_POWER_TYPE, 1);
         EXPECT_EQ(Text(d, IDC_POWER_CURRENT), "Click mouse buttons: 1 (Left), 3 (Middle)");
         Press(d, IDC_POWER_ADD);
         Pick(d, IDC_POWER_TYPE, 2);
         EXPECT_FALSE(Enabled(d, IDC_POWER_DURATION) || Enabled(d, IDC_POWER_DURATION_CAPTION));
         Press(d, IDC_POWER_ADD);
         ExpectHeadRows(GetDlgItem(d, IDC_POWER_LIST), "the Power Command list");
         ExpectHeadRows(GetDlgItem(d, IDC_POWER_TYPE), "the command types");
         WriteSmallestControl(d, "the Power Command editor");
         Shot(d, "power_command_editor");
         Press(d, IDOK);
       }},
      Answer("Hxprofiler", seen),
      {"Key command",
       [](HWND k) {
         EXPECT_FALSE(Enabled(k, IDC_KEY_METHOD) || Enabled(k, IDC_KEY_RATE));
         Press(k, IDC_KEY_FIRST + 39);
         Press(k, IDC_KEY_FIRST + 74);
         Shot(k, "key_command_power");
         WriteSmallestControl(k, "the key picture");
         Press(k, IDOK);
       }},
      {"Mouse button command",
       [](HWND b) {
         Shot(b, "mouse_button_power");
         EXPECT_FALSE(Enabled(b, IDC_BUTTON_METHOD) || Enabled(b, IDC_BUTTON_PULSE) || Enabled(b, IDC_BUTTON_RATE));
         Press(b, IDC_BUTTON_LEFT);
         Press(b, IDC_BUTTON_MIDDLE);
         Press(b, IDOK);
       }},
      {"Mouse wheel command",
       [](HWND w) {
         Shot(w, "mouse_wheel_power");
         EXPECT_FALSE(Enabled(w, IDC_WHEEL_METHOD) || Checked(w, IDC_WHEEL_UP) || Checked(w, IDC_WHEEL_DOWN));
         Press(w, IDC_WHEEL_DOWN);
         Press(w, IDOK);
       }},
  });
  ASSERT_EQ(editor.DoModal(), IDOK);
  EXPECT_EQ(seen, std::vector<std::string>{
                      "Please select a command type from the drop down list and/or set a command bafore attempting to add."});
  Command map;
  editor.CommitTo(map);
  EXPECT_EQ(map.powerCount, 3);
  EXPECT_EQ(Joined(map.powerType), "0 1 2 " + Joined(std::vector<int>(47, -1)));
  EXPECT_EQ(Joined(map.powerKeys[0]), "39 74 -1 -1 ");
  EXPECT_EQ(Joined(map.powerButtons[1]), "1 0 1 0 0 0 0 0 ");
  const std::string labels[] = {"Press the following keys: W, Left Shift", "Click mouse buttons: 1 (Left), 3 (Middle)",
                                "Scroll the mouse wheel down."};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(map.powerLabels[i], labels[i]);
    EXPECT_EQ(map.powerDelay[i], 20);
    EXPECT_EQ(map.powerDuration[i], i < 2 ? 30 : 0);
    EXPECT_EQ(map.powerWheelDirection[i], i < 2 ? -1 : 1);
  }
}

}  // namespace
