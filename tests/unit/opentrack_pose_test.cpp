// opentrack's datagrams, what the tracker's records make of them, and the shared newest pose.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <thread>
#include <vector>

#include "device/ioctl.h"
#include "device/opentrack_pose.h"
#include "device/pose_share.h"
#include "device/tracker_choice.h"

using namespace hx;

namespace {

std::vector<uint8_t> Datagram(const OpentrackPose& pose) {
  uint8_t d[kOpentrackDatagramSize];
  EncodeOpentrackDatagram(pose, d);
  return std::vector<uint8_t>(d, d + sizeof d);
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

}  // namespace

TEST(OpentrackDecoder, AcceptsOnlyWholeFiniteReachablePoses) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    PoseVerdict verdict;
  };
  const OpentrackPose typical{1.5, -2, 3, 20, -10, 5};
  std::vector<uint8_t> longer = Datagram(typical);
  longer.push_back(0);
  std::vector<uint8_t> shorter = Datagram(typical);
  shorter.pop_back();
  const Case cases[] = {
      {"typical", Datagram(typical), PoseVerdict::Ok},
      {"rest", Datagram({}), PoseVerdict::Ok},
      {"at the limits", Datagram({100, -100, 100, 180, -180, 180}), PoseVerdict::Ok},
      {"empty", {}, PoseVerdict::WrongSize},
      {"one byte short", shorter, PoseVerdict::WrongSize},
      {"one byte long", longer, PoseVerdict::WrongSize},
      {"five doubles (the driver's record)", std::vector<uint8_t>(40, 0), PoseVerdict::WrongSize},
      {"NaN yaw", Datagram({0, 0, 0, kNaN, 0, 0}), PoseVerdict::NotFinite},
      {"infinite x", Datagram({kInf, 0, 0, 0, 0, 0}), PoseVerdict::NotFinite},
      {"-infinite roll", Datagram({0, 0, 0, 0, 0, -kInf}), PoseVerdict::NotFinite},
      {"x beyond reach", Datagram({100.01, 0, 0, 0, 0, 0}), PoseVerdict::OutOfReach},
      {"z beyond reach", Datagram({0, 0, -250, 0, 0, 0}), PoseVerdict::OutOfReach},
      {"pitch past a half turn", Datagram({0, 0, 0, 0, 181, 0}), PoseVerdict::OutOfReach},
      {"huge yaw", Datagram({0, 0, 0, 1e300, 0, 0}), PoseVerdict::OutOfReach},
  };
  for (const Case& c : cases) {
    OpentrackPose pose{7, 7, 7, 7, 7, 7};
    EXPECT_EQ(DecodeOpentrackDatagram(c.bytes.data(), c.bytes.size(), pose), c.verdict) << c.what;
    if (c.verdict != PoseVerdict::Ok) {
      EXPECT_EQ(pose.x, 7) << c.what << ": a dropped datagram changes nothing";
    }
  }
  OpentrackPose pose;
  EXPECT_EQ(DecodeOpentrackDatagram(nullptr, 48, pose), PoseVerdict::WrongSize);
}

TEST(OpentrackDecoder, ReadsLittleEndianDoublesInOrder) {
  // 1.0 is 3FF0000000000000: little-endian, its 0x3F is the last byte of each double.
  uint8_t d[48] = {};
  const double values[6] = {1, -2, 0.5, 90, -45, 12.25};
  for (int i = 0; i < 6; ++i) {
    uint64_t bits;
    std::memcpy(&bits, &values[i], 8);
    for (int b = 0; b < 8; ++b) d[8 * i + b] = static_cast<uint8_t>(bits >> (8 * b));
  }
  EXPECT_EQ(d[7], 0x3F);
  OpentrackPose pose;
  ASSERT_EQ(DecodeOpentrackDatagram(d, sizeof d, pose), PoseVerdict::Ok);
  EXPECT_EQ(pose.x, 1);
  EXPECT_EQ(pose.y, -2);
  EXPECT_EQ(pose.z, 0.5);
  EXPECT_EQ(pose.yaw, 90);
  EXPECT_EQ(pose.pitch, -45);
  EXPECT_EQ(pose.roll, 12.25);
}

TEST(OpentrackMapping, TurnsAndMovesBecomeTheTrackersAxesWithItsSigns) {
  struct Case {
    const char* what;
    OpentrackPose pose, center;
    HxPositionDouble record;
  };
  const Case cases[] = {
      {"rest", {}, {}, {0, 0, 0, 0, 0}},
      {"one degree right is ten units of RX", {0, 0, 0, 1, 0, 0}, {}, {0, 0, 0, 10, 0}},
      {"turning left", {0, 0, 0, -25, 0, 0}, {}, {0, 0, 0, -250, 0}},
      {"looking up raises RY", {0, 0, 0, 0, 18, 0}, {}, {0, 0, 0, 0, 180}},
      {"looking down", {0, 0, 0, 0, -3, 0}, {}, {0, 0, 0, 0, -30}},
      {"opentrack's x grows leftwards: moving left lowers X", {5, 0, 0, 0, 0, 0}, {}, {-100, 0, 0, 0, 0}},
      {"moving up raises Y", {0, 2, 0, 0, 0, 0}, {}, {0, 40, 0, 0, 0}},
      {"leaning forward lowers Z", {0, 0, -7.5, 0, 0, 0}, {}, {0, 0, -150, 0, 0}},
      {"roll has no axis", {0, 0, 0, 0, 0, 45}, {}, {0, 0, 0, 0, 0}},
      {"the centre is subtracted", {1, 1, 1, 11, 6, 0}, {1, 1, 1, 10, 5, 0}, {0, 0, 0, 10, 10}},
      {"the centre itself is rest", {3, -4, 5, -30, 12, 9}, {3, -4, 5, -30, 12, 9}, {0, 0, 0, 0, 0}},
      {"yaw across ±180 takes the short way", {0, 0, 0, -179, 0, 0}, {0, 0, 0, 179, 0, 0}, {0, 0, 0, 20, 0}},
      {"and back", {0, 0, 0, 179, 0, 0}, {0, 0, 0, -179, 0, 0}, {0, 0, 0, -20, 0}},
  };
  for (const Case& c : cases) {
    const HxPositionDouble r = PoseToRecord(c.pose, c.center);
    EXPECT_DOUBLE_EQ(r.X, c.record.X) << c.what;
    EXPECT_DOUBLE_EQ(r.Y, c.record.Y) << c.what;
    EXPECT_DOUBLE_EQ(r.Z, c.record.Z) << c.what;
    EXPECT_DOUBLE_EQ(r.RX, c.record.RX) << c.what;
    EXPECT_DOUBLE_EQ(r.RY, c.record.RY) << c.what;
  }
}

TEST(OpentrackMapping, IntegerRecordRestsAt2000AndStaysIn16Bits) {
  struct Case {
    HxPositionDouble record;
    HxPosition words;
  };
  const Case cases[] = {
      {{0, 0, 0, 0, 0}, {2000, 2000, 2000, 2000, 2000}},
      {{-100, 40, -150.9, 10.9, -0.5}, {1900, 2040, 1850, 2010, 2000}},
      // The farthest poses the decoder passes: 100 cm and 180 degrees.
      {{-2000, 2000, -2000, 1800, -1800}, {0, 4000, 0, 3800, 200}},
      {{-1e9, 1e9, -2001, 70000, 0}, {0, 65535, 0, 65535, 2000}},
  };
  for (const Case& c : cases) {
    const HxPosition w = RecordToInteger(c.record);
    EXPECT_EQ(w.X, c.words.X);
    EXPECT_EQ(w.Y, c.words.Y);
    EXPECT_EQ(w.Z, c.words.Z);
    EXPECT_EQ(w.RX, c.words.RX);
    EXPECT_EQ(w.RY, c.words.RY);
  }
}

TEST(PoseShare, SequenceFreshnessAndCentre) {
  PoseShare share = {};
  OpentrackPose pose;
  uint32_t arrival = 0;
  EXPECT_EQ(ReadPose(share, pose, arrival), 0u);
  EXPECT_FALSE(PoseIsFresh(0, 0, 10)) << "no pose yet is an unplugged tracker";

  PublishPose(share, {1, 2, 3, 4, 5, 6}, 1000);
  EXPECT_EQ(ReadPose(share, pose, arrival), 1u);
  EXPECT_EQ(pose.yaw, 4);
  EXPECT_EQ(arrival, 1000u);
  PublishPose(share, {0, 0, 0, 8, 0, 0}, 1010);
  EXPECT_EQ(ReadPose(share, pose, arrival), 2u);
  EXPECT_EQ(pose.yaw, 8);

  EXPECT_TRUE(PoseIsFresh(2, 1010, 1010 + kSilenceUnpluggedMs - 1));
  EXPECT_FALSE(PoseIsFresh(2, 1010, 1010 + kSilenceUnpluggedMs));
  EXPECT_TRUE(PoseIsFresh(2, 0xFFFFFF00u, 0x10u)) << "the tick count wraps";

  // Dropped datagrams are counted by why; a good one counts nowhere.
  for (PoseVerdict v : {PoseVerdict::WrongSize, PoseVerdict::WrongSize, PoseVerdict::NotFinite, PoseVerdict::OutOfReach,
                        PoseVerdict::Ok})
    CountDropped(share, v);
  EXPECT_EQ(share.dropped[0].load(), 2u);
  EXPECT_EQ(share.dropped[1].load(), 1u);
  EXPECT_EQ(share.dropped[2].load(), 1u);

  SetCenter(share, {0, 0, 0, 8, 0, 0});
  EXPECT_EQ(ReadCenter(share).yaw, 8);
  EXPECT_EQ(ReadCenter(share).pitch, 0);
}

TEST(PoseShare, ReadersNeverSeeHalfAPose) {
  PoseShare share = {};
  std::atomic<bool> done{false};
  std::thread writer([&] {
    for (int i = 1; i <= 20000; ++i) PublishPose(share, {double(i), double(i), double(i), double(i), double(i), double(i)}, i);
    done = true;
  });
  int torn = 0;
  while (!done.load()) {
    OpentrackPose p;
    uint32_t arrival = 0;
    ReadPose(share, p, arrival);
    if (p.x != p.y || p.y != p.z || p.z != p.yaw || p.yaw != p.pitch || p.pitch != p.roll ||
        static_cast<uint32_t>(p.x) != arrival)
      ++torn;
  }
  writer.join();
  EXPECT_EQ(torn, 0);
}

TEST(PoseShare, AnswersAsATrackerThatNeedsNoCalibrationAndHasNoJoystick) {
  PoseShare share = {};
  uint8_t out[64];
  uint32_t bytes = 99;
  auto ask = [&](uint32_t code, uint32_t size = 64) { return AnswerOpentrackRequest(share, code, out, size, &bytes); };

  EXPECT_FALSE(ask(IOCTL_SET_ZERO)) << "no head seen yet: nothing to centre on";
  EXPECT_TRUE(ask(IOCTL_GET_VERSION));
  EXPECT_EQ(bytes, 4u);
  EXPECT_TRUE(ask(IOCTL_START_COLLECTION));
  EXPECT_EQ(bytes, 0u);
  EXPECT_TRUE(ask(IOCTL_STOP_COLLECTION));
  EXPECT_TRUE(ask(IOCTL_SAVE_SETTINGS));
  ASSERT_TRUE(ask(IOCTL_CALIBRATE));
  EXPECT_EQ(bytes, 2u);
  EXPECT_EQ(out[0] | out[1] << 8, 1) << "calibrated: nothing to do";
  ASSERT_TRUE(ask(IOCTL_GET_CALIBRATED));
  EXPECT_EQ(out[0] | out[1] << 8, 1);
  ASSERT_TRUE(ask(IOCTL_GET_HARDWARE_STATUS));
  uint32_t status;
  std::memcpy(&status, out, 4);
  EXPECT_EQ(status, 0x00010304u);
  EXPECT_FALSE(ask(IOCTL_GET_JOYSTICK_STATE)) << "not available";
  EXPECT_FALSE(ask(IOCTL_ENABLE_JOYSTICK));
  EXPECT_FALSE(ask(IOCTL_DISABLE_JOYSTICK));
  EXPECT_FALSE(ask(0x00220000)) << "unknown request";
  EXPECT_FALSE(ask(IOCTL_GET_VERSION, 2)) << "buffer too small";

  // Set Center takes the newest pose as rest; restoring the defaults forgets it.
  PublishPose(share, {0, 0, 0, 12, -4, 0}, 5);
  HxPositionDouble record;
  ASSERT_TRUE(AnswerPositionRequest(share, {0, 0, 0, 12, -4, 0}, IOCTL_GET_FLOAD_POSITION, &record, sizeof record, &bytes));
  EXPECT_EQ(bytes, 40u);
  EXPECT_DOUBLE_EQ(record.RX, 120);
  EXPECT_DOUBLE_EQ(record.RY, -40);
  ASSERT_TRUE(ask(IOCTL_SET_ZERO));
  ASSERT_TRUE(AnswerPositionRequest(share, {0, 0, 0, 13, -4, 0}, IOCTL_GET_FLOAD_POSITION, &record, sizeof record, &bytes));
  EXPECT_DOUBLE_EQ(record.RX, 10);
  EXPECT_DOUBLE_EQ(record.RY, 0);
  HxPosition words;
  ASSERT_TRUE(AnswerPositionRequest(share, {0, 0, 0, 13, -4, 0}, IOCTL_GET_POSITION, &words, sizeof words, &bytes));
  EXPECT_EQ(bytes, 10u);
  EXPECT_EQ(words.RX, 2010);
  EXPECT_EQ(words.RY, 2000);
  ASSERT_TRUE(ask(IOCTL_RESTORE_DEFAULT_CALIBRATION));
  EXPECT_EQ(ReadCenter(share).yaw, 0);
  EXPECT_FALSE(AnswerPositionRequest(share, {}, IOCTL_GET_POSITION, &words, 9, &bytes)) << "buffer too small";
}

TEST(TrackerChoice, StoredValuesOutsideTheirRangeFallBack) {
  struct Case {
    int32_t source, port, network;
    TrackerSource wantSource;
    int32_t wantPort;
    bool wantNetwork;
  };
  const Case cases[] = {
      {0, 4242, 0, TrackerSource::Driver, 4242, false},
      {1, 5555, 1, TrackerSource::OpentrackUdp, 5555, true},
      {2, 4242, 0, TrackerSource::Driver, 4242, false},
      {-1, 4242, 7, TrackerSource::Driver, 4242, true},
      {1, 0, 0, TrackerSource::OpentrackUdp, 4242, false},
      {1, 65536, 0, TrackerSource::OpentrackUdp, 4242, false},
      {1, 65535, 0, TrackerSource::OpentrackUdp, 65535, false},
      {1, -4242, 0, TrackerSource::OpentrackUdp, 4242, false},
  };
  for (const Case& c : cases) {
    const TrackerChoice t = TrackerChoiceFrom(c.source, c.port, c.network);
    EXPECT_EQ(t.source, c.wantSource) << c.source;
    EXPECT_EQ(t.port, c.wantPort) << c.port;
    EXPECT_EQ(t.acceptNetwork, c.wantNetwork);
  }
}
