#pragma once
// Control helpers the key command, mouse button, wheel and Power Command dialogs share.
#include <windows.h>
#include <commctrl.h>

#include <initializer_list>

#include "winui/head_reach.h"

namespace dialog_controls {

// The slider let go after a drag, or 0 for any other message: only a release stores a value,
// as on the settings pages, so a thumb moved by the program or a stray key press changes nothing.
inline int ReleasedSlider(UINT msg, LPARAM lp, int* position) {
  if (msg != WM_NOTIFY) return 0;
  const auto* header = reinterpret_cast<const NMHDR*>(lp);
  if (header->code != static_cast<UINT>(NM_RELEASEDCAPTURE)) return 0;
  char cls[32] = {};
  GetClassNameA(header->hwndFrom, cls, sizeof cls);
  if (lstrcmpiA(cls, TRACKBAR_CLASSA) != 0) return 0;
  *position = static_cast<int>(SendMessageA(header->hwndFrom, TBM_GETPOS, 0, 0));
  return static_cast<int>(header->idFrom);
}

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
