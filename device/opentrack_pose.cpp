#include "device/opentrack_pose.h"

#include <cmath>
#include <cstring>

namespace {

double ReadLittleEndianDouble(const uint8_t* p) {
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | p[i];
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

void WriteLittleEndianDouble(double value, uint8_t* p) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  for (int i = 0; i < 8; ++i) p[i] = static_cast<uint8_t>(bits >> (8 * i));
}

uint16_t IntegerWord(double deflection) {
  const double word = kHxRestValue + std::trunc(deflection);
  if (!(word > 0)) return 0;  // also NaN
  if (word > 65535) return 65535;
  return static_cast<uint16_t>(word);
}

}  // namespace

PoseVerdict DecodeOpentrackDatagram(const uint8_t* data, size_t size, OpentrackPose& pose) {
  if (!data || size != kOpentrackDatagramSize) return PoseVerdict::WrongSize;
  double v[6];
  for (int i = 0; i < 6; ++i) {
    v[i] = ReadLittleEndianDouble(data + 8 * i);
    if (!std::isfinite(v[i])) return PoseVerdict::NotFinite;
  }
  for (int i = 0; i < 3; ++i)
    if (std::fabs(v[i]) > kMaxReachCentimetres || std::fabs(v[i + 3]) > kMaxTurnDegrees)
      return PoseVerdict::OutOfReach;
  pose = {v[0], v[1], v[2], v[3], v[4], v[5]};
  return PoseVerdict::Ok;
}

void EncodeOpentrackDatagram(const OpentrackPose& pose, uint8_t (&data)[kOpentrackDatagramSize]) {
  const double v[6] = {pose.x, pose.y, pose.z, pose.yaw, pose.pitch, pose.roll};
  for (int i = 0; i < 6; ++i) WriteLittleEndianDouble(v[i], data + 8 * i);
}

HxPositionDouble PoseToRecord(const OpentrackPose& pose, const OpentrackPose& center) {
  HxPositionDouble r;
  r.X = -(pose.x - center.x) * kUnitsPerCentimetre;  // opentrack's x grows to the left
  r.Y = (pose.y - center.y) * kUnitsPerCentimetre;
  r.Z = (pose.z - center.z) * kUnitsPerCentimetre;
  // A turn through ±180° is the shorter way round.
  double yaw = pose.yaw - center.yaw;
  if (yaw > 180) yaw -= 360;
  if (yaw < -180) yaw += 360;
  r.RX = yaw * kUnitsPerDegree;
  r.RY = (pose.pitch - center.pitch) * kUnitsPerDegree;
  return r;
}

HxPosition RecordToInteger(const HxPositionDouble& record) {
  return {IntegerWord(record.X), IntegerWord(record.Y), IntegerWord(record.Z), IntegerWord(record.RX),
          IntegerWord(record.RY)};
}
