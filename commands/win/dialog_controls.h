#pragma once
// Control helpers the key command, mouse button, wheel and Power Command dialogs share.
#include <windows.h>
#include <commctrl.h>

#include <initializer_list>

#include "winui/head_reach.h"

namespace dialog_controls {

inline void SetUpSlider(HWND slider, int low, int high, int position) {
  winui::SetSliderRange(slider, low, high);
  SendMessageA(slider, TBM_SETTICFREQ, 10, 0);
  SendMessageA(slider, TBM_SETPOS, TRUE, position);
}

inline void Enable(HWND dialog, std::initializer_list<int> ids, bool on) {
  for (int id : ids) EnableWindow(GetDlgItem(dialog, id), on);
}

// Checks radio `ids[checked]` and clears the others; -1 leaves all clear, as for a stored value
// that no radio stands for.
template <size_t N>
void CheckRadio(HWND dialog, const int (&ids)[N], int checked) {
  for (size_t i = 0; i < N; ++i)
    CheckDlgButton(dialog, ids[i], static_cast<int>(i) == checked ? BST_CHECKED : BST_UNCHECKED);
}

// The index of `id` among `ids`, or -1.
template <size_t N>
int IndexOf(const int (&ids)[N], int id) {
  for (size_t i = 0; i < N; ++i)
    if (ids[i] == id) return static_cast<int>(i);
  return -1;
}

}  // namespace dialog_controls
