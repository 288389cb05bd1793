#pragma once
// The head-only way out of a game or a pause: the head turned far past the screen's edge in
// the chosen direction and held there. The cursor loop feeds it every reading, engaged,
// paused or not, and acts when it fires.
#include <cstdint>

#include "qmouse/settings.h"

enum LookAwayDirection : int32_t { kLookDown = 0, kLookUp = 1, kLookLeft = 2, kLookRight = 3 };

// How far from rest the head must turn: beyond the largest dead zone a profile can set
// (2000), so no motion map is still inside it, and well beyond the turns of play.
constexpr double kLookAwayDeflection = 2500;
// The time the page offers, and what an odd stored value is brought into.
constexpr int32_t kLookAwayMinMs = 1000, kLookAwayMaxMs = 5000;

class LookAway {
 public:
  // One reading: the head's rotation from rest (RX grows to the right, RY upward) at `nowMs`
  // on a steady clock. True once per look away, when it has been held for the set time; the
  // head must come back before it can fire again.
  bool Step(const Settings& settings, double rx, double ry, int64_t nowMs);

 private:
  bool away_ = false;
  bool fired_ = false;
  int64_t since_ = 0;
};
