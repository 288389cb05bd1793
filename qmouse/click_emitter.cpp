#include "qmouse/click_emitter.h"

namespace {
constexpr int32_t kOneSoundForAll = 1;
constexpr int32_t kSoundPerEvent = 2;
}  // namespace

void ClickEmitter::PlayGlobalSound() {
  if (app_.settings.Get(Setting::SoundMode) == kOneSoundForAll) sounds_.Play(app_.settings.Get(Setting::GlobalSound));
}

void ClickEmitter::PlayEventSound(SoundEvent event) {
  if (app_.settings.Get(Setting::SoundMode) == kSoundPerEvent) sounds_.Play(app_.settings.Get(SoundSetting(event)));
}

namespace {

// The clicks that are whole in one go: their sound, button and number of clicks.
struct ClickRow {
  int32_t command;
  SoundEvent sound;
  MouseButton button;
  int times;
};
constexpr ClickRow kClicks[] = {
    {kLeftClick, SoundEvent::LeftClick, MouseButton::Left, 1},
    {kRightClick, SoundEvent::RightClick, MouseButton::Right, 1},
    {kDoubleLeftClick, SoundEvent::DoubleLeft, MouseButton::Left, 2},
    {kDoubleRightClick, SoundEvent::DoubleRight, MouseButton::Right, 2},
    {kScroll, SoundEvent::Scroll, MouseButton::Middle, 1},
};

}  // namespace

void ClickEmitter::Emit(int32_t command) {
  PlayGlobalSound();
  for (const ClickRow& row : kClicks) {
    if (row.command != command) continue;
    PlayEventSound(row.sound);
    for (int i = 0; i < row.times; ++i) {
      input_.Button(row.button, true);
      input_.Button(row.button, false);
    }
    return;
  }
  // The drags span two dwells: the first presses the button, the second releases it.
  if (command == kLeftDrag) Drag(MouseButton::Left, app_.dragLeft, SoundEvent::DragLeft, SoundEvent::DropLeft);
  if (command == kRightDrag) Drag(MouseButton::Right, app_.dragRight, SoundEvent::DragRight, SoundEvent::DropRight);
}

void ClickEmitter::LetGo() {
  if (app_.dragLeft.exchange(0)) input_.Button(MouseButton::Left, false);
  if (app_.dragRight.exchange(0)) input_.Button(MouseButton::Right, false);
}

void ClickEmitter::Drag(MouseButton button, std::atomic<int32_t>& held, SoundEvent drag, SoundEvent drop) {
  const bool starting = held.load() == 0;
  PlayEventSound(starting ? drag : drop);
  input_.Button(button, starting);
  held = starting ? 1 : 0;
}
