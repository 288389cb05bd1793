#include "device/hx_mouse.h"

#include <chrono>
#include <thread>

#include "device/ioctl.h"
#include "device/trace.h"

using namespace hx;


template <LinkVariant V>
HxMouseLink<V>::HxMouseLink(LinkCancel* cancel) : port_(MakeDriverPort()), cancel_(cancel) {
  Construct();
}

template <LinkVariant V>
HxMouseLink<V>::HxMouseLink(std::unique_ptr<DriverPort> port, LinkCancel* cancel)
    : port_(std::move(port)), cancel_(cancel) {
  Construct();
}

template <LinkVariant V>
void HxMouseLink<V>::Construct() {
  if (!port_) return;
  if (cancel_) cancel_->Attach(port_.get());  // the opening requests can stall too
  // Only the first interface is used; further trackers are ignored.
  if (!port_->FindInterface(0, devicePath_)) return;
  if (!port_->Open(devicePath_)) return;
  open_ = true;

  uint32_t version = 0;
  if (!Send(IOCTL_GET_VERSION, &version, sizeof version)) return;
  if constexpr (V == LinkVariant::Qmouse) Trace("<CHxMouse/CHxMouse()>:  Driver object created.\n");

  if (Send(IOCTL_START_COLLECTION, nullptr, 0) && StartCollection() == 1) {
    if constexpr (V == LinkVariant::Hxprofiler) Trace("<CHxMouse>:  Collection started\n");
  }
}

template <LinkVariant V>
int HxMouseLink<V>::StartCollection() {
  if (!open_) return -1;
  stopped_ = false;
  return 1;
}

template <LinkVariant V>
void HxMouseLink<V>::StopCollection() {
  stopped_ = true;
  // Lets a reader blocked in the driver return before the handle goes.
  std::this_thread::sleep_for(std::chrono::milliseconds(64));
}

template <LinkVariant V>
HxMouseLink<V>::~HxMouseLink() {
  // The owner may cancel again and again while it waits for us; what follows is ours alone,
  // so that stopping collection is never cut short.
  if (cancel_) cancel_->Detach(port_.get());
  if (!open_) return;
  if (!stopped_) StopCollection();
  // Sent even when collection never started, so the driver never keeps collecting for us.
  if (Send(IOCTL_STOP_COLLECTION, nullptr, 0)) {
    if constexpr (V == LinkVariant::Qmouse) Trace("<CHxMouse/~CHxMouse()>:  Collection stopped\n");
    if constexpr (V == LinkVariant::Hxprofiler) Trace("<CHxMouse>:  Collection stopped\n");
  }
  if (port_->Close()) {
    if constexpr (V == LinkVariant::Qmouse) Trace("<CHxMouse/~CHxMouse()>:  Driver object destroyed.\n");
    if constexpr (V == LinkVariant::Hxprofiler) Trace("<CHxMouse>:  Driver closed\n");
  }
}

template <LinkVariant V>
bool HxMouseLink<V>::Send(uint32_t code, void* output, uint32_t outputSize) {
  return port_ && port_->Request(code, output, outputSize, &bytesReturned_);
}

template <LinkVariant V>
bool HxMouseLink<V>::GetPosition(HxPosition& position) {
  // A short answer would leave stale or zero words, and zero is -2000 on every axis.
  if (Cancelled()) return false;
  if (!Send(IOCTL_GET_POSITION, &position_, sizeof position_) || bytesReturned_ != sizeof position_) {
    if constexpr (V == LinkVariant::Qmouse) {
      if (!Cancelled()) Trace("DeviceIoControl:  IOCTL_GET_POSITION failure!\n");
    }
    return false;
  }
  position = position_;
  return true;
}

template <LinkVariant V>
bool HxMouseLink<V>::GetFloatPosition(HxPositionDouble& position) {
  if (Cancelled()) return false;
  if (!Send(IOCTL_GET_FLOAD_POSITION, &doublePosition_, sizeof doublePosition_) ||
      bytesReturned_ != sizeof doublePosition_) {
    if constexpr (V != LinkVariant::Hxcpl) {
      if (!Cancelled()) Trace("DeviceIoControl:  IOCTL_GET_FLOAD_POSITION failure!\n");
    }
    return false;
  }
  position = doublePosition_;
  return true;
}

template <LinkVariant V>
int HxMouseLink<V>::Calibrate() {
  uint16_t answer = 0;
  if (!Send(IOCTL_CALIBRATE, &answer, sizeof answer)) return -1;
  if constexpr (V == LinkVariant::Hxcpl) {
    return answer;  // the page decides what the raw answer means
  } else if constexpr (V == LinkVariant::Hxprofiler) {
    return answer == 1 ? 1 : 0;
  } else {
    if (answer == 1) return 1;
    if (answer == 0) return 0;
    return -1;  // no valid answer
  }
}

template <LinkVariant V>
bool HxMouseLink<V>::SetZero() {
  return Send(IOCTL_SET_ZERO, nullptr, 0);
}

template <LinkVariant V>
bool HxMouseLink<V>::RestoreDefaultCalibration() {
  return Send(IOCTL_RESTORE_DEFAULT_CALIBRATION, nullptr, 0);
}

template <LinkVariant V>
void HxMouseLink<V>::SaveSettings() {
  (void)Send(IOCTL_SAVE_SETTINGS, nullptr, 0);
}

template <LinkVariant V>
int HxMouseLink<V>::GetHardwareStatus() {
  uint32_t status = 0;
  if (!Send(IOCTL_GET_HARDWARE_STATUS, &status, sizeof status)) return 0;
  if (status == 0x00010304) return 1;
  if (status == 0x00000304) return -1;  // still present: only 0 means absent
  return 0;
}

template <LinkVariant V>
bool HxMouseLink<V>::IsCalibrated() {
  uint16_t calibrated = 0;
  return Send(IOCTL_GET_CALIBRATED, &calibrated, sizeof calibrated) && calibrated != 0;
}

template <LinkVariant V>
int HxMouseLink<V>::IsJoystickEnabled() {
  uint32_t state = 0;
  if (!Send(IOCTL_GET_JOYSTICK_STATE, &state, sizeof state)) return -1;
  return state != 0 ? 1 : 0;
}

template <LinkVariant V>
void HxMouseLink<V>::EnableJoystick() {
  (void)Send(IOCTL_ENABLE_JOYSTICK, nullptr, 0);
}

template <LinkVariant V>
void HxMouseLink<V>::DisableJoystick() {
  (void)Send(IOCTL_DISABLE_JOYSTICK, nullptr, 0);
}

// Called by a worker that ends its thread after a failed read: the handle must not outlive
// the thread, and nothing more goes through this object afterwards.
template <LinkVariant V>
void HxMouseLink<V>::Die() {
  if constexpr (V == LinkVariant::Qmouse) Trace("<CHxMouse/Die()>:  Dying.\n");
  if constexpr (V == LinkVariant::Hxprofiler) Trace("<CHxMouse/Die()>:  Dying...\n");
  if (port_) {
    if (V == LinkVariant::Hxprofiler || port_->HasHandle()) port_->Close();
  }
  open_ = false;
  stopped_ = true;
}

template class HxMouseLink<LinkVariant::Qmouse>;
template class HxMouseLink<LinkVariant::Hxprofiler>;
template class HxMouseLink<LinkVariant::Hxcpl>;
