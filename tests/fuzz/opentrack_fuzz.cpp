// opentrack datagrams as they may arrive from anything on the network: whatever the bytes,
// the decoder either drops them or yields a pose within reach, and the records made of it
// (also against a second pose as the centre) are finite and inside their ranges.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>

#include "device/opentrack_pose.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  OpentrackPose pose;
  if (DecodeOpentrackDatagram(data, size, pose) != PoseVerdict::Ok) return 0;
  if (size != kOpentrackDatagramSize) std::abort();
  const double v[6] = {pose.x, pose.y, pose.z, pose.yaw, pose.pitch, pose.roll};
  for (int i = 0; i < 6; ++i)
    if (!std::isfinite(v[i]) || std::fabs(v[i]) > (i < 3 ? kMaxReachCentimetres : kMaxTurnDegrees)) std::abort();
  // The pose against the rest pose and against itself reversed as the centre.
  const OpentrackPose centers[] = {{}, {-pose.x, -pose.y, -pose.z, -pose.yaw, -pose.pitch, -pose.roll}};
  for (const OpentrackPose& center : centers) {
    const HxPositionDouble r = PoseToRecord(pose, center);
    const double limit = 2 * 180 * kUnitsPerDegree + 2 * 100 * kUnitsPerCentimetre;
    for (double a : {r.X, r.Y, r.Z, r.RX, r.RY})
      if (!std::isfinite(a) || std::fabs(a) > limit) std::abort();
    const HxPosition w = RecordToInteger(r);
    if (r.RX >= 0 && w.RX < kHxRestValue) std::abort();
    if (r.RY < 0 && w.RY > kHxRestValue) std::abort();
  }
  return 0;
}
