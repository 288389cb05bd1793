#pragma once
// Where the game profiles live; the programs make it their working directory at start-up, and
// profile files are named relative to it.
#include <string>

// The fixed folder when this user can write there; otherwise `personal`, made if missing (a
// standard user cannot write under Program Files on today's Windows, and every save there
// would fail). "" when neither can be used: the program then stays where it was started.
std::string ChooseProfileFolder(const std::string& fixed, const std::string& personal);

// The user's own profiles folder, "Documents\Quellan Mouse", where setup's Start-menu
// entries also start the programs.
std::string PersonalProfileFolder();

// Chooses the folder for `fixed` and makes it the working directory; false when none was.
bool EnterProfileFolder(const char* fixed);
