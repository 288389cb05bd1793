#include "qmouse/win/sounds.h"

#include <mmsystem.h>

namespace {

// In the order of the sound ids the settings store; id n is entry n - 1.
constexpr const char* kSoundNames[kSoundCount] = {
    "BONK",       "COSMIC",     "COWBELL",    "CRYSTAL", "DINGER",
    "DOUBLEBEEP", "DOUBLECHIMES", "DRAGCHIMES", "DROPCHIMES", "KISSDRUM",
    "LEFTCHIMES", "MACHINE",    "POP",        "SIMPLECLICK", "SONAR",
};

}  // namespace

const char* SoundResourceName(int32_t id) {
  return id >= 1 && id <= kSoundCount ? kSoundNames[id - 1] : nullptr;
}

Win32SoundPlayer::Win32SoundPlayer(HMODULE module)
    : module_(module ? module : GetModuleHandleA(nullptr)) {}

// Asynchronous, so the cursor thread never waits for a sound; a new one cuts off the last.
// SND_NODEFAULT: a missing resource stays silent rather than playing the system beep.
void Win32SoundPlayer::Play(int32_t id) {
  const char* name = SoundResourceName(id);
  if (!name) return;
  PlaySoundA(name, module_, SND_RESOURCE | SND_ASYNC | SND_NODEFAULT);
}
