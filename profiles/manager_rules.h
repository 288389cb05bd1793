#pragma once
// What the profile manager decides without Windows: display names, names entered for new,
// copied and renamed profiles, reading the folder's profiles into the list's rows, matching a
// dropped game against them, and what the details view shows for each motion.
#include <string>
#include <vector>

#include "profiles/profile.h"

// One row of the manager's list. A file that did not read keeps its reason, so the details
// view can say why, and is never saved over unless the user edits it.
struct ListedProfile {
  std::string fileName;     // with ".cpf"
  std::string displayName;  // the file name up to its first ".cpf"
  std::string gamePath;     // empty for a file that did not read
  std::string loadError;    // empty when the file read
  bool Loaded() const { return loadError.empty(); }
};

// The names the listing takes: those ending in ".cpf" in any case, as the system's search finds
// them, and any with ".cpf" in it, so that a profile renamed to a name with ".cpf" in its middle
// stays in the list.
bool IsProfileFileName(const std::string& name);

// The file name up to its first ".cpf" (case matters), or the whole name when that is empty.
std::string DisplayName(const std::string& fileName);

// The file and display names an entered name stands for: the name with ".cpf" appended when it
// holds none, else the name as entered, showing the part before the first ".cpf".
struct ProfileName {
  std::string fileName, displayName;
};
ProfileName NameFromEntry(const std::string& entered);

// New and drop-created profiles need two characters; Save as and Rename take one.
bool LongEnoughForNewProfile(const std::string& name);

// Reads `files` in the order given. Each is read on its own, so one broken file does not stand
// in the way of the next; afterwards `current` holds the last file as a Clear and Load leave it
// (emptied, with its values reset, when that file did not read). The rows grow with the folder.
std::vector<ListedProfile> ReadProfiles(const std::vector<std::string>& files, Profile& current);

// The last row with this file name, or -1.
int RowOf(const std::vector<ListedProfile>& rows, const std::string& fileName);

// The rows whose game path is `gameExe`, byte for byte, in list order; as many as there are.
std::vector<int> MatchingProfiles(const std::vector<ListedProfile>& rows, const std::string& gameExe);

// The details view: motion 0-9's picture in the view's mode (icons 0-5 the six directions
// without a command, 6-11 with one), its command text, and the game strings.
int DetailsIcon(int viewMode, int motion, const Profile& profile);
std::string DetailsCommandText(int viewMode, int motion, const Profile& profile);
std::string DetailsGameText(const std::string& text);
