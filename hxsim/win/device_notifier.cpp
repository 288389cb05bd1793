#include "hxsim/win/device_notifier.h"

#include <windows.h>
#include <dbt.h>

#include <cstddef>
#include <cstring>
#include <utility>
#include <vector>

#include "device/hx_mouse.h"
#include "hxsim/win/threads.h"

namespace {
constexpr UINT kPerWindowTimeoutMs = 500;
}  // namespace

DeviceNotifier::DeviceNotifier(std::string deviceName) : deviceName_(std::move(deviceName)) {}

bool DeviceNotifier::Start() {
  return StartThread([this] { Run(); });
}

void DeviceNotifier::Announce(bool plugged) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back(plugged);
  }
  wake_.notify_one();
}

void DeviceNotifier::Run() {
  for (;;) {
    bool plugged;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return !queue_.empty(); });
      plugged = queue_.front();
      queue_.pop_front();
    }
    Broadcast(plugged);
  }
}

void DeviceNotifier::Broadcast(bool plugged) {
  const size_t nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name);
  std::vector<char> buffer(nameOffset + deviceName_.size() + 1, 0);
  auto* header = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_A*>(buffer.data());
  header->dbcc_size = static_cast<DWORD>(buffer.size());
  header->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  static_assert(sizeof(GUID) == sizeof(kTrackerInterfaceGuid), "same GUID layout");
  std::memcpy(&header->dbcc_classguid, &kTrackerInterfaceGuid, sizeof(GUID));
  std::memcpy(buffer.data() + nameOffset, deviceName_.c_str(), deviceName_.size() + 1);
  DWORD_PTR result = 0;
  // SMTO_ABORTIFHUNG and the per-window timeout keep a hung window from holding the rest.
  SendMessageTimeoutA(HWND_BROADCAST, WM_DEVICECHANGE, plugged ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE,
                      reinterpret_cast<LPARAM>(header), SMTO_ABORTIFHUNG, kPerWindowTimeoutMs, &result);
}
