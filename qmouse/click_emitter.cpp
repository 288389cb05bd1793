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

void ClickEmitter::Click(MouseButton button, int times) {
  for (int i = 0; i < times; ++i) {
    input_.Button(button, true);
    input_.Button(button, false);
  }
}

void ClickEmitter::Emit(int32_t command) {
  PlayGlobalSound();
  switch (command) {
    case kLeftClick:
      PlayEventSound(SoundEvent::LeftClick);
      Click(MouseButton::Left, 1);
      break;
    case kRightClick:
      PlayEventSound(SoundEvent::RightClick);
      Click(MouseButton::Right, 1);
      break;
    case kDoubleLeftClick:
      PlayEventSound(SoundEvent::DoubleLeft);
      Click(MouseButton::Left, 2);
      break;
    case kDoubleRightClick:
      PlayEventSound(SoundEvent::DoubleRight);
      Click(MouseButton::Right, 2);
      break;
    case kLeftDrag: {
      const bool starting = app_.dragLeft.load() == 0;
      PlayEventSound(starting ? SoundEvent::DragLeft : SoundEvent::DropLeft);
      input_.Button(MouseButton::Left, starting);
      app_.dragLeft = starting ? 1 : 0;
      break;
    }
    case kRightDrag: {
      const bool starting = app_.dragRight.load() == 0;
      PlayEventSound(starting ? SoundEvent::DragRight : SoundEvent::DropRight);
      input_.Button(MouseButton::Right, starting);
      app_.dragRight = starting ? 1 : 0;
      break;
    }
    case kScroll:
      PlayEventSound(SoundEvent::Scroll);
      Click(MouseButton::Middle, 1);
      break;
    default:
      break;
  }
}
