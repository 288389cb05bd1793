#include "profiles/win/mapper.h"

#include <commctrl.h>

#include <algorithm>

#include "commands/key_selection.h"
#include "commands/win/key_command_dialog.h"
#include "device/hx_mouse.h"
#include "device/trace.h"
#include "profiles/win/button_dialog.h"
#include "profiles/win/power_command_editor.h"
#include "profiles/win/shell_link.h"
#include "profiles/win/wheel_dialog.h"
#include "resources/profiles/resource.h"
#include "winui/app.h"
#include "winui/head_reach.h"

namespace {

constexpr char kTraceLink[] = "Creating driver object from Mapper::MapperEmitter( ).\n";
constexpr char kTraceUpdating[] = "Updating...\n";
constexpr char kTraceNoDialog[] = "pMap went NULL!";
constexpr char kTraceOut[] = "Thread is out of while( ) loop lock and is ready to return.\n";
constexpr char kTraceStopOk[] = "Stopping thread from OnOK( )...\n";
constexpr char kTraceStopCancel[] = "Stopping thread from OnCancel( )...\n";

constexpr int kDeadZoneMax = 2000;

struct OptionControls {
  int check, change, text;
};
constexpr OptionControls kOptions[] = {
    {IDC_MAPPER_KEYS, IDC_MAPPER_KEYS_CHANGE, IDC_MAPPER_KEYS_TEXT},           // kOptionKeys
    {IDC_MAPPER_BUTTONS, IDC_MAPPER_BUTTONS_CHANGE, IDC_MAPPER_BUTTONS_TEXT},  // kOptionButtons
    {IDC_MAPPER_WHEEL, IDC_MAPPER_WHEEL_CHANGE, IDC_MAPPER_WHEEL_TEXT},        // kOptionWheel
};

// Which word of the record each motion moves, and which side of the rest value is its own.
struct MotionWord {
  uint16_t HxPosition::*word;
  bool above;
};
constexpr MotionWord kMotionWords[10] = {
    {&HxPosition::X, false}, {&HxPosition::X, true},  {&HxPosition::Y, true},   {&HxPosition::Y, false},
    {&HxPosition::Z, false}, {&HxPosition::Z, true},  {&HxPosition::RX, false}, {&HxPosition::RX, true},
    {&HxPosition::RY, true}, {&HxPosition::RY, false},
};

// Where the bar goes for this reading, or -1 to leave it: it only measures motion in the
// motion's own direction. Mixed mode's maps 10-15 are the moves of maps 0-5.
int BarPosition(int map, const HxPosition& position) {
  if (map >= 10) map -= 10;
  if (map < 0 || map >= 10) return -1;
  const int value = position.*kMotionWords[map].word;
  if (kMotionWords[map].above ? value > kHxRestValue : value < kHxRestValue) return std::abs(kHxRestValue - value);
  return -1;
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

}  // namespace

Mapper::Mapper(Command& map, int mapIndex, int itemIndex, const MapperChecks& checks, int32_t deadZone)
    : winui::Dialog(IDD_MAPPER), map_(map), mapIndex_(mapIndex), itemIndex_(itemIndex), checks_(checks),
      deadZone_(deadZone) {
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
}

Mapper::~Mapper() { StopEmitter(); }

MapperChecks Mapper::Checks() const { return checks_; }
int32_t Mapper::DeadZone() const { return deadZone_; }

BOOL Mapper::OnInitDialog() {
  SetWindowTextA(hwnd(), MapperTitle(mapIndex_));
  ShowChecks(checks_);
  const bool used[] = {checks_.keys, checks_.buttons, checks_.wheel};
  for (int option = kOptionKeys; option <= kOptionWheel; ++option)
    if (used[option]) ShowText(static_cast<MapperOption>(option));
  Enable();
  winui::SetSliderRange(Item(IDC_MAPPER_DEADZONE), 0, kDeadZoneMax);
  SendDlgItemMessageA(hwnd(), IDC_MAPPER_DEADZONE, TBM_SETTICFREQ, 200, 0);
  bar_ = Item(IDC_MAPPER_POSITION);
  SendMessageA(bar_.load(), PBM_SETRANGE32, 0, kDeadZoneMax);
  PlaceIndicator();  // leaves the thumb at the dead zone

  stop_ = 0;
  emitter_ = winui::StartThread(MapperEmitter, this, THREAD_PRIORITY_NORMAL);
  if (!emitter_) stop_ = 1;
  return TRUE;
}

// The bar's scale is the slider's: the thumb's travel in pixels, wherever the slider's own
// margins put it at this DPI.
void Mapper::PlaceIndicator() {
  HWND slider = Item(IDC_MAPPER_DEADZONE);
  const auto thumbCentre = [&](int position) {
    SendMessageA(slider, TBM_SETPOS, TRUE, position);
    RECT thumb = {};
    SendMessageA(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    POINT centre = {(thumb.left + thumb.right) / 2, 0};
    MapWindowPoints(slider, hwnd(), &centre, 1);
    return static_cast<int>(centre.x);
  };
  const int lowest = thumbCentre(0), highest = thumbCentre(kDeadZoneMax);
  // The thumb shows a stored dead zone as far as the range allows; the value stays until moved.
  SendMessageA(slider, TBM_SETPOS, TRUE, std::clamp(deadZone_, 0, kDeadZoneMax));
  HWND bar = Item(IDC_MAPPER_POSITION);
  RECT outer = {}, inner = {};
  GetWindowRect(bar, &outer);
  GetClientRect(bar, &inner);
  const int inset = (outer.right - outer.left - inner.right) / 2;
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&outer), 2);
  const IndicatorSpan span = IndicatorAlongSlider(lowest, highest, inset);
  MoveWindow(bar, span.left, outer.top, span.width, outer.bottom - outer.top, TRUE);
}

MapperChecks Mapper::ReadChecks() const {
  MapperChecks c;
  c.keys = Checked(hwnd(), IDC_MAPPER_KEYS);
  c.buttons = Checked(hwnd(), IDC_MAPPER_BUTTONS);
  c.wheel = Checked(hwnd(), IDC_MAPPER_WHEEL);
  c.power = Checked(hwnd(), IDC_MAPPER_POWER);
  return c;
}

void Mapper::ShowChecks(const MapperChecks& c) {
  CheckDlgButton(hwnd(), IDC_MAPPER_KEYS, c.keys ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(hwnd(), IDC_MAPPER_BUTTONS, c.buttons ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(hwnd(), IDC_MAPPER_WHEEL, c.wheel ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(hwnd(), IDC_MAPPER_POWER, c.power ? BST_CHECKED : BST_UNCHECKED);
}

void Mapper::Enable() {
  checks_ = ReadChecks();
  const MapperEnabling e = MapperEnablingFor(checks_);
  const bool option[] = {e.keysOption, e.buttonsOption, e.wheelOption};
  const bool details[] = {e.keysDetails, e.buttonsDetails, e.wheelDetails};
  for (int i = 0; i < 3; ++i) {
    EnableWindow(Item(kOptions[i].check), option[i]);
    EnableWindow(Item(kOptions[i].change), details[i]);
    EnableWindow(Item(kOptions[i].text), details[i]);
  }
  EnableWindow(Item(IDC_MAPPER_POWER_CHANGE), e.powerChange);
}

void Mapper::ShowText(MapperOption option) {
  SetDlgItemTextA(hwnd(), kOptions[option].text, MapperOptionText(option, map_).c_str());
}

void Mapper::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDC_MAPPER_KEYS: return OnOptionClicked(kOptionKeys);
    case IDC_MAPPER_BUTTONS: return OnOptionClicked(kOptionButtons);
    case IDC_MAPPER_WHEEL: return OnOptionClicked(kOptionWheel);
    case IDC_MAPPER_POWER: return Enable();
    case IDC_MAPPER_KEYS_CHANGE: return ChangeKeys();
    case IDC_MAPPER_BUTTONS_CHANGE: return ChangeButtons();
    case IDC_MAPPER_WHEEL_CHANGE: return ChangeWheel();
    case IDC_MAPPER_POWER_CHANGE: return ChangePowerCommand();
    case IDOK: return Close(IDOK, kTraceStopOk);
    case IDCANCEL: return Close(IDCANCEL, kTraceStopCancel);
  }
}

void Mapper::OnOptionClicked(MapperOption option) {
  Enable();
  if (Checked(hwnd(), kOptions[option].check) && MapperRewritesOnCheck(option, map_)) ShowText(option);
}

// Each sub-dialog's OK lands in the map at once, even if this dialog is cancelled later.
void Mapper::ChangeKeys() {
  KeyCommandDialog keys(kPurposeMotionKeys, map_.keys, map_.keyAction, map_.keyPulseRate);
  if (keys.DoModal(hwnd()) != IDOK) return;
  if (!ApplyKeyResult(map_, keys.Keys(), keys.Action(), keys.PulseRate())) {
    CheckDlgButton(hwnd(), IDC_MAPPER_KEYS, BST_UNCHECKED);
    Enable();
  }
  ShowText(kOptionKeys);
}

void Mapper::ChangeButtons() {
  std::array<int32_t, kCommandButtons> offered = {};
  std::copy_n(map_.buttons.begin(), 5, offered.begin());
  MouseButtonDialog buttons(offered, map_.buttonAction, map_.buttonPulseRate, false);
  if (buttons.DoModal(hwnd()) != IDOK) return;
  std::array<int32_t, 5> chosen;
  std::copy_n(buttons.Buttons().begin(), 5, chosen.begin());
  const bool any = ApplyButtonResult(map_, chosen, buttons.Action(), buttons.PulseRate());
  CheckDlgButton(hwnd(), IDC_MAPPER_BUTTONS, any ? BST_CHECKED : BST_UNCHECKED);
  if (any) ShowText(kOptionButtons);
  Enable();
}

void Mapper::ChangeWheel() {
  WheelDialog wheel(map_.wheelDirection, map_.wheelMethod, map_.wheelRate, false);
  if (wheel.DoModal(hwnd()) != IDOK) return;
  if (ApplyWheelResult(map_, wheel.Direction(), wheel.Method(), wheel.Rate())) {
    ShowText(kOptionWheel);
  } else {
    CheckDlgButton(hwnd(), IDC_MAPPER_WHEEL, BST_UNCHECKED);
    Enable();
  }
}

void Mapper::ChangePowerCommand() {
  PowerCommandEditor editor(map_);
  editor.SetProgramTitle(ProgramTitle().c_str());  // its list check is captioned with it
  if (editor.DoModal(hwnd()) == IDOK) editor.CommitTo(map_);
}

bool Mapper::OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT&) {
  int position = 0;
  if (winui::ReleasedSlider(msg, lp, &position) != IDC_MAPPER_DEADZONE) return false;
  deadZone_ = position;
  return true;
}

void Mapper::OnClose() { Close(IDCANCEL, kTraceStopCancel); }

// The reader must be gone before the dialog and the map it reads are.
void Mapper::Close(int code, const char* trace) {
  Trace(trace);
  checks_ = ReadChecks();
  StopEmitter();
  End(code);
}

void Mapper::OnDestroy() { StopEmitter(); }

// The thread updates the bar with a sent message; JoinThread keeps answering those.
void Mapper::StopEmitter() {
  stop_ = 1;
  winui::JoinThread(emitter_, [this] { cancel_.Cancel(); });
}

DWORD WINAPI Mapper::MapperEmitter(void* param) {
  Trace(kTraceLink);
  auto* dialog = static_cast<Mapper*>(param);
  CHxMouse link(dialog ? &dialog->cancel_ : nullptr);
  HxPosition position = {kHxRestValue, kHxRestValue, kHxRestValue, kHxRestValue, kHxRestValue};
  int shown = -1;
  while (dialog && dialog->stop_ != 1) {
    // A failed read leaves the last record in place; without a tracker nothing paces us, so
    // rest a little rather than spin.
    if (!link.GetPosition(position)) Sleep(16);
    if (dialog->stop_ == 1) break;
    const int bar = BarPosition(dialog->mapIndex_, position);
    if (bar >= 0 && bar != shown) {
      SendMessageA(dialog->bar_.load(), PBM_SETPOS, static_cast<WPARAM>(bar), 0);
      shown = bar;
    }
    Trace(kTraceUpdating);
  }
  if (!dialog) Trace(kTraceNoDialog);
  Trace(kTraceOut);
  return 0;
}
