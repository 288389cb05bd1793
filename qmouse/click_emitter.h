#pragma once
// Emits the click of a click mode where the cursor is, with its sound. Used by the dwell
// step and by gestures that perform a click.
#include <atomic>
#include <cstdint>

#include "commands/input_sink.h"
#include "qmouse/app_state.h"
#include "qmouse/dwell_seams.h"

class ClickEmitter {
 public:
  ClickEmitter(AppState& app, InputSink& input, SoundPlayer& sounds) : app_(app), input_(input), sounds_(sounds) {}
  void Emit(int32_t command);
  // The global sound, when the sound mode is "one sound for all".
  void PlayGlobalSound();
  // Lets go of a button a drag holds down: whatever stops the cursor thread ends the drag.
  void LetGo();

 private:
  void Drag(MouseButton button, std::atomic<int32_t>& held, SoundEvent drag, SoundEvent drop);
  void PlayEventSound(SoundEvent event);

  AppState& app_;
  InputSink& input_;
  SoundPlayer& sounds_;
};
