#pragma once
// The driver's two position records, laid out exactly as the driver writes them.
#include <cmath>
#include <cstdint>

// Integer record: five little-endian 16-bit words, each resting at 2000.
#pragma pack(push, 1)
struct HxPosition {
  uint16_t X;
  uint16_t Y;
  uint16_t Z;
  uint16_t RX;
  uint16_t RY;
};
#pragma pack(pop)

// Fractional record: five doubles in the same axis order.
struct HxPositionDouble {
  double X;
  double Y;
  double Z;
  double RX;
  double RY;
};

static_assert(sizeof(HxPosition) == 10, "driver writes 10 bytes");
static_assert(sizeof(HxPositionDouble) == 40, "driver writes 40 bytes");

constexpr uint16_t kHxRestValue = 2000;

// The integer record's word for a deflection: 2000 plus the truncated deflection, held to
// what a word can carry. The driver words its integer record so from the same reading.
inline uint16_t HxIntegerAxis(double deflection) {
  const double value = kHxRestValue + std::trunc(deflection);
  if (!(value >= 0)) return 0;  // also NaN
  if (value > 65535) return 65535;
  return static_cast<uint16_t>(value);
}
inline HxPosition HxIntegerRecord(const HxPositionDouble& p) {
  return {HxIntegerAxis(p.X), HxIntegerAxis(p.Y), HxIntegerAxis(p.Z), HxIntegerAxis(p.RX), HxIntegerAxis(p.RY)};
}
