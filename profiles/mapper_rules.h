#pragma once
// The command options dialog (`Mapper`) and its mouse button and mouse wheel dialogs: which
// controls are usable, the description texts, and how each sub-dialog's OK result lands in the
// map being edited.
#include <array>
#include <cstdint>
#include <string>

#include "commands/command.h"

// "Move left command settings" ... "Look down command settings" by map 0-15; "" for any other.
const char* MapperTitle(int map);

// The four check boxes of the dialog.
struct MapperChecks {
  bool keys = false, buttons = false, wheel = false, power = false;
};
// Which controls are usable. `*Option` is a check box; `*Details` its "Change" button together
// with its description text.
struct MapperEnabling {
  bool keysOption, buttonsOption, wheelOption;
  bool keysDetails, buttonsDetails, wheelDetails;
  bool powerChange;
};
// A Power Command replaces everything else the motion sends, so checking it shuts the other
// three options; unchecking gives each back the state of its own check box.
MapperEnabling MapperEnablingFor(const MapperChecks& checks);

enum MapperOption { kOptionKeys, kOptionButtons, kOptionWheel };
// The description text of one option, from the map.
std::string MapperOptionText(MapperOption option, const Command& map);
// Whether checking the option's box rewrites its text (it needs something to describe).
bool MapperRewritesOnCheck(MapperOption option, const Command& map);

// Sub-dialog results on OK. Each returns whether the option's box is to be checked; the
// key result is stored even when it holds no key, the others only when they hold something.
bool ApplyKeyResult(Command& map, const std::array<int32_t, kCommandKeys>& keys, int action, int pulseRate);
bool ApplyButtonResult(Command& map, const std::array<int32_t, 5>& buttons, int action, int pulseRate);
bool ApplyWheelResult(Command& map, int direction, int method, int rate);

// Where the "Position indicator" bar goes, along the slider: its inside runs from the thumb's
// centre at the lowest dead zone to its centre at the highest, so that a reading equal to the
// dead zone fills it up to the thumb. `inset` is what the bar's frame takes on each side.
struct IndicatorSpan {
  int left, width;
};
IndicatorSpan IndicatorAlongSlider(int thumbCentreAtLowest, int thumbCentreAtHighest, int inset);

// The profile editor's use of the dialog's OK: an option counts only with something to send.
void ApplyMapperChecks(Command& map, const MapperChecks& checks);

// The mouse wheel dialog: "Up"/"Down", "Once"/"Repeatedly" and a "Slow"-"Fast" slider whose
// position p stands for the stored rate 101 - p, so small rates scroll fast.
class WheelChoice {
 public:
  // `powerForm`: a Power Command wheel tick, which has no method.
  WheelChoice(bool powerForm, int direction, int method, int rate);

  bool MethodEnabled() const { return !powerForm_; }
  bool RateEnabled() const { return !powerForm_ && method_ == 1; }
  // The radio to check, or -1 for none.
  int CheckedDirection() const { return direction_ == 0 || direction_ == 1 ? direction_ : -1; }
  int CheckedMethod() const { return method_ == 0 || method_ == 1 ? method_ : -1; }
  int SliderPosition() const;

  void ChooseDirection(int direction) { direction_ = direction; }
  void ChooseMethod(int method) { method_ = method; }
  void ReleaseSlider(int position) { rate_ = 101 - position; }

  // Unchanged until the user picks a radio or lets go of the thumb.
  int32_t Direction() const { return direction_; }
  int32_t Method() const { return method_; }
  int32_t Rate() const { return rate_; }

 private:
  bool powerForm_;
  int32_t direction_, method_, rate_;
};
