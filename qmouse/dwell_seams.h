#pragma once
// What the dwell step and the click emitter need besides the desktop: the two progress
// indicators and the click sounds.
#include <cstdint>

#include "qmouse/geometry.h"

enum class Indicator { Horizontal, Vertical };

class DwellIndicators {
 public:
  virtual ~DwellIndicators() = default;
  // Shows the indicator at `bounds` (screen pixels), topmost, without activating it, empty,
  // filling in `color` (0x00BBGGRR).
  virtual void Show(Indicator which, const Rect& bounds, int32_t color) = 0;
  virtual void Hide(Indicator which) = 0;
  // Fills the indicator for `elapsed` readings of `dwellTime`; returns the pixels still
  // unfilled (see ProgressFill).
  virtual int32_t Progress(Indicator which, int32_t elapsed, int32_t dwellTime) = 0;
};

class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  // Plays sound `id` (1..15) asynchronously, cutting off one still playing; other ids play nothing.
  virtual void Play(int32_t id) = 0;
};

// The filled extent of an indicator `size` pixels long after `elapsed` readings of
// `dwellTime`. The 1.5 added per reading makes it fill before dwellTime readings have passed.
int32_t ProgressFill(int32_t size, int32_t elapsed, int32_t dwellTime);
