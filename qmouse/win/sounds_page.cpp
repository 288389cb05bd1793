#include "qmouse/win/sounds_page.h"

#include "qmouse/settings_pages.h"
#include "qmouse/texts.h"
#include "resources/qmouse/resource.h"

namespace {
// The radios by sound mode.
constexpr int kModeRadios[] = {IDC_SOUND_NONE, IDC_SOUND_ONE, IDC_SOUND_UNIQUE};
}  // namespace

SoundsPage::SoundsPage(Settings& values) : SettingsPage(IDD_PAGE_SOUNDS, values) {}

Setting SoundsPage::EventSound() const { return SoundSetting(static_cast<SoundEvent>(event_ + 1)); }

BOOL SoundsPage::OnInitDialog() {
  HWND events = Item(IDC_SOUND_EVENT);
  SendMessageA(events, CB_RESETCONTENT, 0, 0);
  for (const char* name : texts::kSoundEventNames) SendMessageA(events, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  HWND sounds = Item(IDC_SOUND_LIST);
  SendMessageA(sounds, CB_RESETCONTENT, 0, 0);
  for (const char* name : texts::kSoundNames) SendMessageA(sounds, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  EnlargeList(IDC_SOUND_EVENT);
  EnlargeList(IDC_SOUND_LIST);

  // A mode outside 0..2 checks no radio and leaves both lists off until the user picks one.
  const int32_t mode = Values().Get(Setting::SoundMode);
  for (int i = 0; i < 3; ++i) CheckDlgButton(hwnd(), kModeRadios[i], i == mode ? BST_CHECKED : BST_UNCHECKED);
  event_ = 0;
  if (mode == 1) {
    ShowSound(Setting::GlobalSound);
  } else if (mode == 2) {
    SendMessageA(events, CB_SETCURSEL, 0, 0);
    ShowSound(EventSound());
  }
  EnableLists();
  return TRUE;
}

void SoundsPage::EnableLists() {
  const SoundListAccess access = SoundListsFor(Values().Get(Setting::SoundMode));
  EnableWindow(Item(IDC_SOUND_EVENT), access.events);
  EnableWindow(Item(IDC_SOUND_LIST), access.sounds);
}

// An id outside the list shows no selection; the stored value stays as it is.
void SoundsPage::ShowSound(Setting sound) {
  SendMessageA(Item(IDC_SOUND_LIST), CB_SETCURSEL, static_cast<WPARAM>(SoundChoice(Values().Get(sound))), 0);
}

void SoundsPage::OnPageCommand(int id, int code) {
  if (code == BN_CLICKED) {
    for (int mode = 0; mode < 3; ++mode) {
      if (kModeRadios[mode] != id || IsDlgButtonChecked(hwnd(), id) != BST_CHECKED) continue;
      Values().Set(Setting::SoundMode, mode);
      SetModified(true);
      EnableLists();
    }
    return;
  }
  if (code != CBN_SELCHANGE) return;
  if (id == IDC_SOUND_EVENT) {
    const int chosen = static_cast<int>(SendMessageA(Item(IDC_SOUND_EVENT), CB_GETCURSEL, 0, 0));
    if (chosen < 0) return;
    event_ = chosen;
    ShowSound(EventSound());
    SetModified(true);
  } else if (id == IDC_SOUND_LIST) {
    const int32_t mode = Values().Get(Setting::SoundMode);
    const int sound = static_cast<int>(SendMessageA(Item(IDC_SOUND_LIST), CB_GETCURSEL, 0, 0));
    const bool eventChosen = SendMessageA(Item(IDC_SOUND_EVENT), CB_GETCURSEL, 0, 0) >= 0;
    if (mode == 1 && sound >= 0) {
      Values().Set(Setting::GlobalSound, sound);
    } else if (mode == 2 && sound >= 0 && eventChosen) {
      Values().Set(EventSound(), sound);
    }
    if (mode == 1 || mode == 2) SetModified(true);
  }
}
