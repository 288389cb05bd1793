#include "profiles/manager_rules.h"

#include <algorithm>
#include <cctype>

#include "commands/describe.h"
#include "profiles/manager_texts.h"

namespace {
bool HasCommand(const Profile& profile, int map) {
  const Command* command = profile.Map(static_cast<size_t>(map));
  return command && command->IsSet();
}
}  // namespace

bool IsProfileFileName(const std::string& name) {
  if (name.find(kProfileExtension) != std::string::npos) return true;
  const std::string extension = ".cpf";
  if (name.size() < extension.size()) return false;
  return std::equal(extension.begin(), extension.end(), name.end() - 4,
                    [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

std::string DisplayName(const std::string& fileName) {
  const size_t at = fileName.find(kProfileExtension);
  return at == 0 || at == std::string::npos ? fileName : fileName.substr(0, at);
}

ProfileName NameFromEntry(const std::string& entered) {
  const std::string fileName = CompleteProfileName(entered);
  return {fileName, fileName == entered ? DisplayName(entered) : entered};
}

bool LongEnoughForNewProfile(const std::string& name) { return name.size() >= 2; }

std::vector<ListedProfile> ReadProfiles(const std::vector<std::string>& files, Profile& current) {
  std::vector<ListedProfile> rows;
  rows.reserve(files.size());
  Profile read;
  bool lastRead = true;
  for (const std::string& file : files) {
    ListedProfile row{file, DisplayName(file), {}, {}};
    lastRead = read.Load(file, &row.loadError);
    if (lastRead) row.gamePath = read.GamePath();
    else if (row.loadError.empty()) row.loadError = "cannot read \"" + file + "\"";
    rows.push_back(std::move(row));
  }
  if (files.empty()) return rows;
  if (lastRead) {
    current = std::move(read);
  } else {
    current.Reset();
    current.maps.clear();
  }
  return rows;
}

int RowOf(const std::vector<ListedProfile>& rows, const std::string& fileName) {
  for (size_t i = rows.size(); i-- > 0;)
    if (rows[i].fileName == fileName) return static_cast<int>(i);
  return -1;
}

std::vector<int> MatchingProfiles(const std::vector<ListedProfile>& rows, const std::string& gameExe) {
  std::vector<int> matches;
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].Loaded() && rows[i].gamePath == gameExe) matches.push_back(static_cast<int>(i));
  return matches;
}

// Look motions take the pictures of the left, right, up and down directions.
int DetailsIcon(int viewMode, int motion, const Profile& profile) {
  const bool look = motion >= 6;
  switch (viewMode) {
    case kCommandMode:
      if (look) return HasCommand(profile, motion) ? motion : motion - 6;
      return HasCommand(profile, motion) ? motion + 6 : motion;
    case kMixedMode:
      if (look) return motion;
      return HasCommand(profile, motion + 10) ? motion + 6 : motion;
    default:
      return motion;
  }
}

// Looking in command mode at a profile that runs mixed: the look motions move the cursor there.
std::string DetailsCommandText(int viewMode, int motion, const Profile& profile) {
  const int mode = viewMode == kCommandMode && motion >= 6 && profile.Mode() == kMixedMode ? kMixedMode : viewMode;
  return describeMotion(mode, motion, [&profile](int map) { return profile.Map(static_cast<size_t>(map)); });
}

std::string DetailsGameText(const std::string& text) { return text.size() > 1 ? text : manager_texts::kNone; }
