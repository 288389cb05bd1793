#include "commands/key_selection.h"

#include <algorithm>

namespace {

struct PurposeTexts {
  const char* prompt;
  const char* limitMessage;
};

const PurposeTexts kPurposeTexts[kKeyPurposes] = {
    {"Select up to four keys to press:", "You may only select up to four keys."},
    {"Select up to four keys to press:", "You may only select up to four keys."},
    {"Select the key you want to use to re-center Hxmouse at any time.",
     "You may only select one key to be the centering key."},
    {"Select the key you want to use to pause Hxmouse at any time.",
     "You may only select one key to be the pause key."},
    {"Select the key you want to use to switch Hxmouse to navigation mode at any time.",
     "You may only select one key to use for the navigation mode switch."},
    {"Select the key you want to use to switch Hxmouse to command mode at any time.",
     "You may only select one key to use for the command mode switch."},
    {"Select the key you want to use to switch Hxmouse to mixed mode at any time.",
     "You may only select one key to use for the mixed mode switch."},
    {"Select the key you want Hxprofiler to hold down for mouselook.",
     "You may only select one key for Hxprofiler to hold down in mouselook mode."},
};

const PurposeTexts* TextsOf(int purpose) {
  return purpose >= 0 && purpose < kKeyPurposes ? &kPurposeTexts[purpose] : nullptr;
}

bool TakesKeypresses(int purpose) { return purpose == kPurposeMotionKeys || purpose == kPurposePowerKeys; }

}  // namespace

const char* KeyPrompt(int purpose) {
  const PurposeTexts* t = TextsOf(purpose);
  return t ? t->prompt : "";
}

const char* KeyLimitMessage(int purpose) {
  const PurposeTexts* t = TextsOf(purpose);
  return t ? t->limitMessage : "";
}

int KeyLimit(int purpose) { return TakesKeypresses(purpose) ? kCommandKeys : 1; }

ActionChoice::ActionChoice(bool shown, int action, int pulseRate)
    : shown_(shown), action_(action), rate_(pulseRate) {}

int ActionChoice::CheckedRadio() const { return action_ >= kTap && action_ <= kPulse ? action_ : -1; }

int ActionChoice::SliderPosition() const { return std::clamp<int32_t>(rate_, 1, 100); }

// Hot keys and the freelook key have no method of their own, and the Power Command editor
// opens the dialog for a new step, so only a motion's own keys come back into the picture.
KeySelection::KeySelection(int purpose, const std::array<int32_t, kCommandKeys>& keys, int action, int pulseRate)
    : purpose_(purpose), method_(purpose == kPurposeMotionKeys, action, pulseRate) {
  if (purpose != kPurposeMotionKeys) return;
  for (int32_t key : keys)
    if (key >= 0 && key < kKeyCount) selected_.set(key);
}

bool KeySelection::Click(int index) {
  if (index < 0 || index >= kKeyCount) return true;
  if (!selected_[index] && Count() >= KeyLimit(purpose_)) return false;
  selected_.flip(index);
  return true;
}

// Picture order, not click order: the engine presses them in this order.
std::array<int32_t, kCommandKeys> KeySelection::Result() const {
  std::array<int32_t, kCommandKeys> keys;
  keys.fill(kNoKey);
  int slot = 0;
  for (int i = 0; i < kKeyCount && slot < kCommandKeys; ++i)
    if (selected_[i]) keys[slot++] = i;
  return keys;
}
