#include <windows.h>

#include "device/tracker_choice.h"
#include "winui/handles.h"

namespace {

int32_t ReadValue(HKEY key, const char* name, int32_t fallback) {
  DWORD value = 0, size = sizeof value, type = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    return fallback;
  return static_cast<int32_t>(value);
}

}  // namespace

// qmouse's settings, which hxprofiler and the control panel follow.
TrackerChoice StoredTrackerChoice() {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Korvath\\Quellan Mouse\\Settings", 0, KEY_READ, &opened) !=
      ERROR_SUCCESS)
    return TrackerChoice{};
  RegKey key(opened);
  return TrackerChoiceFrom(ReadValue(key.Get(), kTrackerValue, 0), ReadValue(key.Get(), kTrackerPortValue, 4242),
                           ReadValue(key.Get(), kTrackerNetworkValue, 0));
}
