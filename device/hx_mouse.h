#pragma once
// CHxMouse: the only road to the head tracker. Each user owns one; construction finds,
// opens and starts the tracker, destruction stops and closes it. The three programs share
// this source and differ only in a few result mappings and log lines, picked by `V`.
#include <cstdint>
#include <memory>
#include <string>

#include "device/driver_port.h"
#include "device/hx_position.h"
#include "device/link_cancel.h"

enum class LinkVariant { Qmouse, Hxprofiler, Hxcpl };

struct Guid {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
};

// {29624363-2437-4AF2-8545-E1DB10092374}: the tracker's device interface.
constexpr Guid kTrackerInterfaceGuid = {
    0x29624363, 0x2437, 0x4AF2, {0x85, 0x45, 0xE1, 0xDB, 0x10, 0x09, 0x23, 0x74}};

template <LinkVariant V>
class HxMouseLink {
 public:
  // A worker's link is made with its owner's LinkCancel: the owner can then end its reads.
  explicit HxMouseLink(LinkCancel* cancel = nullptr);
  explicit HxMouseLink(std::unique_ptr<DriverPort> port, LinkCancel* cancel = nullptr);
  ~HxMouseLink();
  HxMouseLink(const HxMouseLink&) = delete;
  HxMouseLink& operator=(const HxMouseLink&) = delete;

  [[nodiscard]] bool GetPosition(HxPosition& position);
  [[nodiscard]] bool GetFloatPosition(HxPositionDouble& position);
  int Calibrate();
  bool SetZero();
  bool RestoreDefaultCalibration();
  void SaveSettings();
  int GetHardwareStatus();
  bool IsCalibrated();
  int IsJoystickEnabled();
  void EnableJoystick();
  void DisableJoystick();
  void Die();

  bool IsOpen() const { return open_; }
  // The owner cancelled this link's requests: a failed read is its stop, not the tracker's.
  bool Cancelled() const { return cancel_ && cancel_->Cancelled(); }
  bool IsCollecting() const { return !stopped_; }
  const std::string& DevicePath() const { return devicePath_; }

 private:
  void Construct();
  int StartCollection();
  void StopCollection();
  bool Send(uint32_t code, void* output, uint32_t outputSize);

  bool stopped_ = true;
  bool open_ = false;
  std::string devicePath_;
  uint32_t bytesReturned_ = 0;
  HxPositionDouble doublePosition_ = {};
  Guid interfaceGuid_ = kTrackerInterfaceGuid;
  std::unique_ptr<DriverPort> port_;  // holds the device handle
  LinkCancel* cancel_ = nullptr;
  HxPosition position_ = {};
};

extern template class HxMouseLink<LinkVariant::Qmouse>;
extern template class HxMouseLink<LinkVariant::Hxprofiler>;
extern template class HxMouseLink<LinkVariant::Hxcpl>;

// Each program is built with one of these defined; code that is not program-specific
// (tests, the simulator's benchmark) names the variant it wants directly.
#if defined(HX_LINK_HXPROFILER)
using CHxMouse = HxMouseLink<LinkVariant::Hxprofiler>;
#elif defined(HX_LINK_HXCPL)
using CHxMouse = HxMouseLink<LinkVariant::Hxcpl>;
#else
using CHxMouse = HxMouseLink<LinkVariant::Qmouse>;
#endif
