#pragma once
// The driver's two position records, laid out exactly as the driver writes them.
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
