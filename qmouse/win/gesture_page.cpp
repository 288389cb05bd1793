#include "qmouse/win/gesture_page.h"

#include <commctrl.h>

#include <algorithm>

#include "device/hx_mouse.h"
#include "device/trace.h"
#include "resources/qmouse/resource.h"
#include "winui/app.h"
#include "winui/head_reach.h"

namespace {

constexpr char kTraceGestureLink[] = "Creating driver object from Gesture::GestureEmitter( ).\n";

constexpr const char* kGestureNames[] = {"Move Left", "Move Right", "Move Forward", "Move Back"};
constexpr const char* kClickNames[] = {"No click",          "Left click",        "Right click",
                                       "Left double-click", "Right double-click", "Left drag-n-drop",
                                       "Rght drag-n-drop",  "Scroll"};
constexpr int kGestureCount = 4;
constexpr int kClickCount = 8;

constexpr Setting kPoints[kGestureCount] = {Setting::LeftPoint, Setting::RightPoint, Setting::ForwardPoint,
                                            Setting::BackPoint};
constexpr Setting kTypes[kGestureCount] = {Setting::LeftType, Setting::RightType, Setting::ForwardType,
                                           Setting::BackType};
constexpr Setting kCommands[kGestureCount] = {Setting::LeftCommand, Setting::RightCommand,
                                              Setting::ForwardCommand, Setting::BackCommand};

constexpr int kSliderMax = 40;
constexpr int kBarMax = 2000;

// Everything that goes grey with the check box. The two action lists follow the type as well.
constexpr int kGestureControls[] = {IDC_GESTURE_GROUP,        IDC_GESTURE_ACTION_GROUP, IDC_GESTURE_MOTION_GROUP,
                                    IDC_GESTURE_LIST,         IDC_GESTURE_CHANGE_DWELL, IDC_GESTURE_PERFORM,
                                    IDC_GESTURE_SMALL,        IDC_GESTURE_LARGE,        IDC_GESTURE_POSITION_LABEL,
                                    IDC_GESTURE_REQUIRED,     IDC_GESTURE_SLIDER,       IDC_GESTURE_POSITION};

// An old or hand-edited registry may hold values the controls cannot show: show the nearest
// choice and leave the stored value alone until the user picks another.
int32_t ShownType(int32_t type) { return type <= 0 ? 0 : 1; }
int32_t ShownCommand(int32_t command) { return std::clamp(command, 0, kClickCount - 1); }
int32_t ShownPoint(int32_t point) { return std::clamp(point, 0, kSliderMax); }

// Where the bar goes for this reading, or -1 to leave it: it only measures motion towards the
// gesture, from the integer record's rest value.
int BarPosition(int32_t gesture, const HxPosition& position) {
  const int value = gesture < 2 ? position.X : position.Z;
  const bool towardsLow = gesture == 0 || gesture == 2;
  if (towardsLow && value < kHxRestValue) return kHxRestValue - value;
  if (!towardsLow && value > kHxRestValue) return value - kHxRestValue;
  return -1;
}

void FillList(HWND list, const char* const* names, int count) {
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  for (int i = 0; i < count; ++i) {
    COMBOBOXEXITEMA item = {};
    item.mask = CBEIF_TEXT;
    item.iItem = i;
    item.pszText = const_cast<char*>(names[i]);
    SendMessageA(list, CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
}

}  // namespace

Gesture::Gesture(Settings& values) : SettingsPage(IDD_PAGE_GESTURE, values) {
  // The program's start-up registers the common classes but not the extended combo box.
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_USEREX_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
}

Gesture::~Gesture() { StopEmitter(); }

BOOL Gesture::OnInitDialog() {
  FillList(Item(IDC_GESTURE_LIST), kGestureNames, kGestureCount);
  FillList(Item(IDC_GESTURE_DWELL_LIST), kClickNames, kClickCount);
  FillList(Item(IDC_GESTURE_ACTION_LIST), kClickNames, kClickCount);
  for (int list : {IDC_GESTURE_LIST, IDC_GESTURE_DWELL_LIST, IDC_GESTURE_ACTION_LIST}) EnlargeList(list);
  winui::SetSliderRange(Item(IDC_GESTURE_SLIDER), 0, kSliderMax);
  SendDlgItemMessageA(hwnd(), IDC_GESTURE_SLIDER, TBM_SETTICFREQ, 5, 0);
  bar_ = Item(IDC_GESTURE_POSITION);
  SendMessageA(bar_.load(), PBM_SETRANGE32, 0, kBarMax);

  SendDlgItemMessageA(hwnd(), IDC_GESTURE_LIST, CB_SETCURSEL, 0, 0);
  current_ = 0;
  ShowCurrentGesture();
  CheckDlgButton(hwnd(), IDC_GESTURE_ENABLE, Values().Get(Setting::Gestures) ? BST_CHECKED : BST_UNCHECKED);
  EnableControls();
  stop_ = 1;
  if (Values().Get(Setting::Gestures)) StartEmitter();
  return TRUE;
}

// The check box and the radio group into the members.
void Gesture::ReadControls() {
  Values().Set(Setting::Gestures, IsDlgButtonChecked(hwnd(), IDC_GESTURE_ENABLE) == BST_CHECKED ? 1 : 0);
  actionChoice_ = IsDlgButtonChecked(hwnd(), IDC_GESTURE_PERFORM) == BST_CHECKED ? 1 : 0;
}

void Gesture::ShowCurrentGesture() {
  const int32_t g = current_;
  SendDlgItemMessageA(hwnd(), IDC_GESTURE_SLIDER, TBM_SETPOS, TRUE, ShownPoint(Values().Get(kPoints[g])));
  actionChoice_ = ShownType(Values().Get(kTypes[g]));
  CheckRadioButton(hwnd(), IDC_GESTURE_CHANGE_DWELL, IDC_GESTURE_PERFORM,
                   actionChoice_ ? IDC_GESTURE_PERFORM : IDC_GESTURE_CHANGE_DWELL);
  ShowCommandList();
}

// Only the list of the current type is live, and it shows the current command.
void Gesture::ShowCommandList() {
  const int live = actionChoice_ ? IDC_GESTURE_ACTION_LIST : IDC_GESTURE_DWELL_LIST;
  const int idle = actionChoice_ ? IDC_GESTURE_DWELL_LIST : IDC_GESTURE_ACTION_LIST;
  SendDlgItemMessageA(hwnd(), live, CB_SETCURSEL, ShownCommand(Values().Get(kCommands[current_])), 0);
  EnableWindow(Item(live), IsDlgButtonChecked(hwnd(), IDC_GESTURE_ENABLE) == BST_CHECKED);
  EnableWindow(Item(idle), FALSE);
}

void Gesture::EnableControls() {
  const BOOL on = IsDlgButtonChecked(hwnd(), IDC_GESTURE_ENABLE) == BST_CHECKED;
  for (int id : kGestureControls) EnableWindow(Item(id), on);
  EnableWindow(Item(actionChoice_ ? IDC_GESTURE_ACTION_LIST : IDC_GESTURE_DWELL_LIST), on);
  EnableWindow(Item(actionChoice_ ? IDC_GESTURE_DWELL_LIST : IDC_GESTURE_ACTION_LIST), FALSE);
}

void Gesture::OnPageCommand(int id, int code) {
  switch (id) {
    case IDC_GESTURE_LIST:
      if (code == CBN_SELCHANGE) OnGestureChosen();
      return;
    case IDC_GESTURE_CHANGE_DWELL:
    case IDC_GESTURE_PERFORM:
      if (code == BN_CLICKED) OnTypeClicked();
      return;
    case IDC_GESTURE_DWELL_LIST:
    case IDC_GESTURE_ACTION_LIST:
      if (code == CBN_SELCHANGE) OnCommandChosen(id);
      return;
    case IDC_GESTURE_ENABLE:
      if (code == BN_CLICKED) OnEnableClicked();
      return;
  }
}

// Lights Apply although no value changes.
void Gesture::OnGestureChosen() {
  ReadControls();
  const LRESULT chosen = SendDlgItemMessageA(hwnd(), IDC_GESTURE_LIST, CB_GETCURSEL, 0, 0);
  if (chosen >= 0 && chosen < kGestureCount) current_ = static_cast<int32_t>(chosen);
  ShowCurrentGesture();
  SetModified(true);
}

void Gesture::OnTypeClicked() {
  ReadControls();
  const Setting type = kTypes[current_];
  if (ShownType(Values().Get(type)) == actionChoice_) return;
  Values().Set(type, actionChoice_);
  ShowCommandList();
  SetModified(true);
}

void Gesture::OnCommandChosen(int listId) {
  ReadControls();
  const LRESULT chosen = SendDlgItemMessageA(hwnd(), listId, CB_GETCURSEL, 0, 0);
  const Setting command = kCommands[current_];
  if (chosen < 0 || chosen >= kClickCount || chosen == ShownCommand(Values().Get(command))) return;
  Values().Set(command, static_cast<int32_t>(chosen));
  SetModified(true);
}

void Gesture::OnEnableClicked() {
  ReadControls();
  EnableControls();
  SetModified(true);
  if (Values().Get(Setting::Gestures))
    StartEmitter();
  else
    stop_ = 1;  // the thread ends at its next reading; the next start or the window's end waits for it
}

void Gesture::OnSliderReleased(int id, int position) {
  if (id != IDC_GESTURE_SLIDER) return;
  const LRESULT chosen = SendDlgItemMessageA(hwnd(), IDC_GESTURE_LIST, CB_GETCURSEL, 0, 0);
  if (chosen < 0 || chosen >= kGestureCount) return;
  Values().Set(kPoints[chosen], position);
  SetModified(true);
}

void Gesture::OnDestroy() { StopEmitter(); }

// One thread per page: a quick untick and tick must not leave an old reader beside the new.
void Gesture::StartEmitter() {
  StopEmitter();
  cancel_.Rearm();
  stop_ = 0;
  emitter_ = winui::StartThread(GestureEmitter, this, THREAD_PRIORITY_NORMAL);
  if (!emitter_) stop_ = 1;
}

// The thread updates the bar with a sent message; JoinThread keeps answering those.
void Gesture::StopEmitter() {
  stop_ = 1;
  winui::JoinThread(emitter_, [this] { cancel_.Cancel(); });
}

DWORD WINAPI Gesture::GestureEmitter(void* param) {
  Gesture& page = *static_cast<Gesture*>(param);
  Trace(kTraceGestureLink);
  CHxMouse link(&page.cancel_);
  HxPosition position = {kHxRestValue, kHxRestValue, kHxRestValue, kHxRestValue, kHxRestValue};
  int shown = -1;
  while (page.stop_ != 1) {
    // A failed read leaves the last record in place; without a tracker nothing paces us, so
    // rest a little rather than spin.
    if (!link.GetPosition(position)) Sleep(16);
    const int bar = BarPosition(page.current_, position);
    if (page.stop_ == 1) break;
    if (bar >= 0 && bar != shown) {
      SendMessageA(page.bar_.load(), PBM_SETPOS, static_cast<WPARAM>(bar), 0);
      shown = bar;
    }
  }
  return 0;
}
