#include "tests/e2e/program.h"

#include <cstdio>
#include <vector>

namespace {

struct Search {
  DWORD process;
  std::string text;
  HWND found = nullptr;
};

bool TextContains(HWND w, const std::string& text) {
  char buffer[1024] = {};
  GetWindowTextA(w, buffer, sizeof buffer);
  return std::string(buffer).find(text) != std::string::npos;
}

BOOL CALLBACK ChildHasText(HWND child, LPARAM lp) {
  Search& s = *reinterpret_cast<Search*>(lp);
  if (TextContains(child, s.text)) {
    s.found = child;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK TopLevel(HWND w, LPARAM lp) {
  Search& s = *reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  // A dialog exists, caption and all, before its controls and its WM_INITDIALOG; it is shown
  // only once that has run. Until then a test's clicks and texts would go nowhere or be
  // overwritten, and a user could not see it anyway.
  if (pid != s.process || std::string(cls) != "#32770" || !IsWindowVisible(w)) return TRUE;
  if (s.text.empty() || TextContains(w, s.text)) {
    s.found = w;
    return FALSE;
  }
  Search inner = {s.process, s.text};
  EnumChildWindows(w, ChildHasText, reinterpret_cast<LPARAM>(&inner));
  if (inner.found) {
    s.found = w;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

Program::~Program() {
  if (Running()) Kill();
}

bool Program::Start(const std::string& exe, DWORD waitForWindowMs) {
  std::string cmd = "\"" + exe + "\"";
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  CloseHandle(pi.hThread);
  process_.Reset(pi.hProcess);
  id_ = pi.dwProcessId;
  return FindDialog("", waitForWindowMs) != nullptr;
}

HWND Program::FindDialog(const std::string& text, DWORD timeoutMs) const {
  Search s = {id_, text};
  WaitFor([&] {
    EnumWindows(TopLevel, reinterpret_cast<LPARAM>(&s));
    return s.found != nullptr;
  }, timeoutMs);
  return s.found;
}

void Program::Press(HWND dialog, int buttonId) {
  HWND button = GetDlgItem(dialog, buttonId);
  if (!button || IsWindowEnabled(button))
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

bool Program::Click(HWND dialog, int buttonId) {
  HWND button = GetDlgItem(dialog, buttonId);
  if (button && !IsWindowEnabled(button)) return true;
  // A button that opens a box of its own returns only when the box is answered: bounded, so a
  // box nobody expected fails the test instead of hanging it.
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button),
                           SMTO_NORMAL, 30000, &result)) {
    std::fprintf(stderr, "button %d was not handled within 30 s (a box waiting for an answer?)\n", buttonId);
    return false;
  }
  return true;
}

long Program::WaitExit(DWORD timeoutMs) {
  if (!process_ || WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_.Get(), &code);
  return static_cast<long>(code);
}

bool Program::Running() const { return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }

void Program::Kill() {
  if (!process_) return;
  TerminateProcess(process_.Get(), 9);
  WaitForSingleObject(process_.Get(), 5000);
}
