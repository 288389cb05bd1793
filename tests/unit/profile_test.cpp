// The profile record and its file: the exact bytes of the default profile, round trips of
// every field, the string and count forms of the archive, and damaged files, which must fail
// with a reason and leave the loaded profile as it was.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

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
#include "tests/support/sample_profiles.h"

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

TEST(ProfileFormat, PopulatedProfileRoundTripsByteForByte) {
  const Profile p = Populated();
  const std::string bytes = p.ToBytes();
  // The four strings in their three prefix forms, and the list's own length.
  EXPECT_EQ(bytes.substr(140, 3), "\xFF\x2C\x01") << "300 bytes: 0xFF and a 16-bit length";
  EXPECT_EQ(bytes.substr(443, 7), "\xFF\xFF\xFF" + U32Bytes(70000)) << "70000 bytes: the 32-bit form";
  EXPECT_EQ(bytes.substr(70450, 3), std::string("\xFF\xFF\x00", 3)) << "255 bytes: three-byte prefix";
  EXPECT_EQ(bytes.substr(70708, 1), "\xFE") << "254 bytes: one-byte prefix";
  EXPECT_EQ(U16At(bytes, 70963), 24);

  Profile q;
  ASSERT_TRUE(Read(q, bytes));
  EXPECT_EQ(q.ToBytes(), bytes);
  EXPECT_EQ(q.freelookHold, 302);
  EXPECT_EQ(q.axis[kAxisMixed][kAxisYRotation].panningPoint, p.axis[kAxisMixed][kAxisYRotation].panningPoint);
  EXPECT_EQ(q.GamePath(), p.GamePath());
  ASSERT_NE(q.Map(20), nullptr);
  EXPECT_EQ(q.Map(19), nullptr);
  EXPECT_EQ(q.Map(15)->powerLabels[49], p.Map(15)->powerLabels[49]);
  EXPECT_EQ(q.Map(15)->powerDuration[49], p.Map(15)->powerDuration[49]);
}

TEST(ProfileFormat, CountOf16SavesBackWith16) {
  Profile p;
  p.maps.resize(kMapCount);
  const std::string bytes = p.ToBytes();
  ASSERT_EQ(bytes.size(), kDefaultSize - 32);
  Profile q;
  ASSERT_TRUE(Read(q, bytes));
  EXPECT_EQ(q.MapListLength(), 16u);
  EXPECT_EQ(q.ToBytes(), bytes);
}

// Each string length's prefix as written, and the value read back from it.
TEST(ArchiveFormat, StringPrefixForms) {
  struct Case {
    size_t length;
    std::string prefix;
  } cases[] = {
      {0, std::string(1, '\0')},
      {1, "\x01"},
      {254, "\xFE"},
      {255, std::string("\xFF\xFF\x00", 3)},
      {65533, "\xFF\xFD\xFF"},
      {65534, "\xFF\xFF\xFF" + U32Bytes(65534)},
      {65535, "\xFF\xFF\xFF" + U32Bytes(65535)},
      {100000, "\xFF\xFF\xFF" + U32Bytes(100000)},
  };
  for (const auto& c : cases) {
    ArchiveWriter w;
    std::string s(c.length, 'q');
    ASSERT_TRUE(w.String(s));
    const std::string written = w.Bytes();
    EXPECT_EQ(written, c.prefix + s) << c.length;
    ArchiveReader r(reinterpret_cast<const uint8_t*>(written.data()), written.size());
    std::string back = "old";
    EXPECT_TRUE(r.String(back)) << c.length;
    EXPECT_EQ(back, s) << c.length;
    EXPECT_EQ(r.Remaining(), 0u) << c.length;
  }
}

// Stored forms the writer never makes but the reader takes: values cut at a zero, wide text.
TEST(ArchiveFormat, StringsAsRead) {
  const std::string text260 = std::string(20, 't') + '\0' + std::string(239, 'u');
  struct Case {
    const char* what;
    std::string stored;
    std::string value;
  } cases[] = {
      {"260 bytes, zero at 20", "\xFF" + U16Bytes(260) + text260, std::string(20, 't')},
      {"narrow through the 32-bit form", "\xFF\xFF\xFF" + U32Bytes(3) + "abc", "abc"},
      {"wide, short prefix", "\xFF\xFE\xFF\x03" + std::string("a\0b\0c\0", 6), "abc"},
      {"wide Latin-1 stays", "\xFF\xFE\xFF\x02" + std::string("\xE9\0\xFF\0", 4), "\xE9\xFF"},
      {"wide beyond Latin-1", "\xFF\xFE\xFF\x03" + std::string("x\0\x2D\x4Ey\0", 6), "x?y"},
      {"wide surrogate pair is one character", "\xFF\xFE\xFF\x03" + std::string("\x3D\xD8\x00\xDEz\0", 6), "?z"},
      {"wide cut at zero", "\xFF\xFE\xFF\x03" + std::string("a\0\0\0b\0", 6), "a"},
      {"wide, 16-bit count", "\xFF\xFE\xFF\xFF" + U16Bytes(300) + [] {
         std::string w;
         for (int i = 0; i < 300; ++i) w += std::string("w\0", 2);
         return w;
       }(),
       std::string(300, 'w')},
      {"wide, 32-bit count", "\xFF\xFE\xFF\xFF\xFF\xFF" + U32Bytes(2) + std::string("o\0k\0", 4), "ok"},
  };
  for (const auto& c : cases) {
    const std::string stored = c.stored + "!";
    ArchiveReader r(reinterpret_cast<const uint8_t*>(stored.data()), stored.size());
    std::string value;
    EXPECT_TRUE(r.String(value)) << c.what << ": " << r.Error();
    EXPECT_EQ(value, c.value) << c.what;
    EXPECT_EQ(r.Remaining(), 1u) << c.what << ": the whole stored length is consumed";
  }

  // The same in a profile's field, read through the whole file.
  std::string file = Profile().ToBytes();
  file.replace(140, 1, "\xFF" + U16Bytes(260) + text260);
  Profile p;
  ASSERT_TRUE(Read(p, file));
  EXPECT_EQ(p.ReservedText(), std::string(20, 't'));
}

TEST(ArchiveFormat, CountForms) {
  for (uint32_t n : {0u, 65534u, 65535u, 70000u}) {
    ArchiveWriter w;
    w.Count(n);
    EXPECT_EQ(w.Bytes().size(), n < 65535 ? 2u : 6u) << n;
    std::string bytes = w.Bytes() + std::string(n, '\0');
    ArchiveReader r(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    uint32_t back = 0;
    EXPECT_TRUE(r.Count(back, 1)) << n;
    EXPECT_EQ(back, n);
    // One byte short of what the elements need.
    ArchiveReader shortReader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size() - 1);
    EXPECT_FALSE(shortReader.Count(back, 1)) << n;
  }
}

TEST(ProfileName, CpfCompletion) {
  const struct {
    const char* given;
    const char* completed;
  } cases[] = {
      {"Quake", "Quake.cpf"},        {"Quake.cpf", "Quake.cpf"},     {"a.cpf.old", "a.cpf.old"},
      {"Quake.CPF", "Quake.CPF.cpf"}, {"Quake.cp", "Quake.cp.cpf"}, {"", ".cpf"},
  };
  for (const auto& c : cases) EXPECT_EQ(CompleteProfileName(c.given), c.completed) << c.given;
}

TEST_F(ProfileFileTest, SaveCompletesTheNameAndLoadReadsItBack) {
  const Profile p = Populated();
  std::string saved;
  ASSERT_TRUE(p.Save(PathOf("Game"), &saved));
  EXPECT_EQ(saved, PathOf("Game.cpf"));
  EXPECT_FALSE(fs::exists(PathOf("Game")));
  EXPECT_EQ(FileBytes(saved), p.ToBytes());

  Profile q;
  std::string error;
  ASSERT_TRUE(q.Load(saved, &error)) << error;
  EXPECT_EQ(q.ToBytes(), p.ToBytes());

  // Saving again replaces the file and leaves no temporary file behind.
  ASSERT_TRUE(Profile().Save(saved, &saved));
  EXPECT_EQ(saved, PathOf("Game.cpf"));
  EXPECT_EQ(fs::file_size(saved), kDefaultSize);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

#ifdef _WIN32
// Names come from the ANSI file dialogs and list boxes: a name outside ASCII must reach the
// file the ANSI calls see under that name, both ways.
TEST_F(ProfileFileTest, AnsiNamesOutsideAsciiNameTheSameFile) {
  const std::string name = PathOf("Caf\xE9 \xC5ngstr\xF6m");
  ASSERT_TRUE(Populated().Save(name));
  EXPECT_NE(GetFileAttributesA((name + ".cpf").c_str()), INVALID_FILE_ATTRIBUTES);
  Profile q;
  std::string error;
  ASSERT_TRUE(q.Load(name + ".cpf", &error)) << error;
  EXPECT_EQ(q.ToBytes(), Populated().ToBytes());
}
#endif

// What Load would refuse is not saved, and the file already there stays whole.
TEST_F(ProfileFileTest, SaveRefusesWhatLoadWouldRefuseAndKeepsTheFile) {
  const std::string target = PathOf("Keep.cpf");
  ASSERT_TRUE(Populated().Save(target));
  const std::string before = FileBytes(target);
  Profile cleared, holed, shortList, huge;
  cleared.Clear();
  holed.maps[7].reset();
  shortList.maps.resize(12);
  huge.SetGamePath(std::string(64 << 20, 'p'));
  const struct {
    const Profile& profile;
    const char* reason;
  } cases[] = {{cleared, "holds 0 maps"}, {holed, "map 7 is an empty slot"},
               {shortList, "holds 12 maps"}, {huge, "too large"}};
  for (const auto& c : cases) {
    std::string error, saved;
    EXPECT_FALSE(c.profile.Save(target, &saved, &error)) << c.reason;
    EXPECT_EQ(saved, target);
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    EXPECT_TRUE(FileBytes(target) == before) << c.reason;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(ProfileFileTest, FailedSaveLeavesNoTemporaryFile) {
  // A file cannot take the place of a folder.
  fs::create_directories(PathOf("Dir.cpf/inside"));
  std::string error, saved;
  EXPECT_FALSE(Profile().Save(PathOf("Dir.cpf"), &saved, &error));
  EXPECT_NE(error.find("cannot replace"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_directory(PathOf("Dir.cpf/inside")));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);

  EXPECT_FALSE(Profile().Save(PathOf("no such folder/x"), &saved, &error));
  EXPECT_EQ(saved, PathOf("no such folder/x.cpf"));
}

// The file operations of a save, recorded, with one step made to fail and the first
// `takenNames` temporary names taken by other files.
class RecordedFiles : public SaveFiles {
 public:
  RecordedFiles(std::string failing, int takenNames) : failing_(std::move(failing)), taken_(takenNames) {}
  bool Create(const std::string& name, bool& taken, std::string& error) override {
    temp = name.substr(name.rfind('/') + 1);
    log += "create;";
    if (taken_ == 0) return Pass("create", error);
    --taken_;
    taken = true;
    return false;
  }
  bool Write(const std::string& bytes, std::string& error) override {
    written = bytes.size();
    log += "write;";
    return Pass("write", error);
  }
  bool Flush(std::string& error) override {
    log += "flush;";
    return Pass("flush", error);
  }
  bool Close(std::string& error) override {
    log += "close;";
    return Pass("close", error);
  }
  bool Rename(const std::string& from, const std::string& to, std::string& error) override {
    EXPECT_EQ(from.substr(from.rfind('/') + 1), temp);
    log += "rename to " + to.substr(to.rfind('/') + 1) + ";";
    return Pass("rename", error);
  }
  void Remove(const std::string& name) override {
    EXPECT_EQ(name.substr(name.rfind('/') + 1), temp);
    log += "remove;";
  }

  std::string log, temp;
  size_t written = 0;

 private:
  bool Pass(const char* step, std::string& error) {
    if (failing_ != step) return true;
    error = "planted failure";
    return false;
  }
  std::string failing_;
  int taken_;
};

// The bytes are on the disk (flushed) and the file closed before it takes the target's place;
// a failed step removes the temporary file, leaves the target alone and says what failed.
TEST(ProfileSave, WritesFlushesClosesThenRenamesAndUndoesAFailedStep) {
  const std::string all = "create;write;flush;close;rename to Game.cpf;";
  const struct {
    const char* failing;
    const char* log;
    const char* error;  // "" for a save that succeeds
  } cases[] = {
      {"none", "create;write;flush;close;rename to Game.cpf;", ""},
      {"create", "create;", "cannot create"},
      {"write", "create;write;close;remove;", "cannot write"},
      {"flush", "create;write;flush;close;remove;", "cannot write"},
      {"close", "create;write;flush;close;remove;", "cannot write"},
      {"rename", "create;write;flush;close;rename to Game.cpf;remove;", "cannot replace"},
  };
  for (const auto& c : cases) {
    RecordedFiles files(c.failing, 0);
    SaveFiles* before = SetSaveFiles(&files);
    std::string error;
    const bool saved = Populated().Save("/folder/Game", nullptr, &error);
    SetSaveFiles(before);
    EXPECT_EQ(saved, *c.error == 0) << c.failing;
    EXPECT_EQ(files.log, c.log) << c.failing;
    EXPECT_EQ(files.temp.rfind("Game.cpf.", 0), 0u) << files.temp;
    EXPECT_EQ(files.temp.substr(files.temp.size() - 7), ".saving") << files.temp;
    if (*c.error) {
      EXPECT_EQ(error.rfind(std::string(c.error) + " \"", 0), 0u) << c.failing << ": " << error;
      EXPECT_NE(error.find("planted failure"), std::string::npos) << error;
    }
    if (files.log.find("write") != std::string::npos) {
      EXPECT_EQ(files.written, Populated().ToBytes().size());
    }
  }
  EXPECT_EQ(all, cases[0].log);

  // Names taken by other files are passed over; when all are, the save says so.
  RecordedFiles crowded("none", 3), full("none", 1000);
  SaveFiles* before = SetSaveFiles(&crowded);
  EXPECT_TRUE(Populated().Save("/folder/Game"));
  SetSaveFiles(&full);
  std::string error;
  EXPECT_FALSE(Populated().Save("/folder/Game", nullptr, &error));
  SetSaveFiles(before);
  EXPECT_EQ(crowded.log, "create;create;create;" + all);
  EXPECT_EQ(full.log.find("write"), std::string::npos) << full.log;
  EXPECT_NE(error.find("names for a temporary file beside it are taken"), std::string::npos) << error;
}

#ifndef _WIN32
// Whatever stands under a temporary name already, here a link, is never opened.
TEST_F(ProfileFileTest, SaveWritesOnlyAFileItCreated) {
  std::ofstream(PathOf("other")) << "not a profile";
  fs::create_symlink(PathOf("other"), PathOf("Game.cpf.saving"));
  ASSERT_TRUE(Populated().Save(PathOf("Game.cpf")));
  EXPECT_TRUE(FileBytes(PathOf("other")) == "not a profile");
  EXPECT_FALSE(fs::is_symlink(PathOf("Game.cpf")));
  EXPECT_TRUE(FileBytes(PathOf("Game.cpf")) == Populated().ToBytes());
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 3);
}
#endif

#ifdef __SANITIZE_ADDRESS__
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*));
std::atomic<bool> watching{false};
std::atomic<size_t> largestAllocation{0};

// A list of empty slots, far beyond the creation length, is kept and costs memory in
// proportion to the file, not to a map per slot.
TEST_F(ProfileFileTest, LongListSavesInMemoryInProportionToTheFile) {
  static const int hooked = __sanitizer_install_malloc_and_free_hooks(
      [](const volatile void*, size_t n) {
        if (watching && n > largestAllocation) largestAllocation = n;
      },
      [](const volatile void*) {});
  ASSERT_NE(hooked, 0);
  Profile p;
  p.maps.resize(100000);
  watching = true;
  const bool saved = p.Save(PathOf("Long.cpf"));
  watching = false;
  ASSERT_TRUE(saved);
  const size_t size = fs::file_size(PathOf("Long.cpf"));
  EXPECT_EQ(size, kDefaultSize + (100000 - 32) * 2 + 4);
  EXPECT_LE(largestAllocation, 4 * size);
  Profile q;
  ASSERT_TRUE(q.Load(PathOf("Long.cpf")));
  EXPECT_EQ(q.MapListLength(), 100000u);
}
#endif

TEST_F(ProfileFileTest, LoadOfAMissingOrDamagedFileChangesNothing) {
  Profile p = Populated();
  const std::string before = p.ToBytes();
  std::string error;
  EXPECT_FALSE(p.Load(PathOf("absent.cpf"), &error));
  EXPECT_NE(error.find("cannot open"), std::string::npos) << error;

  std::string cut = Profile().ToBytes();
  cut.resize(5000);
  std::ofstream(PathOf("cut.cpf"), std::ios::binary) << cut;
  EXPECT_FALSE(p.Load(PathOf("cut.cpf"), &error));
  EXPECT_NE(error.find("ends early"), std::string::npos) << error;
  EXPECT_EQ(p.ToBytes(), before);
}

// Every prefix of a good file is a damaged one.
TEST(ProfileLoad, FileCutAtEveryOffsetFailsAndLeavesTheCurrentProfile) {
  Profile& current = CurrentProfile();
  current = Populated();
  const Command* map0 = current.Map(0);
  const std::string before = current.ToBytes();
  const std::string good = Profile().ToBytes();
  std::string error;
  for (size_t n = 0; n < good.size(); ++n) {
    error.clear();
    ASSERT_FALSE(current.FromBytes(reinterpret_cast<const uint8_t*>(good.data()), n, &error)) << n;
    ASSERT_NE(error.find("(at byte "), std::string::npos) << n << ": " << error;
    ASSERT_EQ(current.Map(0), map0) << n;
    ASSERT_EQ(current.MapListLength(), 24u) << n;
  }
  EXPECT_EQ(current.ToBytes(), before);
  ASSERT_TRUE(Read(current, good));
  EXPECT_EQ(current.ToBytes(), good);
}

// Damaged files: each fails with its reason and the byte where it was found.
TEST(ProfileLoad, DamagedFilesFailWithReasonAndOffset) {
  const std::string good = Profile().ToBytes();
  Profile count16;
  count16.maps.resize(kMapCount);
  const std::string good16 = count16.ToBytes();
  Profile holed;
  holed.maps[3].reset();
  const std::string tag3 = std::to_string(MapTagOffset(3));

  struct Case {
    const char* what;
    std::string bytes;
    const char* reason;
    std::string offset;
  } cases[] = {
      {"empty file", "", "ends early", "0"},
      {"other class", [&] { auto b = good; b[158] = 'x'; return b; }(), "class \"Commanx\"", "146"},
      {"other schema", [&] { auto b = good; PutU16(b, 148, 420); return b; }(), "schema 420", "146"},
      {"reference to a record not read yet",
       [&] { auto b = good; PutU16(b, MapTagOffset(1), 3); return b; }(), "not read yet", std::to_string(MapTagOffset(1))},
      {"reference to the class as a record",
       [&] { auto b = good; PutU16(b, MapTagOffset(1), 1); return b; }(), "is a class", std::to_string(MapTagOffset(1))},
      {"class tag naming a record",
       [&] { auto b = good; PutU16(b, MapTagOffset(2), 0x8002); return b; }(), "unknown class number 2",
       std::to_string(MapTagOffset(2))},
      {"class tag before any class", [&] { auto b = good; PutU16(b, kFirstTag, 0x8001); return b; }(),
       "unknown class number 1", "146"},
      {"32-bit reference to an unknown record",
       [&] { auto b = good; b.replace(MapTagOffset(1), 2, "\xFF\x7F" + U32Bytes(99)); return b; }(),
       "record 99", std::to_string(MapTagOffset(1))},
      {"32-bit class tag of an unknown class",
       [&] { auto b = good; b.replace(MapTagOffset(1), 2, "\xFF\x7F" + U32Bytes(0x80000005u)); return b; }(),
       "unknown class number 5", std::to_string(MapTagOffset(1))},
      {"fewer than 16 maps", [&] { auto b = good; PutU16(b, kCountOffset, 15); return b; }(), "fewer than 16", "146"},
      {"empty slot among the maps", holed.ToBytes(), "map 3 is an empty slot", tag3},
      {"a map listed twice", [&] { auto b = good16; PutU16(b, kCountOffset, 17); return b + U16Bytes(2); }(),
       "map 16 is record 2 again", std::to_string(good16.size())},
      {"count beyond the bytes left", [&] { auto b = good; PutU16(b, kCountOffset, 40000); return b; }(),
       "count 40000", "144"},
      {"32-bit count beyond the bytes left",
       [&] { auto b = good; b.replace(kCountOffset, 2, "\xFF\xFF" + U32Bytes(0xFFFFFFFFu)); return b; }(),
       "count 4294967295", "144"},
      {"string longer than the file",
       [&] { auto b = good; b.replace(140, 1, "\xFF\xFF\xFF" + U32Bytes(0xFFFFFFF0u)); return b; }(), "ends early",
       "147"},
      {"wide string longer than the file",
       [&] { auto b = good; b.replace(140, 1, "\xFF\xFE\xFF\xFF\xFF\xFF" + U32Bytes(0x7FFFFFFFu)); return b; }(),
       "ends early in a wide string", "150"},
      {"wide mark twice",
       [&] { auto b = good; b.replace(140, 1, "\xFF\xFE\xFF\xFF\xFE\xFF"); return b; }(), "wide twice", "140"},
  };
  for (const auto& c : cases) {
    Profile target = Populated();
    const Command* map0 = target.Map(0);
    std::string error;
    EXPECT_FALSE(Read(target, c.bytes, &error)) << c.what;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    EXPECT_NE(error.find("(at byte " + c.offset + ")"), std::string::npos) << c.what << ": " << error;
    EXPECT_EQ(target.Map(0), map0) << c.what;
    EXPECT_EQ(target.GamePath().size(), 70000u) << c.what;
  }
}

// Forms other writers may use, which read as the same profile.
TEST(ProfileLoad, AcceptedVariants) {
  const std::string good = Profile().ToBytes();
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"32-bit class tags",
       [&] {
         std::string b = good.substr(0, MapTagOffset(1));
         for (size_t k = 1; k < kMapCount; ++k)
           b += "\xFF\x7F" + U32Bytes(0x80000001u) + good.substr(MapTagOffset(k) + 2, kBodySize);
         return b + good.substr(MapTagOffset(16) - 2);
       }()},
      {"32-bit count", good.substr(0, kCountOffset) + "\xFF\xFF" + U32Bytes(32) + good.substr(kCountOffset + 2)},
      {"trailing bytes", good + "trailing"},
      {"wide empty string", good.substr(0, 140) + "\xFF\xFE\xFF" + std::string(1, '\0') + good.substr(141)},
  };
  for (const auto& c : cases) {
    Profile p = Populated();
    std::string error;
    EXPECT_TRUE(Read(p, c.bytes, &error)) << c.what << ": " << error;
    EXPECT_EQ(p.ToBytes(), good) << c.what;
  }
}

TEST(ProfileClear, EmptyListShowsTheMessageFirst) {
  std::vector<std::string> shown;
  SetProfileMessageHandler([&](const char* text, const char* caption) { shown.push_back(std::string(text) + "|" + caption); });
  Profile p;
  p.Clear();
  EXPECT_EQ(p.MapListLength(), 0u);
  EXPECT_TRUE(shown.empty());
  p.Clear();
  EXPECT_EQ(shown, std::vector<std::string>{"Error shutting down.|Hxprofiler"});
  EXPECT_EQ(p.MapListLength(), 0u);
  SetProfileMessageHandler(nullptr);
  p.Clear();
  EXPECT_EQ(shown.size(), 1u);
}

}  // namespace
