#pragma once
// The click sounds: wave resources of the program's own module.
#include <windows.h>

#include <cstdint>

#include "qmouse/dwell_seams.h"

constexpr int32_t kSoundCount = 15;
// The resource name of sound `id` (1..kSoundCount), or null for any other id.
const char* SoundResourceName(int32_t id);

class Win32SoundPlayer : public SoundPlayer {
 public:
  // `module` holds the wave resources; null means the program itself.
  explicit Win32SoundPlayer(HMODULE module = nullptr);
  void Play(int32_t id) override;

 private:
  HMODULE module_;
};
