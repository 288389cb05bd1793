#include "qmouse/win/gesture_page.h"

#include "resources/qmouse/resource.h"

Gesture::Gesture(Settings& values) : SettingsPage(IDD_PAGE_GESTURE, values) {}
