#pragma once
// Request codes of the tracker driver. They are built the way the driver builds them
// (device type, function, method, access) and pinned to the published values below, so a
// typo in either place fails the build instead of talking nonsense to the driver.
#include <cstdint>

namespace hx {

constexpr uint32_t kDeviceTypeUnknown = 0x22;
constexpr uint32_t kMethodBuffered = 0;
constexpr uint32_t kMethodNeither = 3;
constexpr uint32_t kAccessAny = 0;
constexpr uint32_t kAccessRead = 1;

constexpr uint32_t MakeRequestCode(uint32_t deviceType, uint32_t function, uint32_t method,
                                   uint32_t access) {
  return (deviceType << 16) | (access << 14) | (function << 2) | method;
}

constexpr uint32_t IOCTL_GET_VERSION = MakeRequestCode(kDeviceTypeUnknown, 0x800, kMethodBuffered, kAccessAny);
constexpr uint32_t IOCTL_GET_FLOAD_POSITION = MakeRequestCode(kDeviceTypeUnknown, 0x803, kMethodBuffered, kAccessRead);
constexpr uint32_t IOCTL_GET_POSITION = MakeRequestCode(kDeviceTypeUnknown, 0x804, kMethodBuffered, kAccessRead);
constexpr uint32_t IOCTL_CALIBRATE = MakeRequestCode(kDeviceTypeUnknown, 0x806, kMethodBuffered, kAccessRead);
constexpr uint32_t IOCTL_START_COLLECTION = MakeRequestCode(kDeviceTypeUnknown, 0x807, kMethodNeither, kAccessRead);
constexpr uint32_t IOCTL_STOP_COLLECTION = MakeRequestCode(kDeviceTypeUnknown, 0x809, kMethodNeither, kAccessRead);
constexpr uint32_t IOCTL_SET_ZERO = MakeRequestCode(kDeviceTypeUnknown, 0x816, kMethodBuffered, kAccessRead);
constexpr uint32_t IOCTL_GET_HARDWARE_STATUS = MakeRequestCode(kDeviceTypeUnknown, 0x819, kMethodBuffered, kAccessRead);
constexpr uint32_t IOCTL_GET_CALIBRATED = MakeRequestCode(kDeviceTypeUnknown, 0x81D, kMethodBuffered, kAccessRead);
constexpr uint32_t IOCTL_RESTORE_DEFAULT_CALIBRATION = MakeRequestCode(kDeviceTypeUnknown, 0x81E, kMethodBuffered, kAccessRead);
constexpr uint32_t IOCTL_ENABLE_JOYSTICK = MakeRequestCode(kDeviceTypeUnknown, 0x820, kMethodNeither, kAccessRead);
constexpr uint32_t IOCTL_DISABLE_JOYSTICK = MakeRequestCode(kDeviceTypeUnknown, 0x821, kMethodNeither, kAccessRead);
constexpr uint32_t IOCTL_SAVE_SETTINGS = MakeRequestCode(kDeviceTypeUnknown, 0x823, kMethodNeither, kAccessRead);
constexpr uint32_t IOCTL_GET_JOYSTICK_STATE = MakeRequestCode(kDeviceTypeUnknown, 0x824, kMethodBuffered, kAccessRead);

static_assert(IOCTL_GET_VERSION == 0x00222000);
static_assert(IOCTL_GET_FLOAD_POSITION == 0x0022600C);
static_assert(IOCTL_GET_POSITION == 0x00226010);
static_assert(IOCTL_CALIBRATE == 0x00226018);
static_assert(IOCTL_START_COLLECTION == 0x0022601F);
static_assert(IOCTL_STOP_COLLECTION == 0x00226027);
static_assert(IOCTL_SET_ZERO == 0x00226058);
static_assert(IOCTL_GET_HARDWARE_STATUS == 0x00226064);
static_assert(IOCTL_GET_CALIBRATED == 0x00226074);
static_assert(IOCTL_RESTORE_DEFAULT_CALIBRATION == 0x00226078);
static_assert(IOCTL_ENABLE_JOYSTICK == 0x00226083);
static_assert(IOCTL_DISABLE_JOYSTICK == 0x00226087);
static_assert(IOCTL_SAVE_SETTINGS == 0x0022608F);
static_assert(IOCTL_GET_JOYSTICK_STATE == 0x00226090);

// One row per request: its name (as the simulator logs it and its control channel names
// it) and the size of the answer the driver writes.
struct RequestInfo {
  uint32_t code;
  const char* name;
  uint32_t outputSize;
};

constexpr RequestInfo kRequests[] = {
    {IOCTL_GET_VERSION, "IOCTL_GET_VERSION", 4},
    {IOCTL_GET_FLOAD_POSITION, "IOCTL_GET_FLOAD_POSITION", 40},
    {IOCTL_GET_POSITION, "IOCTL_GET_POSITION", 10},
    {IOCTL_CALIBRATE, "IOCTL_CALIBRATE", 2},
    {IOCTL_START_COLLECTION, "IOCTL_START_COLLECTION", 0},
    {IOCTL_STOP_COLLECTION, "IOCTL_STOP_COLLECTION", 0},
    {IOCTL_SET_ZERO, "IOCTL_SET_ZERO", 0},
    {IOCTL_GET_HARDWARE_STATUS, "IOCTL_GET_HARDWARE_STATUS", 4},
    {IOCTL_GET_CALIBRATED, "IOCTL_GET_CALIBRATED", 2},
    {IOCTL_RESTORE_DEFAULT_CALIBRATION, "IOCTL_RESTORE_DEFAULT_CALIBRATION", 0},
    {IOCTL_ENABLE_JOYSTICK, "IOCTL_ENABLE_JOYSTICK", 0},
    {IOCTL_DISABLE_JOYSTICK, "IOCTL_DISABLE_JOYSTICK", 0},
    {IOCTL_SAVE_SETTINGS, "IOCTL_SAVE_SETTINGS", 0},
    {IOCTL_GET_JOYSTICK_STATE, "IOCTL_GET_JOYSTICK_STATE", 4},
};

// The row for `code`, or nullptr for a code the driver does not know.
constexpr const RequestInfo* FindRequest(uint32_t code) {
  for (const RequestInfo& r : kRequests)
    if (r.code == code) return &r;
  return nullptr;
}

}  // namespace hx
