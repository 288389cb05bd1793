#pragma once
// Head poses in opentrack's "UDP over network" form, and what the tracker's position records
// make of them. Portable: the socket lives in device/win.
#include <cstddef>
#include <cstdint>

#include "device/hx_position.h"

// One datagram: six little-endian doubles, x, y, z in centimetres, then yaw, pitch, roll in
// degrees. opentrack's signs: yaw grows turning right, pitch looking up, x moving left,
// y moving up and z moving back, away from the screen.
struct OpentrackPose {
  double x = 0, y = 0, z = 0, yaw = 0, pitch = 0, roll = 0;
};

constexpr size_t kOpentrackDatagramSize = 48;
constexpr int32_t kOpentrackDefaultPort = 4242;

// The one scale between a head and the tracker's records: a degree of yaw or pitch is ten
// units of RX or RY (the cursor moves about ten pixels per degree at speed 10), a centimetre
// is twenty units of X, Y or Z (a 5 cm lean passes the default gesture points).
constexpr double kUnitsPerDegree = 10.0;
constexpr double kUnitsPerCentimetre = 20.0;

// Farther than any head reaches from its centre; anything beyond is a broken sender.
constexpr double kMaxReachCentimetres = 100.0;
constexpr double kMaxTurnDegrees = 180.0;

enum class PoseVerdict { Ok, WrongSize, NotFinite, OutOfReach };

// Reads one datagram of `size` bytes. Only Ok fills `pose`.
[[nodiscard]] PoseVerdict DecodeOpentrackDatagram(const uint8_t* data, size_t size, OpentrackPose& pose);
// The datagram a sender writes for `pose` (the test sender and the bench use it).
void EncodeOpentrackDatagram(const OpentrackPose& pose, uint8_t (&data)[kOpentrackDatagramSize]);

// The pose relative to `center` as the tracker's records carry it: RX, RY from yaw and
// pitch, X, Y, Z from the movements, with the tracker's signs (right, up and back positive).
// Roll has no place in the records.
HxPositionDouble PoseToRecord(const OpentrackPose& pose, const OpentrackPose& center);
// The integer record of the same deflections: 2000 plus each truncated, kept in 16 bits.
HxPosition RecordToInteger(const HxPositionDouble& record);
