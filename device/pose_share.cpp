#include "device/pose_share.h"

#include <cstring>

#include "device/ioctl.h"

using namespace hx;

namespace {

void StoreWords(std::atomic<uint32_t> (&words)[12], const OpentrackPose& pose) {
  const double v[6] = {pose.x, pose.y, pose.z, pose.yaw, pose.pitch, pose.roll};
  uint32_t w[12];
  std::memcpy(w, v, sizeof w);
  for (int i = 0; i < 12; ++i) words[i].store(w[i], std::memory_order_relaxed);
}

OpentrackPose LoadWords(const std::atomic<uint32_t> (&words)[12]) {
  uint32_t w[12];
  for (int i = 0; i < 12; ++i) w[i] = words[i].load(std::memory_order_relaxed);
  double v[6];
  std::memcpy(v, w, sizeof v);
  return {v[0], v[1], v[2], v[3], v[4], v[5]};
}

// Reader side of the sequence lock: retries while a writer is in the middle.
uint32_t ReadStable(const std::atomic<uint32_t>& sequence, const std::atomic<uint32_t> (&words)[12],
                    OpentrackPose& pose, const std::atomic<uint32_t>* extra, uint32_t* extraValue) {
  for (;;) {
    const uint32_t before = sequence.load(std::memory_order_acquire);
    if (before & 1) continue;
    pose = LoadWords(words);
    if (extra) *extraValue = extra->load(std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_acquire);
    if (sequence.load(std::memory_order_relaxed) == before) return before;
  }
}

template <typename T>
bool Put(const T& value, void* output, uint32_t outputSize, uint32_t* bytesReturned) {
  if (outputSize < sizeof value) return false;  // the driver's buffer-too-small
  std::memcpy(output, &value, sizeof value);
  *bytesReturned = sizeof value;
  return true;
}

}  // namespace

void PublishPose(PoseShare& share, const OpentrackPose& pose, uint32_t nowMs) {
  const uint32_t s = share.sequence.load(std::memory_order_relaxed);
  share.sequence.store(s + 1, std::memory_order_relaxed);
  std::atomic_thread_fence(std::memory_order_release);
  StoreWords(share.poseWords, pose);
  share.arrivalMs.store(nowMs, std::memory_order_relaxed);
  share.sequence.store(s + 2, std::memory_order_release);
}

void CountDropped(PoseShare& share, PoseVerdict verdict) {
  const int i = static_cast<int>(verdict) - 1;
  if (i >= 0 && i < 3) share.dropped[i].fetch_add(1, std::memory_order_relaxed);
}

uint32_t ReadPose(const PoseShare& share, OpentrackPose& pose, uint32_t& arrivalMs) {
  return ReadStable(share.sequence, share.poseWords, pose, &share.arrivalMs, &arrivalMs) / 2;
}

void SetCenter(PoseShare& share, const OpentrackPose& center) {
  // Two programs may centre at once: whoever makes the sequence odd writes.
  uint32_t s = share.centerSequence.load(std::memory_order_relaxed);
  for (;;) {
    if (s & 1) {
      s = share.centerSequence.load(std::memory_order_relaxed);
      continue;
    }
    if (share.centerSequence.compare_exchange_weak(s, s + 1, std::memory_order_acquire)) break;
  }
  std::atomic_thread_fence(std::memory_order_release);
  StoreWords(share.centerWords, center);
  share.centerSequence.store(s + 2, std::memory_order_release);
}

OpentrackPose ReadCenter(const PoseShare& share) {
  OpentrackPose center;
  ReadStable(share.centerSequence, share.centerWords, center, nullptr, nullptr);
  return center;
}

bool PoseIsFresh(uint32_t sequence, uint32_t arrivalMs, uint32_t nowMs) {
  return sequence != 0 && nowMs - arrivalMs < kSilenceUnpluggedMs;
}

bool AnswerOpentrackRequest(PoseShare& share, uint32_t code, void* output, uint32_t outputSize,
                            uint32_t* bytesReturned) {
  *bytesReturned = 0;
  switch (code) {
    case IOCTL_GET_VERSION:
      return Put(uint32_t{1u << 16}, output, outputSize, bytesReturned);
    case IOCTL_START_COLLECTION:
    case IOCTL_STOP_COLLECTION:
    case IOCTL_SAVE_SETTINGS:
      return true;
    case IOCTL_CALIBRATE:  // nothing to line up: always calibrated
      return Put(uint16_t{1}, output, outputSize, bytesReturned);
    case IOCTL_GET_CALIBRATED:
      return Put(uint16_t{1}, output, outputSize, bytesReturned);
    case IOCTL_GET_HARDWARE_STATUS:
      return Put(uint32_t{0x00010304}, output, outputSize, bytesReturned);
    case IOCTL_SET_ZERO: {
      OpentrackPose pose;
      uint32_t arrival = 0;
      if (ReadPose(share, pose, arrival) == 0) return false;  // no head seen yet
      SetCenter(share, pose);
      return true;
    }
    case IOCTL_RESTORE_DEFAULT_CALIBRATION:
      SetCenter(share, OpentrackPose{});
      return true;
    default:  // the joystick requests and anything unknown: not available
      return false;
  }
}

bool AnswerPositionRequest(const PoseShare& share, const OpentrackPose& pose, uint32_t code, void* output,
                           uint32_t outputSize, uint32_t* bytesReturned) {
  *bytesReturned = 0;
  const HxPositionDouble record = PoseToRecord(pose, ReadCenter(share));
  if (code == IOCTL_GET_FLOAD_POSITION) return Put(record, output, outputSize, bytesReturned);
  if (code == IOCTL_GET_POSITION) return Put(RecordToInteger(record), output, outputSize, bytesReturned);
  return false;
}
