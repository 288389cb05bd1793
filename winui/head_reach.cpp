#include "winui/head_reach.h"

#include <commctrl.h>

#include <map>

#include "winui/dpi.h"

namespace winui {

namespace {

void EnlargeListBoxRows(HWND list, int height) {
  if (SendMessageA(list, LB_GETITEMHEIGHT, 0, 0) < height) SendMessageA(list, LB_SETITEMHEIGHT, 0, height);
}

void EnlargeComboRows(HWND combo, int height) {
  for (WPARAM part : {static_cast<WPARAM>(-1), static_cast<WPARAM>(0)}) {
    const LRESULT now = SendMessageA(combo, CB_GETITEMHEIGHT, part, 0);
    if (now == CB_ERR || now < height) SendMessageA(combo, CB_SETITEMHEIGHT, part, height);
  }
  // Some systems pass the rows' height on to the drop-down list only for lists the program
  // draws itself: the list is then told directly.
  COMBOBOXINFO info = {};
  info.cbSize = sizeof info;
  if (GetComboBoxInfo(combo, &info) && info.hwndList) EnlargeListBoxRows(info.hwndList, height);
}

// A list view's row is as tall as its tallest picture: a state picture list one pixel wide
// and `height` high sets the height without changing what the rows show. The lists share
// their picture lists, so these are kept, one per height, for the life of the program.
HIMAGELIST RowSpacer(int height) {
  static std::map<int, HIMAGELIST> spacers;
  HIMAGELIST& spacer = spacers[height];
  if (!spacer) spacer = ImageList_Create(1, height, ILC_COLOR, 1, 0);
  return spacer;
}

}  // namespace

int HeadRowHeight(HWND window) {
  return MulDiv(kHeadRowPixels, MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)), 96);
}

void EnlargeRows(HWND list) {
  char cls[32] = {};
  GetClassNameA(list, cls, sizeof cls);
  const int height = HeadRowHeight(list);
  if (lstrcmpiA(cls, WC_COMBOBOXEXA) == 0) {
    EnlargeComboRows(reinterpret_cast<HWND>(SendMessageA(list, CBEM_GETCOMBOCONTROL, 0, 0)), height);
  } else if (lstrcmpiA(cls, "ComboBox") == 0) {
    EnlargeComboRows(list, height);
  } else if (lstrcmpiA(cls, "ListBox") == 0) {
    EnlargeListBoxRows(list, height);
  } else if (lstrcmpiA(cls, WC_LISTVIEWA) == 0) {
    if (HIMAGELIST spacer = RowSpacer(height)) ListView_SetImageList(list, spacer, LVSIL_STATE);
  }
}

void SetSliderRange(HWND slider, int low, int high) {
  SendMessageA(slider, TBM_SETRANGE, FALSE, MAKELPARAM(low, high));
  const int span = high > low ? high - low : 1;
  SendMessageA(slider, TBM_SETPAGESIZE, 0, (span + kHeadPagesPerSlider - 1) / kHeadPagesPerSlider);
}

int ReleasedSlider(UINT msg, LPARAM lp, int* position) {
  if (msg != WM_NOTIFY) return 0;
  const auto* header = reinterpret_cast<const NMHDR*>(lp);
  if (header->code != static_cast<UINT>(NM_RELEASEDCAPTURE)) return 0;
  char cls[32] = {};
  GetClassNameA(header->hwndFrom, cls, sizeof cls);
  if (lstrcmpiA(cls, TRACKBAR_CLASSA) != 0) return 0;
  *position = static_cast<int>(SendMessageA(header->hwndFrom, TBM_GETPOS, 0, 0));
  return static_cast<int>(header->idFrom);
}

}  // namespace winui
