// qmouse's resources as the program will load them: the tray menu, the strings, the
// dialogs created for real, the icon, the splash and the manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <string>
#include <type_traits>

#include "hx_version.h"
#include "resources/qmouse/resource.h"

namespace {

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

INT_PTR CALLBACK PlainProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

struct WindowCloser {
  void operator()(HWND w) const { DestroyWindow(w); }
};
using Window = std::unique_ptr<std::remove_pointer_t<HWND>, WindowCloser>;

Window Create(int id) {
  return Window(CreateDialogParamA(Module(), MAKEINTRESOURCEA(id), nullptr, PlainProc, 0));
}

std::string Text(HWND w) {
  char buf[256] = {};
  GetWindowTextA(w, buf, sizeof buf);
  return buf;
}

LONG Style(HWND w) { return GetWindowLongA(w, GWL_STYLE); }
LONG ExStyle(HWND w) { return GetWindowLongA(w, GWL_EXSTYLE); }

// A rectangle in dialog units converted to the dialog's pixels.
RECT Dlu(HWND dialog, int width, int height) {
  RECT r = {0, 0, width, height};
  MapDialogRect(dialog, &r);
  return r;
}

// The control's size and position in the dialog's client coordinates.
RECT ClientRectOf(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool HasAll(LONG value, LONG bits) { return (value & bits) == bits; }

TEST(QmouseResources, TrayMenuHasEveryItemInOrder) {
  struct Item {
    UINT id;
    const char* text;  // null: a separator
  };
  const Item expected[] = {
      {32784, "No Click"},
      {32785, "Left Click"},
      {32786, "Right Click"},
      {32787, "Double Left Click"},
      {32788, "Double Right Click"},
      {32789, "Drag-n-drop w/Left Button"},
      {32790, "Drag-n-drop w/Right Button"},
      {32791, "Scroll"},
      {0, nullptr},
      {32796, "Pause Quellan Mouse"},
      {0, nullptr},
      {32792, "Quellan Mouse options"},
      {32827, "Bring floating panel to top"},
      {0, nullptr},
      {32800, "Game options"},
      {0, nullptr},
      {32793, "About Quellan Mouse"},
      {32802, "Close menu"},
      {32794, "Exit"},
  };
  std::unique_ptr<std::remove_pointer_t<HMENU>, decltype(&DestroyMenu)> menu(
      LoadMenuA(Module(), MAKEINTRESOURCEA(IDR_TRAYMENU)), &DestroyMenu);
  ASSERT_TRUE(menu);
  ASSERT_EQ(GetMenuItemCount(menu.get()), 1);
  HMENU popup = GetSubMenu(menu.get(), 0);
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(std::size(expected)));
  for (UINT i = 0; i < std::size(expected); ++i) {
    char text[64] = {};
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text;
    ASSERT_TRUE(GetMenuItemInfoA(popup, i, TRUE, &info)) << "item " << i;
    if (!expected[i].text) {
      EXPECT_TRUE(info.fType & MFT_SEPARATOR) << "item " << i;
      continue;
    }
    EXPECT_FALSE(info.fType & MFT_SEPARATOR) << "item " << i;
    EXPECT_EQ(info.wID, expected[i].id) << "item " << i;
    EXPECT_STREQ(text, expected[i].text) << "item " << i;
  }
}

TEST(QmouseResources, AppTitleString) {
  char text[64] = {};
  ASSERT_GT(LoadStringA(Module(), IDS_APP_TITLE, text, sizeof text), 0);
  EXPECT_STREQ(text, "Quellan Mouse");
}

TEST(QmouseResources, FloaterHasItsButtonsAndToolWindowStyle) {
  struct Control {
    int id;
    const char* text;
    bool radio;
  };
  const Control expected[] = {
      {1320, "No Click", true},           {1321, "Left Click", true},
      {1322, "Right Click", true},        {1323, "Scroll", true},
      {1324, "Double Left Click", true},  {1325, "Double Right Click", true},
      {1326, "Left drag-n-drop", true},   {1327, "Right drag-n-drop", true},
      {1313, "Hide", false},              {1314, "Options", false},
      {1330, "Pause", false},             {1329, "Shutdown", false},
  };
  Window panel = Create(IDD_FLOATER);
  ASSERT_TRUE(panel);
  EXPECT_EQ(Text(panel.get()), "Quellan Mouse ");
  EXPECT_TRUE(HasAll(Style(panel.get()), WS_POPUP | WS_CAPTION));
  EXPECT_TRUE(HasAll(ExStyle(panel.get()), WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES));
  RECT client, size = Dlu(panel.get(), 85, 145);
  GetClientRect(panel.get(), &client);
  EXPECT_EQ(client.right, size.right);
  EXPECT_EQ(client.bottom, size.bottom);
  for (const Control& c : expected) {
    HWND control = GetDlgItem(panel.get(), c.id);
    ASSERT_NE(control, nullptr) << c.id;
    EXPECT_EQ(Text(control), c.text) << c.id;
    LONG style = Style(control);
    if (c.radio) {
      EXPECT_EQ(style & BS_TYPEMASK, BS_AUTORADIOBUTTON) << c.id;
      EXPECT_TRUE(style & BS_PUSHLIKE) << c.id;
    }
    // The radios are one group that "No Click" starts and the first button ends.
    bool starts_group = c.id == IDC_NOCLICK || c.id == IDC_HIDE;
    EXPECT_EQ((style & WS_GROUP) != 0, starts_group) << c.id;
  }
}

TEST(QmouseResources, ConfirmBoxLayout) {
  Window box = Create(IDD_CONFIRMBOX);
  ASSERT_TRUE(box);
  EXPECT_EQ(Text(box.get()), "Quellan Mouse");
  HWND text = GetDlgItem(box.get(), IDC_CONFIRM_TEXT);
  ASSERT_NE(text, nullptr);
  RECT r = ClientRectOf(text), want = Dlu(box.get(), 193, 40);
  EXPECT_EQ(r.right - r.left, want.right);
  EXPECT_EQ(r.bottom - r.top, want.bottom);
  RECT client, size = Dlu(box.get(), 207, 74);
  GetClientRect(box.get(), &client);
  EXPECT_EQ(client.right, size.right);
  EXPECT_EQ(client.bottom, size.bottom);
  ASSERT_NE(GetDlgItem(box.get(), IDOK), nullptr);
  ASSERT_NE(GetDlgItem(box.get(), IDCANCEL), nullptr);
  EXPECT_EQ(Text(GetDlgItem(box.get(), IDOK)), "OK");
  EXPECT_EQ(Text(GetDlgItem(box.get(), IDCANCEL)), "Cancel");
}

// The splash picture is loaded into its static control, which covers width x height dialog
// units from the dialog's top left corner.
void ExpectPicture(HWND dialog, int id, int width, int height) {
  HWND picture = GetDlgItem(dialog, id);
  ASSERT_NE(picture, nullptr) << id;
  EXPECT_EQ(Style(picture) & SS_TYPEMASK, SS_BITMAP) << id;
  EXPECT_NE(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), 0) << id;
  RECT r = ClientRectOf(picture), want = Dlu(dialog, width, height);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, want.right) << id;
  EXPECT_EQ(r.bottom, want.bottom) << id;
}

TEST(QmouseResources, SplashWindowIsABarePicture) {
  Window splash = Create(IDD_NULLWINDOW);
  ASSERT_TRUE(splash);
  LONG style = Style(splash.get());
  EXPECT_TRUE(HasAll(style, WS_POPUP | WS_VISIBLE));
  EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_DLGFRAME));
  RECT window, client, size = Dlu(splash.get(), 240, 147);
  GetWindowRect(splash.get(), &window);
  GetClientRect(splash.get(), &client);
  EXPECT_EQ(window.left, 0);
  EXPECT_EQ(window.top, 0);
  EXPECT_EQ(client.right, size.right);
  EXPECT_EQ(client.bottom, size.bottom);
  ExpectPicture(splash.get(), IDC_SPLASH_PICTURE, 240, 147);
}

TEST(QmouseResources, AboutBox) {
  Window about = Create(IDD_ABOUTBOX);
  ASSERT_TRUE(about);
  EXPECT_EQ(Text(about.get()), "About Quellan Mouse...");
  ExpectPicture(about.get(), IDC_ABOUT_PICTURE, 240, 147);
  EXPECT_EQ(Text(GetDlgItem(about.get(), IDC_ABOUT_VERSION)), "Quellan Mouse v2.4.4.0");
  EXPECT_FALSE(Text(GetDlgItem(about.get(), IDC_ABOUT_TAGLINE)).empty());
  EXPECT_EQ(Text(GetDlgItem(about.get(), IDOK)), "OK");
}

TEST(QmouseResources, ProgressIndicatorsNeverTakeFocus) {
  for (int id : {IDD_PROGRESS_HORZ, IDD_PROGRESS_VERT}) {
    Window indicator = Create(id);
    ASSERT_TRUE(indicator) << id;
    EXPECT_TRUE(Style(indicator.get()) & WS_POPUP) << id;
    EXPECT_NE(Style(indicator.get()) & WS_CAPTION, static_cast<DWORD>(WS_CAPTION)) << id;  // a frame, no caption
    EXPECT_FALSE(Style(indicator.get()) & WS_VISIBLE) << id;
    EXPECT_TRUE(HasAll(ExStyle(indicator.get()), WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE))
        << id;
  }
}

TEST(QmouseResources, IconAndSplashLoad) {
  for (int size : {16, 32}) {
    HICON icon = static_cast<HICON>(
        LoadImageA(Module(), MAKEINTRESOURCEA(IDI_QMOUSE), IMAGE_ICON, size, size, 0));
    ASSERT_NE(icon, nullptr) << size;
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour = {};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, size);
    EXPECT_NE(info.hbmMask, nullptr);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
  HBITMAP splash = static_cast<HBITMAP>(LoadImageA(Module(), MAKEINTRESOURCEA(IDB_SPLASH),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(splash, nullptr);
  BITMAP bitmap = {};
  GetObjectA(splash, sizeof bitmap, &bitmap);
  EXPECT_EQ(bitmap.bmWidth, 360);
  EXPECT_EQ(bitmap.bmHeight, 240);
  EXPECT_EQ(bitmap.bmBitsPixel, 24);
  DeleteObject(splash);
}

TEST(QmouseResources, ManifestAsksForCommonControls6PerMonitorDpiAndNamesTheVersion) {
  HRSRC found = FindResourceA(Module(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_NE(found, nullptr);
  const char* data = static_cast<const char*>(LockResource(LoadResource(Module(), found)));
  ASSERT_NE(data, nullptr);
  std::string manifest(data, SizeofResource(Module(), found));
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos);
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
  EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
  EXPECT_NE(manifest.find("name=\"Korvath.QuellanMouse.qmouse\" version=\"" HX_VERSION_TEXT "\""), std::string::npos)
      << manifest;
}

}  // namespace
