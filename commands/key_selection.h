#pragma once
// What the key command dialog decides: which keys of the picture are selected, how many a
// purpose allows, which message a refused click shows, and which of the method radios and the
// pulse-rate slider are usable. The Win32 dialog only mirrors this into its controls.
#include <array>
#include <bitset>
#include <cstdint>

#include "commands/command.h"
#include "commands/key_table.h"

// Why the dialog was opened; chooses the prompt, the limit and the limit message.
enum KeyPurpose : int {
  kPurposeMotionKeys = 0,
  kPurposePowerKeys = 1,
  kPurposeRecenterKey = 2,
  kPurposePauseKey = 3,
  kPurposeMouselookKey = 4,
  kPurposeCommandKey = 5,
  kPurposeMixedKey = 6,
  kPurposeFreelookKey = 7,
};
constexpr int kKeyPurposes = 8;

constexpr const char* kKeyDialogTitle = "Key command";
constexpr const char* kKeyMessageCaption = "Hxprofiler - Keys";

// The group box text and the refusal message of a purpose; empty for a purpose not listed.
const char* KeyPrompt(int purpose);
const char* KeyLimitMessage(int purpose);
// How many keys a purpose allows: four for the two keypress purposes, one for the rest.
int KeyLimit(int purpose);

// The "Tap", "Hold", "Toggle", "Pulse" radios and the "Slow"-"Fast" pulse-rate slider (1-100),
// as the key command and mouse button dialogs show them.
class ActionChoice {
 public:
  // `shown` false: the dialog's form has no method (radios and slider disabled).
  ActionChoice(bool shown, int action, int pulseRate);

  bool RadiosEnabled() const { return shown_; }
  // The slider and its two labels.
  bool RateEnabled() const { return shown_ && action_ == kPulse; }
  // The radio to check, or -1 when the stored action has no radio (the engine's action 4).
  int CheckedRadio() const;
  // Where the thumb stands; a rate outside 1-100 from a file sits at the nearer end.
  int SliderPosition() const;

  void Choose(int action) { action_ = action; }
  void ReleaseSlider(int position) { rate_ = position; }

  // Unchanged until the user picks a radio or lets go of the thumb.
  int32_t Action() const { return action_; }
  int32_t PulseRate() const { return rate_; }

 private:
  bool shown_;
  int32_t action_, rate_;
};

// The keyboard picture's selection for one run of the dialog.
class KeySelection {
 public:
  // Only the motion key purpose shows the current keys and the method; indices outside 0-100
  // are left out rather than shown as some other key.
  KeySelection(int purpose, const std::array<int32_t, kCommandKeys>& keys, int action, int pulseRate);

  int Purpose() const { return purpose_; }
  const char* Prompt() const { return KeyPrompt(purpose_); }
  bool IsSelected(int index) const { return index >= 0 && index < kKeyCount && selected_[index]; }
  int Count() const { return static_cast<int>(selected_.count()); }

  // A click on key `index` selects or deselects it. False when the limit refuses it: show
  // LimitMessage() with kKeyMessageCaption; either way the button shows IsSelected(index).
  bool Click(int index);
  const char* LimitMessage() const { return KeyLimitMessage(purpose_); }

  ActionChoice& Method() { return method_; }
  const ActionChoice& Method() const { return method_; }

  // The selected indices in increasing order, -1 in the slots left over.
  std::array<int32_t, kCommandKeys> Result() const;

 private:
  int purpose_;
  std::bitset<kKeyCount> selected_;
  ActionChoice method_;
};
