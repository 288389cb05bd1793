#include "qmouse/win/dwell_page.h"

#include "resources/qmouse/resource.h"

DwellPage::DwellPage(Settings& values) : SettingsPage(IDD_PAGE_DWELL, values) {}
