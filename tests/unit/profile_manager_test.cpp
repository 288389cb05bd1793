// The profile manager's portable rules: names, the rows a folder gives, drop matches and the
// details view's pictures and texts.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "profiles/editor_rules.h"
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
  // A save's temporary file, ours or the other program's, is never a profile.
  EXPECT_FALSE(IsProfileFileName("Doom.cpf.1234-0.saving"));
  EXPECT_FALSE(IsProfileFileName("x.cpf.old.88-7.SAVING"));
}

// Names are compared as Windows compares file names, so that no save replaces a profile
// unasked; names Windows cannot hold are refused with their reason.
TEST(ProfileManagerRules, NamesCompareAsWindowsFileNamesAndUnusableOnesAreRefused) {
  const struct {
    const char *a, *b;
    bool same;
  } pairs[] = {
      {"doom", "doom.cpf", true},   {"Doom.", "doom.cpf", true},      {"DOOM.cpf ", "doom.cpf", true},
      {"doom  . ", "Doom", true},   {"x.cpf.old", "X.cpf.OLD", true}, {"doom", "doom2", false},
      {"x.CPF", "x.cpf", false},  // no ".cpf" as the search finds it: "x.CPF.cpf" is another file
      {"doom.cpf.1-0.saving", "doom", false},
  };
  for (const auto& p : pairs) EXPECT_EQ(SameProfileFile(p.a, p.b), p.same) << p.a << " / " << p.b;

  const std::vector<ListedProfile> rows = {{"one.cpf", "one", "", ""}, {"Doom.cpf", "Doom", "", ""}};
  EXPECT_EQ(RowNamed(rows, "DOOM.cpf "), 1);
  EXPECT_EQ(RowNamed(rows, "doom."), 1);
  EXPECT_EQ(RowNamed(rows, "two"), -1);

  const struct {
    const char* entered;
    const char* refusal;  // the start of the message, "" for none
  } names[] = {
      {"CON", "Windows keeps the name \"CON\" for a device"}, {"con.x", "Windows keeps the name \"CON\""},
      {"nul .txt", "Windows keeps the name \"NUL\""},        {"Com1", "Windows keeps the name \"COM1\""},
      {"lpt9.cpf", "Windows keeps the name \"LPT9\""},       {"aux", "Windows keeps the name \"AUX\""},
      {"prn", "Windows keeps the name \"PRN\""},             {"doom.", "Windows drops a dot or a space"},
      {"doom ", "Windows drops a dot or a space"},            {"x.cpf.", "Windows drops a dot or a space"},
      {"COM0", ""}, {"LPT10", ""}, {"console", ""}, {"con1", ""}, {"my con", ""}, {"Doom", ""},
  };
  for (const auto& n : names) {
    const std::string refusal = NameRefusal(n.entered);
    EXPECT_EQ(refusal.substr(0, std::strlen(n.refusal)), n.refusal) << n.entered;
    EXPECT_EQ(refusal.empty(), *n.refusal == 0) << n.entered;
    // A save under a name whose file Windows cannot hold says why, not that temporary names are
    // taken ("doom." saves as "doom..cpf", which it can).
    std::string error;
    const NameFault fault = FileNameFault(CompleteProfileName(n.entered));
    if (fault != NameFault::kNone) {
      EXPECT_FALSE(Profile().Save(std::string("/nonexistent-folder/") + n.entered, nullptr, &error)) << n.entered;
      EXPECT_EQ(error.find("temporary"), std::string::npos) << error;
      EXPECT_NE(error.find(fault == NameFault::kDeviceName ? "is the name of a device" : "cannot end in a dot"),
                std::string::npos)
          << error;
    }
  }
}

// A game starts in its profile's start folder, or else in its program's own folder; a dropped
// program is the game itself.
TEST(ProfileManagerRules, GamesStartInTheirFolder) {
  const struct {
    const char *game, *start, *folder;
  } rows[] = {
      {"C:\\Games\\Doom\\doom.exe", "", "C:\\Games\\Doom"},
      {"C:\\Games\\Doom\\doom.exe", "D:\\Saves", "D:\\Saves"},
      {"C:\\doom.exe", "", "C:\\"},
      {"\\\\server\\share\\doom.exe", "", "\\\\server\\share"},
      {"doom.exe", "", ""},
  };
  for (const auto& r : rows) EXPECT_EQ(LaunchFolder(r.game, r.start), r.folder) << r.game << " / " << r.start;
  EXPECT_TRUE(IsProgramFile("C:\\Games\\DOOM.EXE"));
  EXPECT_FALSE(IsProgramFile("C:\\Games\\Doom.lnk"));
  EXPECT_FALSE(IsProgramFile("C:\\Games\\exe"));
}

// The name the dialog offers: the first free "Profile N", or a dropped file's own name.
TEST(ProfileManagerRules, OfferedNames) {
  auto rows = [](std::initializer_list<const char*> files) {
    std::vector<ListedProfile> listed;
    for (const char* f : files) listed.push_back({f, DisplayName(f), {}, {}});
    return listed;
  };
  EXPECT_EQ(FreeProfileName({}), "Profile 1");
  EXPECT_EQ(FreeProfileName(rows({"Profile 1.cpf", "profile 2.CPF", "Profile 4.cpf", "Doom.cpf"})), "Profile 3")
      << "taken whatever the case of the file name";
  EXPECT_EQ(FreeProfileName(rows({"Profile 1.cpf.old", "Profile 10.cpf"})), "Profile 1");
  const struct {
    const char *dropped, *offered;
  } drops[] = {
      {"C:\\Users\\Me\\Desktop\\Doom II.lnk", "Doom II"},
      {"C:\\Games\\quake.EXE", "quake"},
      {"D:/Games/Half-Life.LNK", "Half-Life"},
      {"C:\\Games\\readme.txt", "readme.txt"},
      {"C:\\x.lnk", "Profile 2"},  // one character is too short for a new profile
      {"Doom", "Doom"},
      {"", "Profile 2"},
  };
  for (const auto& d : drops) EXPECT_EQ(DroppedProfileName(d.dropped, rows({"Profile 1.cpf"})), d.offered) << d.dropped;
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
  std::vector<FoundFile> files;
  for (int i = 0; i < 500; ++i) {
    files.push_back({"p" + std::to_string(i) + ".cpf", 1, 2});
    Write(files.back().name, i % 2 ? "C:\\Games\\odd.exe" : "C:\\Games\\even" + std::to_string(i) + ".exe");
  }
  std::ofstream("broken.cpf", std::ios::binary) << "not a profile";
  files.insert(files.begin() + 3, {"broken.cpf", 1, 2});
  files.push_back({"gone.cpf", 1, 2});

  const auto start = std::chrono::steady_clock::now();
  const std::vector<ListedProfile> rows = ReadProfiles(files);
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("[ figure ] reading 502 profile files: %.1f ms\n", ms);

  ASSERT_EQ(rows.size(), 502u);
  EXPECT_FALSE(rows[3].Loaded());
  EXPECT_EQ(rows[3].gamePath, "");
  EXPECT_EQ(rows[5].gamePath, "C:\\Games\\even4.exe");  // the rows after the broken one read
  EXPECT_NE(rows.back().loadError.find("gone.cpf"), std::string::npos) << rows.back().loadError;
  EXPECT_EQ(RowOf(rows, "p499.cpf"), 500);

  const std::vector<int> matches = MatchingProfiles(rows, "C:\\Games\\odd.exe");
  ASSERT_EQ(matches.size(), 250u);
  EXPECT_EQ(matches.front(), 1);
  EXPECT_TRUE(MatchingProfiles(rows, "c:\\games\\odd.exe").empty());   // byte for byte
  EXPECT_TRUE(MatchingProfiles(rows, "C:\\Games\\odd.exe ").empty());  // the whole string

  // Listed again, a file whose size and write time did not change is taken from the last
  // listing; one that changed is read again.
  Write("p0.cpf", "C:\\Games\\changed.exe");
  Write("p2.cpf", "C:\\Games\\changed.exe");
  files[0].written = 3;
  const std::vector<ListedProfile> again = ReadProfiles(files, rows);
  ASSERT_EQ(again.size(), 502u);
  EXPECT_EQ(again[0].gamePath, "C:\\Games\\changed.exe");
  EXPECT_EQ(again[0].written, 3u);
  EXPECT_EQ(again[2].gamePath, "C:\\Games\\even2.exe");  // unchanged as far as the folder says
  EXPECT_FALSE(again[3].Loaded());
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
