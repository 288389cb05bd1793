#pragma once
// The benchmarks' way into engaged output: Engage needs a chosen profile, so the profile is
// chosen first with a click on its row, as a user would.
#include <windows.h>

#include <string>

#include "resources/profiles/manager_dialog_ids.h"
#include "tests/e2e/program.h"

inline std::string WindowText(HWND w) {
  char text[128] = {};
  GetWindowTextA(w, text, sizeof text);
  return text;
}

// Chooses `profile`, the only one listed, then engages; whether the manager now offers Disengage.
inline bool SelectAndEngage(HWND manager, const std::string& profile) {
  HWND list = GetDlgItem(manager, IDC_MANAGER_LIST);
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 8));
  PostMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(40, 8));
  if (!WaitFor([&] { return WindowText(GetDlgItem(manager, IDC_MANAGER_ACTIVE)) == profile; }, 5000)) return false;
  return Program::Click(manager, IDC_MANAGER_ENGAGE) &&
         WindowText(GetDlgItem(manager, IDC_MANAGER_ENGAGE)) == "Disengage";
}
