#pragma once
// The Power Command editor's working state: fifty entry slots, the lines of its list, the
// selected line, and the command being set up. The dialog feeds it the controls' events and
// shows what it returns; its list box must hold Lines() after every operation.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "commands/command.h"
#include "profiles/dialog_texts.h"

// One slot of the list. Keys are key indices, as the map stores them.
struct PowerEntry {
  std::string label;
  int32_t type = kPowerEmpty;
  int32_t delay = 0;
  int32_t duration = 0;
  int32_t wheelDirection = -1;  // -1 for entries that are no wheel tick
  std::array<int32_t, kCommandKeys> keys = {-1, -1, -1, -1};
  std::array<int32_t, kCommandButtons> buttons = {};
};
using PowerSlots = std::array<PowerEntry, kPowerEntries>;

// The "Command type:" drop-down's items, in the order of the entry types; "" for any other type.
const char* PowerTypeName(int type);

// Whether the list box's lines still belong to the slots: line i must occur within slot i's
// label, and a slot with no line must hold no command. The first fault, captioned with
// `programTitle`, or nothing.
Notice CheckPowerLists(const std::vector<std::string>& lines, const PowerSlots& slots, const char* programTitle);

class PowerListEditor {
 public:
  // The list shows the leading slots that hold an entry of a known type; whatever a file left
  // beyond them stays in its slots untouched and is never shown.
  explicit PowerListEditor(const Command& map);

  const std::vector<std::string>& Lines() const { return lines_; }
  int LineCount() const { return static_cast<int>(lines_.size()); }
  int SelectedLine() const { return selected_; }
  const PowerEntry& Slot(int slot) const { return slots_[slot]; }
  const PowerSlots& Slots() const { return slots_; }

  // Command setup. Choosing a type deselects the line; the dialog then opens the type's own
  // dialog and hands its OK result to the matching Set call.
  void ChooseType(int type);
  int ChosenType() const { return type_; }
  bool ChangeEnabled() const { return type_ != kPowerEmpty; }
  // "Change": a refusal when no type is chosen, else nothing (open ChosenType()'s dialog).
  Notice Change() const;
  void SetKeypress(const std::array<int32_t, kCommandKeys>& keys);
  void SetButtons(const std::array<int32_t, kCommandButtons>& buttons);
  void SetWheel(int direction);
  bool HasCurrent() const { return hasCurrent_; }
  const PowerEntry& Current() const { return current_; }
  // "Current command:" text.
  std::string CurrentText() const;

  // A line picked in the list box; anything outside the list deselects.
  void SelectLine(int line);
  // Sliders and the duration controls: the selected entry's, otherwise the command being set up.
  int DelayPosition() const;
  int DurationPosition() const;
  bool DurationEnabled() const { return durationEnabled_; }
  void ReleaseDelay(int position);
  void ReleaseDuration(int position);

  // List operations: each returns the refusal to show, or nothing when it took effect.
  Notice Add();
  Notice InsertBefore();
  Notice InsertAfter();
  Notice Replace();
  Notice Remove();
  void Clear();

  // The checks the dialog runs against what its list box really shows: after every list
  // operation (refused ones too), and when the window goes. Messages to show, in order.
  std::vector<Notice> CheckAfterOperation(const std::vector<std::string>& shown, const char* programTitle) const;
  std::vector<Notice> CheckOnClose(const std::vector<std::string>& shown, const char* programTitle) const;

  // OK: all fifty slots, the line count and the check box back into the map.
  void Commit(Command& map) const;

  bool repeatWhileOut;

 private:
  bool CommandMissing() const { return type_ == kPowerEmpty || !hasCurrent_; }
  void Put(int slot, bool insert);

  PowerSlots slots_;
  std::vector<std::string> lines_;
  int selected_ = -1;
  int type_ = kPowerEmpty;
  bool hasCurrent_ = false;
  PowerEntry current_;
  int32_t delay_ = 0, duration_ = 0;
  bool durationEnabled_ = true;
};
