#pragma once
// What the profile manager decides without Windows: display names, names entered for new,
// copied and renamed profiles, reading the folder's profiles into the list's rows, matching a
// dropped game against them, and what the details view shows for each motion.
#include <cstdint>
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
  uint64_t size = 0, written = 0;  // of the file when it was read: bytes, last write time
  bool Loaded() const { return loadError.empty(); }
};

// A file the folder's search found, with what tells whether it changed since.
struct FoundFile {
  std::string name;
  uint64_t size = 0, written = 0;
};

// The names the listing takes: those ending in ".cpf" in any case, as the system's search finds
// them, and any with ".cpf" in it, so that a profile renamed to a name with ".cpf" in its middle
// stays in the list; never a save's temporary file, whoever is saving.
bool IsProfileFileName(const std::string& name);

// Whether two names, entered or listed, name one profile file as Windows compares file names:
// case aside, trailing dots and spaces dropped, ".cpf" appended as a save appends it.
bool SameProfileFile(const std::string& a, const std::string& b);

// The file name up to its first ".cpf" (case matters), or the whole name when that is empty.
std::string DisplayName(const std::string& fileName);

// The file and display names an entered name stands for: the name with ".cpf" appended when it
// holds none, else the name as entered, showing the part before the first ".cpf".
struct ProfileName {
  std::string fileName, displayName;
};
ProfileName NameFromEntry(const std::string& entered);

// The name the name dialog offers, so that OK is a single rest: "Profile N" with the first N
// from 1 whose file no row has (file names compared without regard to case, as the system does).
std::string FreeProfileName(const std::vector<ListedProfile>& rows);
// For a dropped file: its name without folder and without ".lnk" or ".exe", as the name
// dialog's filter leaves it; FreeProfileName when too little is left for a new profile.
std::string DroppedProfileName(const std::string& droppedFile, const std::vector<ListedProfile>& rows);

// New and drop-created profiles need two characters; Save as and Rename take one.
bool LongEnoughForNewProfile(const std::string& name);

// Reads `files` in the order given. Each is read on its own, so one broken file does not stand
// in the way of the next. A file with the name, size and write time of a row in `known` (the
// last listing) is taken from it rather than read again, so listing often stays cheap. Only the
// rows change: which profile is current is the selection's business, never the listing's. The
// rows grow with the folder.
std::vector<ListedProfile> ReadProfiles(const std::vector<FoundFile>& files,
                                        const std::vector<ListedProfile>& known = {});

// The last row with this file name, or -1.
int RowOf(const std::vector<ListedProfile>& rows, const std::string& fileName);
// The row of the profile an entered name would write (SameProfileFile), or -1.
int RowNamed(const std::vector<ListedProfile>& rows, const std::string& entered);

// The folder a game starts in: the profile's start folder, or else its program's own folder (a
// shortcut without "Start in" gives none).
std::string LaunchFolder(const std::string& gamePath, const std::string& startDirectory);
// A dropped program file is the game itself rather than a shortcut to it.
bool IsProgramFile(const std::string& path);
// The folder part of a path, "C:\" for "C:\x.exe"; "" when it has none.
std::string FolderOf(const std::string& path);

// The rows whose game path is `gameExe`, byte for byte, in list order; as many as there are.
std::vector<int> MatchingProfiles(const std::vector<ListedProfile>& rows, const std::string& gameExe);

// The details view: motion 0-9's picture in the view's mode (icons 0-5 the six directions
// without a command, 6-11 with one), its command text, and the game strings.
int DetailsIcon(int viewMode, int motion, const Profile& profile);
std::string DetailsCommandText(int viewMode, int motion, const Profile& profile);
std::string DetailsGameText(const std::string& text);
