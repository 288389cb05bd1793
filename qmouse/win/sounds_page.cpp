#include "qmouse/win/sounds_page.h"

#include "resources/qmouse/resource.h"

SoundsPage::SoundsPage(Settings& values) : SettingsPage(IDD_PAGE_SOUNDS, values) {}
