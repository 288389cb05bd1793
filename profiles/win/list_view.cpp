#include "profiles/win/list_view.h"

#include "winui/dialog.h"
#include "winui/head_reach.h"

void SetUpBlackList(HWND list, HIMAGELIST images) {
  if (images) ListView_SetImageList(list, images, LVSIL_SMALL);
  ListView_SetBkColor(list, kListBack);
  ListView_SetTextBkColor(list, kListBack);
  ListView_SetTextColor(list, kListText);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
  winui::EnlargeRows(list);
  RECT area;
  GetClientRect(list, &area);
  LVCOLUMNA column = {};
  column.mask = LVCF_WIDTH;
  column.cx = area.right - area.left - GetSystemMetrics(SM_CXVSCROLL);
  ListView_InsertColumn(list, 0, &column);
}

ImageList LoadListPictures(const int* icons, size_t count, int strip) {
  ImageList images(ImageList_Create(16, 16, ILC_COLORDDB | ILC_MASK, static_cast<int>(count) + 2, 4));
  if (!images) return images;
  for (size_t i = 0; i < count; ++i) {
    const int id = icons[i];
    HICON icon = static_cast<HICON>(
        LoadImageA(winui::ResourceModule(), MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    ImageList_AddIcon(images.Get(), icon);
    if (icon) DestroyIcon(icon);
  }
  HBITMAP bitmap = LoadBitmapA(winui::ResourceModule(), MAKEINTRESOURCEA(strip));
  ImageList_AddMasked(images.Get(), bitmap, kListBack);
  if (bitmap) DeleteObject(bitmap);
  return images;
}
