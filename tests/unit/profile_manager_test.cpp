// The profile manager's portable rules: names, the rows a folder gives, drop matches and the
// details view's pictures and texts.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "profiles/manager_rules.h"

namespace fs = std::filesystem;

TEST(ProfileManagerRules, EnteredNamesGiveFileAndDisplayNames) {
  const struct {
    const char *entered, *file, *display;
    bool enoughForNew;
  } rows[] = {
      {"Doom", "Doom.cpf", "Doom", true},
      {"Doom.cpf", "Doom.cpf", "Doom", true},
      {"Doom.cpf.old", "Doom.cpf.old", "Doom", true},  // ".cpf" in the middle: kept as entered
      {"x.CPF", "x.CPF.cpf", "x.CPF", true},          // the search minds case
      {".cpf", ".cpf", ".cpf", true},                  // nothing before it: the whole name shows
      {"a", "a.cpf", "a", false},
  };
  for (const auto& row : rows) {
    const ProfileName name = NameFromEntry(row.entered);
    EXPECT_EQ(name.fileName, row.file) << row.entered;
    EXPECT_EQ(name.displayName, row.display) << row.entered;
    EXPECT_EQ(DisplayName(name.fileName), row.display) << row.entered;
    EXPECT_EQ(LongEnoughForNewProfile(row.entered), row.enoughForNew) << row.entered;
    EXPECT_TRUE(IsProfileFileName(name.fileName)) << row.entered;
  }
  EXPECT_TRUE(IsProfileFileName("OLD.CPF"));
  EXPECT_FALSE(IsProfileFileName("notes.CPF.txt"));
}

class ProfileFolder : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("hx_manager_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(folder_);
    previous_ = fs::current_path();
    fs::current_path(folder_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    fs::remove_all(folder_);
  }
  static void Write(const std::string& file, const std::string& gamePath) {
    Profile p;
    p.SetGamePath(gamePath);
    ASSERT_TRUE(p.Save(file));
  }
  fs::path folder_, previous_;
};

// One unreadable file is listed with its reason and stands in nobody's way; the rows grow past
// the 200 the tables once held, and a drop is offered every match.
TEST_F(ProfileFolder, RowsKeepUnreadableFilesAndGrowWithTheFolder) {
  std::vector<std::string> files;
  for (int i = 0; i < 500; ++i) {
    files.push_back("p" + std::to_string(i) + ".cpf");
    Write(files.back(), i % 2 ? "C:\\Games\\odd.exe" : "C:\\Games\\even" + std::to_string(i) + ".exe");
  }
  std::ofstream("broken.cpf", std::ios::binary) << "not a profile";
  files.insert(files.begin() + 3, "broken.cpf");
  files.push_back("gone.cpf");

  Profile current;
  const auto start = std::chrono::steady_clock::now();
  const std::vector<ListedProfile> rows = ReadProfiles(files, current);
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("[ figure ] reading 502 profile files: %.1f ms\n", ms);

  ASSERT_EQ(rows.size(), 502u);
  EXPECT_FALSE(rows[3].Loaded());
  EXPECT_EQ(rows[3].gamePath, "");
  EXPECT_EQ(rows[5].gamePath, "C:\\Games\\even4.exe");  // the rows after the broken one read
  EXPECT_NE(rows.back().loadError.find("gone.cpf"), std::string::npos) << rows.back().loadError;
  EXPECT_EQ(RowOf(rows, "p499.cpf"), 500);
  EXPECT_EQ(current.MapListLength(), 0u);  // the last file did not read: an empty list, values reset
  EXPECT_EQ(current.GamePath(), "");

  const std::vector<int> matches = MatchingProfiles(rows, "C:\\Games\\odd.exe");
  ASSERT_EQ(matches.size(), 250u);
  EXPECT_EQ(matches.front(), 1);
  EXPECT_TRUE(MatchingProfiles(rows, "c:\\games\\odd.exe").empty());   // byte for byte
  EXPECT_TRUE(MatchingProfiles(rows, "C:\\Games\\odd.exe ").empty());  // the whole string

  ReadProfiles({"p1.cpf"}, current);
  EXPECT_EQ(current.GamePath(), "C:\\Games\\odd.exe");  // the last file read is the current one
}

TEST(ProfileManagerRules, DetailsPicturesAndTextsFollowTheViewsMode) {
  Profile p;
  p.SetMode(kMixedMode);
  p.Map(1)->usesKeys = 1, p.Map(1)->keys = {39, -1, -1, -1};  // command mode: Move right presses W
  p.Map(7)->usesWheel = 1;                                   // command mode: Look right
  p.Map(10)->usesButtons = 1, p.Map(10)->buttons[0] = 1;     // mixed mode: Move left
  const struct {
    int mode;
    std::vector<int> icons;  // motions 0-9
  } rows[] = {
      {kMouselook, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {kCommandMode, {0, 7, 2, 3, 4, 5, 0, 7, 2, 3}},
      {kMixedMode, {6, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
  };
  for (const auto& row : rows)
    for (int motion = 0; motion < 10; ++motion)
      EXPECT_EQ(DetailsIcon(row.mode, motion, p), row.icons[motion]) << row.mode << " " << motion;

  EXPECT_EQ(DetailsCommandText(kCommandMode, 7, p), "Moves the cursor to the right");  // the profile runs mixed
  EXPECT_EQ(DetailsCommandText(kCommandMode, 1, p), "Tap the W key");
  p.SetMode(kCommandMode);
  EXPECT_NE(DetailsCommandText(kCommandMode, 7, p), "Moves the cursor to the right");
  EXPECT_EQ(DetailsCommandText(kMouselook, 0, p), "Not used");
  EXPECT_EQ(DetailsGameText(""), "None");
  EXPECT_EQ(DetailsGameText("x"), "None");
  EXPECT_EQ(DetailsGameText("xy"), "xy");
}
