#pragma once
// The profile windows' lists: white text on black, whole rows selected, one column as wide
// as the list, and small pictures from the resources.
#include <windows.h>
#include <commctrl.h>

#include <cstddef>

#include "winui/handles.h"

constexpr COLORREF kListBack = RGB(0, 0, 0), kListText = RGB(255, 255, 255);

void SetUpBlackList(HWND list, HIMAGELIST images);
// 16 x 16 icons from the resources in order, then the bitmap strip `strip` masked on black.
ImageList LoadListPictures(const int* icons, size_t count, int strip);
