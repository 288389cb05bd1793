#include "device/win/device_events.h"

#include <dbt.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "device/hx_mouse.h"

bool IsTrackerInterfaceEvent(LPARAM lParam) {
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
  if (!header || header->dbch_size < offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name) ||
      header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE)
    return false;
  const auto* device = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_A*>(header);
  static_assert(sizeof device->dbcc_classguid == sizeof kTrackerInterfaceGuid, "same GUID layout");
  return std::memcmp(&device->dbcc_classguid, &kTrackerInterfaceGuid, sizeof kTrackerInterfaceGuid) == 0;
}

void BroadcastTrackerEvent(bool plugged, const std::string& deviceName) {
  constexpr UINT kPerWindowTimeoutMs = 500;
  const size_t nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name);
  std::vector<char> buffer(nameOffset + deviceName.size() + 1, 0);
  auto* header = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_A*>(buffer.data());
  header->dbcc_size = static_cast<DWORD>(buffer.size());
  header->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  static_assert(sizeof(GUID) == sizeof(kTrackerInterfaceGuid), "same GUID layout");
  std::memcpy(&header->dbcc_classguid, &kTrackerInterfaceGuid, sizeof(GUID));
  std::memcpy(buffer.data() + nameOffset, deviceName.c_str(), deviceName.size() + 1);
  DWORD_PTR result = 0;
  // SMTO_ABORTIFHUNG and the per-window timeout keep a hung window from holding the rest.
  SendMessageTimeoutA(HWND_BROADCAST, WM_DEVICECHANGE, plugged ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE,
                      reinterpret_cast<LPARAM>(header), SMTO_ABORTIFHUNG, kPerWindowTimeoutMs, &result);
}
