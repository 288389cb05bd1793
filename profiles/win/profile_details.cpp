#include "profiles/win/profile_details.h"

#include <commctrl.h>

#include <utility>

#include "profiles/editor_rules.h"
#include "profiles/manager_rules.h"
#include "profiles/manager_texts.h"
#include "profiles/win/list_view.h"
#include "resources/profiles/resource.h"

namespace mt = manager_texts;

namespace {

constexpr int kIcons[] = {IDI_DIR_LEFT,     IDI_DIR_RIGHT,     IDI_DIR_UP,      IDI_DIR_DOWN,
                          IDI_DIR_FORWARD,  IDI_DIR_BACK,      IDI_DIR_LEFT_SET, IDI_DIR_RIGHT_SET,
                          IDI_DIR_UP_SET,   IDI_DIR_DOWN_SET,  IDI_DIR_FORWARD_SET, IDI_DIR_BACK_SET};
constexpr const char* kMotions[] = {"Move left", "Move right", "Move up",    "Move down",  "Move forward",
                                    "Move back", "Look left",  "Look right", "Look up",    "Look down"};

constexpr struct {
  int radio, mode;
} kModes[] = {{IDC_DETAILS_MOUSELOOK, kMouselook}, {IDC_DETAILS_COMMAND, kCommandMode}, {IDC_DETAILS_MIXED, kMixedMode}};

}  // namespace

ProfileDetails::ProfileDetails(const Profile& profile, std::string loadError)
    : winui::Dialog(IDD_DETAILS), profile_(profile), loadError_(std::move(loadError)), mode_(profile.Mode()) {}

BOOL ProfileDetails::OnInitDialog() {
  HWND list = Item(IDC_DETAILS_MOTIONS);
  images_ = LoadListPictures(kIcons, std::size(kIcons), IDB_MOTION_LIST);
  SetUpBlackList(list, images_.Get());

  for (const auto& m : kModes) CheckDlgButton(hwnd(), m.radio, m.mode == mode_ ? BST_CHECKED : BST_UNCHECKED);
  const struct {
    int id;
    int32_t key;
  } hotKeys[] = {{IDC_DETAILS_MOUSELOOK_KEY, profile_.mouselookHotKey},
                 {IDC_DETAILS_COMMAND_KEY, profile_.commandHotKey},
                 {IDC_DETAILS_MIXED_KEY, profile_.mixedHotKey},
                 {IDC_DETAILS_PAUSE_KEY, profile_.pauseHotKey},
                 {IDC_DETAILS_RECENTER_KEY, profile_.recenterHotKey}};
  for (const auto& h : hotKeys) SetDlgItemTextA(hwnd(), h.id, HotKeyText(h.key).c_str());
  SetDlgItemTextA(hwnd(), IDC_DETAILS_GAME_PATH, DetailsGameText(profile_.GamePath()).c_str());
  SetDlgItemTextA(hwnd(), IDC_DETAILS_START_DIR, DetailsGameText(profile_.StartDirectory()).c_str());
  SetDlgItemTextA(hwnd(), IDC_DETAILS_ARGUMENTS, DetailsGameText(profile_.GameArguments()).c_str());
  // A file that did not read has no commands to show; why it did not is worth more.
  const std::string text = loadError_.empty() ? mt::kSelectMotion : std::string(mt::kUnreadable) + "\n" + loadError_;
  SetDlgItemTextA(hwnd(), IDC_DETAILS_COMMAND_TEXT, text.c_str());
  FillList();
  return TRUE;
}

void ProfileDetails::FillList() {
  HWND list = Item(IDC_DETAILS_MOTIONS);
  ListView_DeleteAllItems(list);
  for (int motion = 0; motion < static_cast<int>(std::size(kMotions)); ++motion) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = motion;
    item.pszText = const_cast<char*>(kMotions[motion]);
    item.iImage = DetailsIcon(mode_, motion, profile_);
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
}

void ProfileDetails::ShowMotion(int motion) {
  if (motion < 0 || motion >= static_cast<int>(std::size(kMotions)) || !loadError_.empty()) return;
  SetDlgItemTextA(hwnd(), IDC_DETAILS_MOTION_NAME, kMotions[motion]);
  SetDlgItemTextA(hwnd(), IDC_DETAILS_COMMAND_TEXT, DetailsCommandText(mode_, motion, profile_).c_str());
}

void ProfileDetails::OnCommand(int id, int code) {
  for (const auto& m : kModes) {
    if (id != m.radio) continue;
    if (code == BN_CLICKED && IsDlgButtonChecked(hwnd(), id) == BST_CHECKED && mode_ != m.mode) {
      mode_ = m.mode;
      FillList();
    }
    return;
  }
  winui::Dialog::OnCommand(id, code);
}

bool ProfileDetails::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT&) {
  if (msg != WM_NOTIFY || wp != IDC_DETAILS_MOTIONS) return false;
  const auto* header = reinterpret_cast<const NMHDR*>(lp);
  if (header->code == LVN_ITEMCHANGED) {
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(lp);
    if ((change->uNewState & LVIS_SELECTED) && !(change->uOldState & LVIS_SELECTED)) ShowMotion(change->iItem);
  }
  return false;
}
