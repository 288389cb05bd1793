#include "profiles/win/name_dialog.h"

#include <shellapi.h>

#include <algorithm>
#include <iterator>
#include <utility>

#include "profiles/dialog_texts.h"
#include "profiles/editor_rules.h"
#include "profiles/win/shell_link.h"
#include "resources/profiles/resource.h"
#include "winui/handles.h"

namespace {

// The started keyboard's window is looked for now and then, for a while, never waited for.
constexpr UINT_PTR kKeyboardTimer = 1;
constexpr UINT kKeyboardPollMs = 100;
constexpr DWORD kKeyboardWaitMs = 5000;      // for the keyboard's window to show
constexpr DWORD kKeyboardMoveWaitMs = 1000;  // for it to go where it was asked

struct ProcessWindow {
  DWORD process;
  HWND found;
};
BOOL CALLBACK MatchProcessWindow(HWND w, LPARAM param) {
  auto& search = *reinterpret_cast<ProcessWindow*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(w, &process);
  if (process != search.process || !IsWindowVisible(w) || GetWindow(w, GW_OWNER)) return TRUE;
  search.found = w;
  return FALSE;
}

RECT WorkAreaOf(HWND w) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(w, MONITOR_DEFAULTTONEAREST), &monitor);
  return monitor.rcWork;
}

// Where a window `width` x `height` goes beside `anchor` without covering it: on the side of
// the anchor with the most room to spare on `work`, level with the anchor, kept on `work`.
RECT Beside(const RECT& anchor, LONG width, LONG height, const RECT& work) {
  const LONG room[] = {anchor.left - work.left - width, work.right - anchor.right - width,
                       anchor.top - work.top - height, work.bottom - anchor.bottom - height};
  const auto side = std::max_element(std::begin(room), std::end(room)) - std::begin(room);
  LONG x = side == 0 ? anchor.left - width : side == 1 ? anchor.right : (anchor.left + anchor.right - width) / 2;
  LONG y = side == 2 ? anchor.top - height : side == 3 ? anchor.bottom : anchor.top;
  x = std::max(work.left, std::min(x, work.right - width));
  y = std::max(work.top, std::min(y, work.bottom - height));
  return {x, y, x + width, y + height};
}

}  // namespace

NameDialog::NameDialog(std::string name, std::string keyboard)
    : winui::Dialog(IDD_PROFILE_NAME), name_(std::move(name)), keyboard_(std::move(keyboard)) {}

BOOL NameDialog::OnInitDialog() {
  HWND edit = Item(IDC_PROFILE_NAME);
  SendMessageA(edit, EM_LIMITTEXT, dialog_texts::kNameMaxLength, 0);
  SetWindowTextA(edit, name_.c_str());
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  return FALSE;  // the focus is set
}

std::string NameDialog::Text() const {
  HWND edit = Item(IDC_PROFILE_NAME);
  std::string text(static_cast<size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(edit, text.data(), static_cast<int>(text.size()))));
  return text;
}

void NameDialog::OnCommand(int id, int code) {
  if (id == IDC_PROFILE_NAME && code == EN_CHANGE) FilterAsTyped();
  else if (id == IDOK) OnOk();
  else if (id == IDC_PROFILE_NAME_KEYBOARD && code == BN_CLICKED) OpenKeyboard();
  else winui::Dialog::OnCommand(id, code);
}

// The write-back puts the caret at the start; an End key puts it back where the user types.
void NameDialog::FilterAsTyped() {
  std::string text = Text();
  if (!FilterProfileName(text)) return;
  HWND edit = Item(IDC_PROFILE_NAME);
  SetWindowTextA(edit, text.c_str());
  SendMessageA(edit, WM_KEYDOWN, VK_END, 0);
  SendMessageA(edit, WM_KEYUP, VK_END, 0xC0000001);
}

// The box refuses typing past the limit, but a pasted or set text can still be longer.
void NameDialog::OnOk() {
  std::string text = Text();
  if (text.size() > static_cast<size_t>(dialog_texts::kNameMaxLength)) {
    MessageBoxA(hwnd(), dialog_texts::kNameTooLong, ProgramTitle().c_str(), MB_OK | MB_ICONEXCLAMATION);
    SetFocus(Item(IDC_PROFILE_NAME));
    return;
  }
  // Refused here, before anything opens, so that no editing is lost to a name no file can have.
  const std::string refusal = NameRefusal(text);
  if (!refusal.empty()) {
    MessageBoxA(hwnd(), refusal.c_str(), ProgramTitle().c_str(), MB_OK | MB_ICONEXCLAMATION);
    SetFocus(Item(IDC_PROFILE_NAME));
    return;
  }
  name_ = std::move(text);
  End(IDOK);
}

// The typing goes to the name: the focus goes back to it once the keyboard is asked for.
void NameDialog::OpenKeyboard() {
  SHELLEXECUTEINFOA run = {};
  run.cbSize = sizeof run;
  run.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOCLOSEPROCESS;
  run.hwnd = hwnd();
  run.lpFile = keyboard_.c_str();
  run.nShow = SW_SHOWNOACTIVATE;
  if (!ShellExecuteExA(&run)) {
    MessageBoxA(hwnd(), dialog_texts::kKeyboardFailed, ProgramTitle().c_str(), MB_OK | MB_ICONEXCLAMATION);
  } else if (run.hProcess) {
    const KernelHandle process(run.hProcess);
    keyboardProcess_ = GetProcessId(process.Get());
    keyboardSince_ = GetTickCount();
    SetTimer(hwnd(), kKeyboardTimer, kKeyboardPollMs, nullptr);
  }
  SetFocus(Item(IDC_PROFILE_NAME));
}

// First the keyboard's window is looked for; once found it is asked to move, and the ticks that
// follow see whether it went.
void NameDialog::OnTimer(UINT_PTR id) {
  if (id != kKeyboardTimer) return;
  if (keyboardWindow_) return CheckKeyboardMoved();
  ProcessWindow search = {keyboardProcess_, nullptr};
  EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
  if (search.found) {
    MoveKeyboard(search.found);
  } else if (GetTickCount() - keyboardSince_ >= kKeyboardWaitMs) {
    KillTimer(hwnd(), kKeyboardTimer);
  }
}

// Asked, not told: a move of another program's window waits on that program, and a keyboard
// that hangs must not hang the dialog with it.
void NameDialog::MoveKeyboard(HWND keyboard) {
  RECT dialog = {}, board = {};
  GetWindowRect(hwnd(), &dialog);
  GetWindowRect(keyboard, &board);
  keyboardWanted_ = Beside(dialog, board.right - board.left, board.bottom - board.top, WorkAreaOf(hwnd()));
  keyboardWindow_ = keyboard;
  keyboardSince_ = GetTickCount();
  SetWindowPos(keyboard, nullptr, keyboardWanted_.left, keyboardWanted_.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
}

// The system's keyboard may run with rights that refuse our move, or not answer; then the
// dialog goes beside the keyboard instead, so that neither covers the other.
void NameDialog::CheckKeyboardMoved() {
  const HWND keyboard = keyboardWindow_;
  RECT board = {};
  const bool there = GetWindowRect(keyboard, &board) != FALSE;
  if (there && !EqualRect(&board, &keyboardWanted_) && GetTickCount() - keyboardSince_ < kKeyboardMoveWaitMs) return;
  KillTimer(hwnd(), kKeyboardTimer);
  keyboardWindow_ = nullptr;
  if (!there || EqualRect(&board, &keyboardWanted_)) return;
  RECT dialog = {};
  GetWindowRect(hwnd(), &dialog);
  const RECT place = Beside(board, dialog.right - dialog.left, dialog.bottom - dialog.top, WorkAreaOf(keyboard));
  SetWindowPos(hwnd(), nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
