#include "profiles/manager_rules.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "profiles/editor_rules.h"

#include "commands/describe.h"
#include "profiles/manager_texts.h"

namespace {
bool HasCommand(const Profile& profile, int map) {
  const Command* command = profile.Map(static_cast<size_t>(map));
  return command && command->IsSet();
}
}  // namespace

namespace {
char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool EndsWithAnyCase(const std::string& name, const std::string& lowerEnd) {
  return name.size() >= lowerEnd.size() &&
         std::equal(lowerEnd.begin(), lowerEnd.end(), name.end() - static_cast<std::ptrdiff_t>(lowerEnd.size()),
                    [](char a, char b) { return a == Lower(b); });
}

std::string WithoutTrailingDotsAndSpaces(std::string name) {
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
  return name;
}

// What Windows would make of the name as a file name, in one case.
std::string FileKey(const std::string& name) {
  std::string key = WithoutTrailingDotsAndSpaces(CompleteProfileName(WithoutTrailingDotsAndSpaces(name)));
  for (char& c : key) c = Lower(c);
  return key;
}
}  // namespace

bool IsProfileFileName(const std::string& name) {
  if (EndsWithAnyCase(name, kSaveTempSuffix)) return false;
  return name.find(kProfileExtension) != std::string::npos || EndsWithAnyCase(name, ".cpf");
}

bool SameProfileFile(const std::string& a, const std::string& b) { return FileKey(a) == FileKey(b); }

std::string DisplayName(const std::string& fileName) {
  const size_t at = fileName.find(kProfileExtension);
  return at == 0 || at == std::string::npos ? fileName : fileName.substr(0, at);
}

ProfileName NameFromEntry(const std::string& entered) {
  const std::string fileName = CompleteProfileName(entered);
  return {fileName, fileName == entered ? DisplayName(entered) : entered};
}

bool LongEnoughForNewProfile(const std::string& name) { return name.size() >= 2; }

namespace {
std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}
}  // namespace

std::string FreeProfileName(const std::vector<ListedProfile>& rows) {
  std::set<std::string> taken;
  for (const ListedProfile& row : rows) taken.insert(Lower(row.fileName));
  for (size_t n = 1;; ++n) {
    const std::string name = "Profile " + std::to_string(n);
    if (!taken.count(Lower(CompleteProfileName(name)))) return name;
  }
}

std::string DroppedProfileName(const std::string& droppedFile, const std::vector<ListedProfile>& rows) {
  std::string name = droppedFile.substr(droppedFile.find_last_of("\\/:") + 1);
  const std::string lower = Lower(name);
  for (const char* extension : {".lnk", ".exe"})
    if (lower.size() > 4 && lower.compare(lower.size() - 4, 4, extension) == 0) name.resize(name.size() - 4);
  (void)FilterProfileName(name);
  return LongEnoughForNewProfile(name) ? name : FreeProfileName(rows);
}

std::vector<ListedProfile> ReadProfiles(const std::vector<FoundFile>& files,
                                        const std::vector<ListedProfile>& known) {
  std::map<std::string, const ListedProfile*> before;
  for (const ListedProfile& row : known) before[row.fileName] = &row;
  std::vector<ListedProfile> rows;
  rows.reserve(files.size());
  Profile read;
  for (const FoundFile& file : files) {
    const auto same = before.find(file.name);
    if (same != before.end() && same->second->size == file.size && same->second->written == file.written) {
      rows.push_back(*same->second);
      continue;
    }
    ListedProfile row{file.name, DisplayName(file.name), {}, {}, file.size, file.written};
    if (read.Load(file.name, &row.loadError)) row.gamePath = read.GamePath();
    else if (row.loadError.empty()) row.loadError = "cannot read \"" + file.name + "\"";
    rows.push_back(std::move(row));
  }
  return rows;
}

int RowOf(const std::vector<ListedProfile>& rows, const std::string& fileName) {
  for (size_t i = rows.size(); i-- > 0;)
    if (rows[i].fileName == fileName) return static_cast<int>(i);
  return -1;
}

int RowNamed(const std::vector<ListedProfile>& rows, const std::string& entered) {
  for (size_t i = 0; i < rows.size(); ++i)
    if (SameProfileFile(rows[i].fileName, entered)) return static_cast<int>(i);
  return -1;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  if (slash == std::string::npos) return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : std::string();
  // The root keeps its backslash: "C:" alone is the drive's current folder, not its root.
  const bool root = slash == 2 && path[1] == ':';
  return path.substr(0, root || slash == 0 ? slash + 1 : slash);
}

std::string LaunchFolder(const std::string& gamePath, const std::string& startDirectory) {
  return startDirectory.empty() ? FolderOf(gamePath) : startDirectory;
}

bool IsProgramFile(const std::string& path) { return EndsWithAnyCase(path, ".exe"); }

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
