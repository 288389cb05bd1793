#include "device/win/real_driver_port.h"

#include <windows.h>
#include <setupapi.h>

#include <cstring>
#include <vector>

#include "device/hx_mouse.h"

namespace {

struct DevInfoListTraits {
  using Handle = HDEVINFO;
  static Handle Empty() { return INVALID_HANDLE_VALUE; }
  static bool Valid(Handle h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
  static bool Close(Handle h) { return SetupDiDestroyDeviceInfoList(h) != 0; }
};
using DevInfoList = UniqueResource<DevInfoListTraits>;

GUID TrackerGuid() {
  GUID g;
  std::memcpy(&g, &kTrackerInterfaceGuid, sizeof g);
  return g;
}

}  // namespace

bool RealDriverPort::FindInterface(uint32_t memberIndex, std::string& path) {
  GUID guid = TrackerGuid();
  DevInfoList set(SetupDiGetClassDevsA(&guid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
  if (!set) return false;

  SP_DEVICE_INTERFACE_DATA interfaceData = {};
  interfaceData.cbSize = sizeof interfaceData;
  if (!SetupDiEnumDeviceInterfaces(set.Get(), nullptr, &guid, memberIndex, &interfaceData)) return false;

  // First call learns the size, second fills the detail.
  DWORD required = 0;
  SetupDiGetDeviceInterfaceDetailA(set.Get(), &interfaceData, nullptr, 0, &required, nullptr);
  if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) return false;
  std::vector<char> buffer(required);
  auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.data());
  detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
  SP_DEVINFO_DATA devInfo = {};
  devInfo.cbSize = sizeof devInfo;
  if (!SetupDiGetDeviceInterfaceDetailA(set.Get(), &interfaceData, detail, required, nullptr, &devInfo))
    return false;
  path = detail->DevicePath;
  return true;
}

bool RealDriverPort::Open(const std::string& path) {
  HANDLE device = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  std::lock_guard<std::mutex> lock(handleMutex_);
  handle_.Reset(device);
  return handle_.Valid();
}

bool RealDriverPort::Close() {
  std::lock_guard<std::mutex> lock(handleMutex_);
  return handle_.Reset();
}

// CancelIoEx reaches the synchronous DeviceIoControl of any thread on this handle; the
// driver completes the request as cancelled.
void RealDriverPort::CancelRequest() {
  std::lock_guard<std::mutex> lock(handleMutex_);
  if (handle_) CancelIoEx(handle_.Get(), nullptr);
}

bool RealDriverPort::Request(uint32_t code, void* output, uint32_t outputSize, uint32_t* bytesReturned) {
  DWORD bytes = 0;
  BOOL ok = DeviceIoControl(handle_.Get(), code, nullptr, 0, output, outputSize, &bytes, nullptr);
  *bytesReturned = bytes;
  return ok != 0;
}
