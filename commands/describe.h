#pragma once
// The texts that show a command to the user: the profile editor, the Power Command editor and
// the profile details view. Power Command entry labels built here are stored in the profile.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "commands/command.h"

// Mouse buttons 1-5 of a motion's button command; a button is set when non-zero.
std::string describeButtons(int action, int b1, int b2, int b3, int b4, int b5);
// The command options dialog's wording of the same text.
std::string describeOptionsButtons(int action, int b1, int b2, int b3, int b4, int b5);
// k1-k4 are key indices.
std::string describeKeys(int action, int k1, int k2, int k3, int k4);
std::string describeWheel(int method, int direction);
// The profile details view's summary of motion 0-9. `mapAt` gives the profile's map of that
// number; an empty slot (null) reads as a command that sends nothing.
using MapLookup = std::function<const Command*(int map)>;
std::string describeMotion(int mode, int motion, const MapLookup& mapAt);

// Power Command entry labels.
std::string describePowerButtons(int b1, int b2, int b3, int b4, int b5, int b6, int b7, int b8);
// k1-k4 are key code bytes, as the Power Command editor keeps them.
std::string describePowerKeys(int k1, int k2, int k3, int k4);
std::string describePowerWheel(int direction);
