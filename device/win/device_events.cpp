#include "device/win/device_events.h"

#include <dbt.h>

#include <cstddef>
#include <cstring>

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
