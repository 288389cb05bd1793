#include "qmouse/win/general_page.h"

#include "resources/qmouse/resource.h"

General::General(Settings& values) : SettingsPage(IDD_PAGE_OPTIONS, values) {}
