#include "profiles/power_list.h"

#include <algorithm>

#include "commands/describe.h"
#include "commands/key_table.h"

namespace dt = dialog_texts;

namespace {

bool KnownType(int32_t type) { return type >= kPowerKeypress && type <= kPowerWheelTick; }

int SliderPosition(int32_t value) { return std::clamp<int32_t>(value, 0, 100); }

}  // namespace

const char* PowerTypeName(int type) {
  static const char* const names[] = {"Keypress", "Mouse button click", "Mouse wheel tick"};
  return KnownType(type) ? names[type] : "";
}

// A slot of unknown type is nothing this editor could have set, so it is no null-entry command.
Notice CheckPowerLists(const std::vector<std::string>& lines, const PowerSlots& slots, const char* programTitle) {
  for (size_t i = 0; i < slots.size(); ++i) {
    if (i < lines.size()) {
      if (slots[i].label.find(lines[i]) == std::string::npos) return {dt::kLineMismatch, programTitle};
    } else if (slots[i].label.size() > 1 && KnownType(slots[i].type)) {
      return {dt::kNullEntrySet, programTitle};
    }
  }
  return {};
}

PowerListEditor::PowerListEditor(const Command& map) : repeatWhileOut(map.repeatWhileOut) {
  for (int i = 0; i < kPowerEntries; ++i) {
    PowerEntry& e = slots_[i];
    e.label = map.powerLabels[i];
    e.type = map.powerType[i];
    e.delay = map.powerDelay[i];
    e.duration = map.powerDuration[i];
    e.wheelDirection = map.powerWheelDirection[i];
    e.keys = map.powerKeys[i];
    e.buttons = map.powerButtons[i];
  }
  // powerCount is not trusted: the types say which slots hold entries.
  for (int i = 0; i < kPowerEntries && KnownType(slots_[i].type); ++i) lines_.push_back(slots_[i].label);
}

void PowerListEditor::ChooseType(int type) {
  type_ = KnownType(type) ? type : kPowerEmpty;
  selected_ = -1;
  durationEnabled_ = type_ != kPowerWheelTick;
}

Notice PowerListEditor::Change() const {
  if (type_ == kPowerEmpty) return {dt::kChangeWithoutType, dt::kCaption};
  return {};
}

void PowerListEditor::SetKeypress(const std::array<int32_t, kCommandKeys>& keys) {
  hasCurrent_ = keys[0] != kNoKey;
  if (!hasCurrent_) return;
  current_ = PowerEntry{};
  current_.type = kPowerKeypress;
  current_.keys = keys;
  current_.delay = delay_;
  current_.duration = duration_;
  current_.label = describePowerKeys(KeyIndexToKeyCode(keys[0]), KeyIndexToKeyCode(keys[1]),
                                     KeyIndexToKeyCode(keys[2]), KeyIndexToKeyCode(keys[3]));
}

void PowerListEditor::SetButtons(const std::array<int32_t, kCommandButtons>& buttons) {
  hasCurrent_ = std::any_of(buttons.begin(), buttons.begin() + 5, [](int32_t b) { return b != 0; });
  if (!hasCurrent_) return;
  current_ = PowerEntry{};
  current_.type = kPowerButtonClick;
  current_.buttons = buttons;
  current_.delay = delay_;
  current_.duration = duration_;
  const auto& b = buttons;
  current_.label = describePowerButtons(b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7]);
}

// A wheel tick has no duration: the engine sends it once and moves on.
void PowerListEditor::SetWheel(int direction) {
  hasCurrent_ = direction == 0 || direction == 1;
  if (!hasCurrent_) return;
  current_ = PowerEntry{};
  current_.type = kPowerWheelTick;
  current_.wheelDirection = direction;
  current_.delay = delay_;
  current_.label = describePowerWheel(direction);
}

std::string PowerListEditor::CurrentText() const { return hasCurrent_ ? current_.label : dt::kNoCommandSet; }

void PowerListEditor::SelectLine(int line) {
  selected_ = line >= 0 && line < LineCount() ? line : -1;
  if (selected_ >= 0) durationEnabled_ = slots_[selected_].type != kPowerWheelTick;
}

int PowerListEditor::DelayPosition() const {
  return SliderPosition(selected_ >= 0 ? slots_[selected_].delay : delay_);
}

int PowerListEditor::DurationPosition() const {
  return SliderPosition(selected_ >= 0 ? slots_[selected_].duration : duration_);
}

void PowerListEditor::ReleaseDelay(int position) {
  if (selected_ >= 0) {
    slots_[selected_].delay = position;
    return;
  }
  delay_ = current_.delay = position;
}

void PowerListEditor::ReleaseDuration(int position) {
  if (selected_ >= 0) {
    slots_[selected_].duration = position;
    return;
  }
  duration_ = position;
  if (current_.type != kPowerWheelTick) current_.duration = position;
}

// The current command into `slot`; inserting first moves the entries from there down one slot.
void PowerListEditor::Put(int slot, bool insert) {
  const int n = LineCount();
  if (insert) {
    std::move_backward(slots_.begin() + slot, slots_.begin() + n, slots_.begin() + n + 1);
    lines_.insert(lines_.begin() + slot, current_.label);
    if (selected_ >= slot) ++selected_;  // the selection stays on its entry, as a list box's does
  } else if (slot == n) {
    lines_.push_back(current_.label);
  } else {
    lines_[slot] = current_.label;
  }
  slots_[slot] = current_;
}

Notice PowerListEditor::Add() {
  if (CommandMissing()) return {dt::kAddWithoutCommand, dt::kCaption};
  if (LineCount() >= kPowerEntries) return {dt::kCannotAddMore, dt::kCaption};
  Put(LineCount(), false);
  return {};
}

Notice PowerListEditor::InsertBefore() {
  if (CommandMissing()) return {dt::kInsertWithoutCommand, dt::kCaption};
  if (LineCount() >= kPowerEntries) return {dt::kCannotHaveMore, dt::kCaption};
  if (selected_ < 0) return {dt::kInsertWithoutLine, dt::kCaption};
  Put(selected_, true);
  return {};
}

Notice PowerListEditor::InsertAfter() {
  if (CommandMissing()) return {dt::kInsertWithoutCommand, dt::kCaption};
  if (LineCount() >= kPowerEntries) return {dt::kCannotAddMore, dt::kCaption};
  if (selected_ < 0) return {dt::kInsertWithoutLine, dt::kCaption};
  Put(selected_ + 1, true);
  return {};
}

Notice PowerListEditor::Replace() {
  if (CommandMissing()) return {dt::kReplaceWithoutCommand, dt::kCaption};
  if (selected_ < 0) return {dt::kReplaceWithoutLine, dt::kCaption};
  Put(selected_, false);
  return {};
}

Notice PowerListEditor::Remove() {
  if (selected_ < 0) return {dt::kRemoveWithoutLine, dt::kCaption};
  const int n = LineCount();
  if (n == 1) {
    Clear();
    return {};
  }
  std::move(slots_.begin() + selected_ + 1, slots_.begin() + n, slots_.begin() + selected_);
  slots_[n - 1] = PowerEntry{};
  lines_.erase(lines_.begin() + selected_);
  if (selected_ >= LineCount()) selected_ = -1;
  return {};
}

void PowerListEditor::Clear() {
  slots_.fill(PowerEntry{});
  lines_.clear();
  selected_ = -1;
}

std::vector<Notice> PowerListEditor::CheckAfterOperation(const std::vector<std::string>& shown,
                                                         const char* programTitle) const {
  const Notice fault = CheckPowerLists(shown, slots_, programTitle);
  if (!fault) return {};
  return {fault, {dt::kOutOfSyncAfterOperation, dt::kErrorCaption}};
}

std::vector<Notice> PowerListEditor::CheckOnClose(const std::vector<std::string>& shown,
                                                  const char* programTitle) const {
  const Notice fault = CheckPowerLists(shown, slots_, programTitle);
  if (!fault) return {};
  return {fault, {dt::kOutOfSyncOnClose, dt::kInternalErrorCaption}};
}

void PowerListEditor::Commit(Command& map) const {
  for (int i = 0; i < kPowerEntries; ++i) {
    const PowerEntry& e = slots_[i];
    map.powerLabels[i] = e.label;
    map.powerType[i] = e.type;
    map.powerDelay[i] = e.delay;
    map.powerDuration[i] = e.duration;
    map.powerWheelDirection[i] = e.wheelDirection;
    map.powerKeys[i] = e.keys;
    map.powerButtons[i] = e.buttons;
  }
  map.powerCount = LineCount();
  map.repeatWhileOut = repeatWhileOut;
}
