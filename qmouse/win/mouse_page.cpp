#include "qmouse/win/mouse_page.h"

#include "resources/qmouse/resource.h"

MousePage::MousePage(Settings& values) : SettingsPage(IDD_PAGE_MOUSE, values) {}
