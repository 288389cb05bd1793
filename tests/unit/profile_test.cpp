// The profile record and its file: the exact bytes of the default profile, round trips of
// every field, the string and count forms of the archive, and damaged files, which must fail
// with a reason and leave the loaded profile as it was.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "profiles/archive.h"
#include "profiles/profile.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kDefaultSize = 53821;
constexpr size_t kCountOffset = 144;
constexpr size_t kFirstTag = 146;
constexpr size_t kFirstBody = 159;
constexpr size_t kBodySize = 3350;  // a body whose 50 labels are empty

int32_t I32At(const std::string& b, size_t off) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(b.at(off + i));
  return static_cast<int32_t>(v);
}
uint16_t U16At(const std::string& b, size_t off) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b.at(off)) | static_cast<uint8_t>(b.at(off + 1)) << 8);
}
void PutU16(std::string& b, size_t off, uint16_t v) {
  b.at(off) = static_cast<char>(v & 0xFF);
  b.at(off + 1) = static_cast<char>(v >> 8);
}
std::string U16Bytes(uint16_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
std::string U32Bytes(uint32_t v) { return U16Bytes(static_cast<uint16_t>(v)) + U16Bytes(static_cast<uint16_t>(v >> 16)); }
// The tag of map k (k >= 1) in a file whose maps have empty labels.
size_t MapTagOffset(size_t k) { return kFirstBody + kBodySize + (k - 1) * (kBodySize + 2); }

bool Read(Profile& p, const std::string& bytes, std::string* error = nullptr) {
  return p.FromBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), error);
}

std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every field set to a value of its own, labels of many lengths, long strings in all three
// prefix forms, and the list longer than the creation length with a map past the sixteenth.
Profile Populated() {
  Profile p;
  for (int i = 0; i < kMapCount; ++i) p.deadZone[i] = 100 + i * 7;
  int v = 20;
  for (auto& mode : p.axis)
    for (auto& a : mode) a = {v++, v++ % 11 + 1, v++ % 11 + 1};
  p.operatingMode = kMixedMode;
  p.pauseHotKey = 3;
  p.recenterHotKey = 4;
  p.mouselookHotKey = 5;
  p.commandHotKey = 100;
  p.mixedHotKey = 0;
  p.freelookHold = 302;
  p.SetReservedText(std::string(300, 'r'));
  p.SetGamePath(std::string(70000, 'p'));
  p.SetStartDirectory(std::string(255, 'd'));
  p.SetGameArguments(std::string(254, 'a'));
  p.maps.resize(24);
  p.maps[20] = std::make_unique<Command>();
  for (size_t m = 0; m < p.maps.size(); ++m) {
    Command* c = p.Map(m);
    if (!c) continue;
    const int32_t b = static_cast<int32_t>(m) * 1000;
    c->usesKeys = 1, c->usesButtons = 1, c->usesWheel = 1, c->usesPowerCommand = 1;
    c->keyAction = 2, c->keyPulseRate = b + 1, c->buttonAction = 3, c->buttonPulseRate = b + 2;
    c->wheelDirection = 1, c->wheelMethod = 2, c->wheelRate = b + 3, c->repeatWhileOut = 1;
    c->powerCount = kPowerEntries;
    for (int k = 0; k < kCommandKeys; ++k) c->keys[k] = b + 10 + k;
    for (int k = 0; k < kCommandButtons; ++k) c->buttons[k] = b + 20 + k;
    for (int e = 0; e < kPowerEntries; ++e) {
      const int32_t eb = b + 100 + e * 16;
      for (int k = 0; k < kCommandKeys; ++k) c->powerKeys[e][k] = eb + k;
      for (int k = 0; k < kCommandButtons; ++k) c->powerButtons[e][k] = eb + 4 + k;
      c->powerType[e] = e % 3;
      c->powerWheelDirection[e] = eb + 12;
      c->powerDelay[e] = eb + 13;
      c->powerDuration[e] = eb + 14;
      c->powerLabels[e] = "Press the following keys: " + std::string(static_cast<size_t>((m * 50 + e) % 280), 'x');
    }
  }
  return p;
}

// A folder of its own per test, removed afterwards.
class ProfileFileTest : public testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
    dir_ = fs::temp_directory_path() / ("profile_test_" + std::to_string(tick) + "_" + std::to_string(counter++));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
  fs::path dir_;
};

TEST(ProfileFormat, DefaultProfileHasTheFileLayout) {
  const std::string b = Profile().ToBytes();
  ASSERT_EQ(b.size(), kDefaultSize);
  for (int i = 0; i < kMapCount; ++i) EXPECT_EQ(I32At(b, 4 * i), 1000) << "dead zone " << i;
  for (size_t off : {64u, 76u, 88u, 100u}) {
    EXPECT_EQ(I32At(b, off), 175) << off;
    EXPECT_EQ(I32At(b, off + 4), 7) << off;
    EXPECT_EQ(I32At(b, off + 8), 7) << off;
  }
  EXPECT_EQ(I32At(b, 112), 0);
  for (size_t off = 116; off < 140; off += 4) EXPECT_EQ(I32At(b, off), -1) << off;
  EXPECT_EQ(b.substr(140, 4), std::string(4, '\0'));
  EXPECT_EQ(U16At(b, kCountOffset), 32);
  EXPECT_EQ(U16At(b, kFirstTag), 65535);
  EXPECT_EQ(U16At(b, 148), 421);
  EXPECT_EQ(U16At(b, 150), 7);
  EXPECT_EQ(b.substr(152, 7), "Command");

  // A new map's body: 13 header integers, 50 empty entries with empty labels, 12 integers.
  const int32_t header[13] = {0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 1, 0, 0};
  for (int i = 0; i < 13; ++i) EXPECT_EQ(I32At(b, kFirstBody + 4 * i), header[i]) << "header " << i;
  const int32_t entry[16] = {-1, 0, -1, 0, -1, 0, -1, 0, 0, 0, 0, 0, -1, 0, 0, 0};
  for (int e = 0; e < kPowerEntries; ++e) {
    const size_t at = kFirstBody + 52 + e * 65;
    for (int i = 0; i < 16; ++i) ASSERT_EQ(I32At(b, at + 4 * i), entry[i]) << "entry " << e << " value " << i;
    ASSERT_EQ(b.at(at + 64), '\0') << "label length of entry " << e;
  }
  const int32_t tail[12] = {-1, 0, -1, 0, -1, 0, -1, 0, 0, 0, 0, 0};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(I32At(b, kFirstBody + 3302 + 4 * i), tail[i]) << "tail " << i;

  for (size_t k = 1; k < kMapCount; ++k) EXPECT_EQ(U16At(b, MapTagOffset(k)), 32769) << "map " << k;
  for (size_t off = MapTagOffset(16) - 2; off < kDefaultSize; off += 2) EXPECT_EQ(U16At(b, off), 0) << off;
  for (size_t k = 1; k < kMapCount; ++k)
    EXPECT_EQ(b.compare(MapTagOffset(k) + 2, kBodySize, b, kFirstBody, kBodySize), 0) << "body of map " << k;
}

TEST(ProfileFormat, CreationAndReset) {
  Profile p;
  ASSERT_EQ(p.MapListLength(), 32u);
  for (size_t i = 0; i < 32; ++i) EXPECT_EQ(p.Map(i) != nullptr, i < kMapCount) << i;

  Profile changed = Populated();
  Command* map3 = changed.Map(3);
  changed.Reset();
  EXPECT_EQ(changed.Map(3), map3) << "maps are reset in place";
  EXPECT_EQ(changed.MapListLength(), 24u);
  EXPECT_EQ(changed.Mode(), kMixedMode) << "a reset keeps the operating mode";
  changed.SetMode(kMouselook);
  changed.maps.resize(32);
  changed.maps[20].reset();
  EXPECT_EQ(changed.ToBytes(), p.ToBytes());
}

