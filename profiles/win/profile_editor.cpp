#include "profiles/win/profile_editor.h"

#include <commdlg.h>
#include <shellapi.h>

#include <utility>
#include <vector>

#include "commands/key_selection.h"
#include "commands/win/key_command_dialog.h"
#include "profiles/dialog_texts.h"
#include "profiles/editor_rules.h"
#include "profiles/profile.h"
#include "profiles/win/axis_options_dialog.h"
#include "profiles/win/list_view.h"
#include "profiles/win/mapper.h"
#include "profiles/win/shell_link.h"
#include "resources/profiles/resource.h"

namespace dt = dialog_texts;

namespace {

constexpr int kMotionIcons[] = {IDI_DIR_LEFT,      IDI_DIR_RIGHT,      IDI_DIR_UP,      IDI_DIR_DOWN,
                                IDI_DIR_FORWARD,   IDI_DIR_BACK,       IDI_DIR_LEFT_SET, IDI_DIR_RIGHT_SET,
                                IDI_DIR_UP_SET,    IDI_DIR_DOWN_SET,   IDI_DIR_FORWARD_SET, IDI_DIR_BACK_SET,
                                IDI_ROTATION_X,    IDI_ROTATION_Y};

struct HotKeyRow {
  int button, text, purpose;
  int32_t Profile::*field;
};
constexpr HotKeyRow kHotKeys[] = {
    {IDC_EDITOR_PAUSE_SET, IDC_EDITOR_PAUSE_TEXT, kPurposePauseKey, &Profile::pauseHotKey},
    {IDC_EDITOR_RECENTER_SET, IDC_EDITOR_RECENTER_TEXT, kPurposeRecenterKey, &Profile::recenterHotKey},
    {IDC_EDITOR_MOUSELOOK_SET, IDC_EDITOR_MOUSELOOK_TEXT, kPurposeMouselookKey, &Profile::mouselookHotKey},
    {IDC_EDITOR_COMMAND_SET, IDC_EDITOR_COMMAND_TEXT, kPurposeCommandKey, &Profile::commandHotKey},
    {IDC_EDITOR_MIXED_SET, IDC_EDITOR_MIXED_TEXT, kPurposeMixedKey, &Profile::mixedHotKey},
};

constexpr struct {
  int radio, mode;
} kModes[] = {{IDC_EDITOR_MOUSELOOK, kMouselook}, {IDC_EDITOR_COMMAND, kCommandMode}, {IDC_EDITOR_MIXED, kMixedMode}};

}  // namespace

ProfileEditor::ProfileEditor()
    : ProfileEditor(WorkingProfile().Mode(), WorkingProfile().GamePath(), WorkingProfile().StartDirectory(),
                    WorkingProfile().GameArguments()) {}

ProfileEditor::ProfileEditor(int mode, std::string gamePath, std::string startDirectory, std::string gameArguments)
    : winui::Dialog(IDD_PROFILE_EDITOR), mode_(mode), gamePath_(std::move(gamePath)),
      startDirectory_(std::move(startDirectory)), gameArguments_(std::move(gameArguments)) {
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
}

ProfileEditor::~ProfileEditor() = default;

BOOL ProfileEditor::OnInitDialog() {
  HWND list = Item(IDC_EDITOR_MOTIONS);
  images_ = LoadListPictures(kMotionIcons, std::size(kMotionIcons), IDB_MOTION_LIST);
  SetUpBlackList(list, images_.Get());

  for (const auto& m : kModes) CheckDlgButton(hwnd(), m.radio, m.mode == mode_ ? BST_CHECKED : BST_UNCHECKED);
  FillList();
  SetDlgItemTextA(hwnd(), IDC_EDITOR_GAME, GameText(gamePath_).c_str());
  ShowHotKeys();
  return TRUE;
}

// The radios as they stand; a mode none of them shows stays what it was.
int ProfileEditor::ReadMode() const {
  for (const auto& m : kModes)
    if (IsDlgButtonChecked(hwnd(), m.radio) == BST_CHECKED) return m.mode;
  return mode_;
}

void ProfileEditor::FillList() {
  HWND list = Item(IDC_EDITOR_MOTIONS);
  ListView_DeleteAllItems(list);
  const std::vector<MotionItem> items = MotionList(mode_, WorkingProfile());
  for (size_t i = 0; i < items.size(); ++i) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = static_cast<int>(i);
    item.pszText = const_cast<char*>(items[i].label);
    item.iImage = items[i].image;
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  if (selected_ >= 0 && selected_ < static_cast<int>(items.size()))
    ListView_SetItemState(list, selected_, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void ProfileEditor::ShowHotKeys() {
  for (const auto& row : kHotKeys)
    SetDlgItemTextA(hwnd(), row.text, HotKeyText(WorkingProfile().*row.field).c_str());
}

void ProfileEditor::OnCommand(int id, int code) {
  for (size_t row = 0; row < std::size(kHotKeys); ++row)
    if (id == kHotKeys[row].button) return code == BN_CLICKED ? SetHotKey(static_cast<int>(row)) : void();
  switch (id) {
    case IDC_EDITOR_MOUSELOOK:
    case IDC_EDITOR_COMMAND:
    case IDC_EDITOR_MIXED:
      if (code != BN_CLICKED || ReadMode() == mode_) return;
      mode_ = ReadMode();
      selected_ = -1;  // the items are others now
      FillList();
      return;
    case IDC_EDITOR_EDIT:
      if (code == BN_CLICKED) EditMotion();
      return;
    case IDC_EDITOR_CLEAR:
      if (code == BN_CLICKED) ClearMotion();
      return;
    case IDC_EDITOR_CLEAR_ALL:
      if (code == BN_CLICKED) ClearAllMotions();
      return;
    case IDC_EDITOR_GAME_BROWSE:
      if (code == BN_CLICKED) Browse();
      return;
    case IDOK:
      mode_ = ReadMode();
      End(IDOK);
      return;
  }
  winui::Dialog::OnCommand(id, code);
}

bool ProfileEditor::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_DROPFILES) {
    OnDrop(reinterpret_cast<HDROP>(wp));
    return true;
  }
  if (msg != WM_NOTIFY || wp != IDC_EDITOR_MOTIONS) return false;
  const auto* header = reinterpret_cast<const NMHDR*>(lp);
  if (header->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
    result = DrawSelection(*reinterpret_cast<NMLVCUSTOMDRAW*>(lp));
    return true;
  }
  if (header->code == LVN_ITEMCHANGED) {
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(lp);
    if ((change->uNewState & LVIS_SELECTED) && !(change->uOldState & LVIS_SELECTED)) {
      selected_ = change->iItem;
      EnableWindow(Item(IDC_EDITOR_EDIT), TRUE);
    }
    return false;
  }
  if (header->code == static_cast<UINT>(NM_DBLCLK)) {
    const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(lp);
    if (click->iItem >= 0) {
      selected_ = click->iItem;
      EditMotion();
    }
    return true;
  }
  return false;
}

// Once the list loses the focus the system paints its selection light grey, under our white
// text; we paint it in the selection colour whatever has the focus.
LRESULT ProfileEditor::DrawSelection(NMLVCUSTOMDRAW& draw) {
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
  const int item = static_cast<int>(draw.nmcd.dwItemSpec);
  if (ListView_GetItemState(draw.nmcd.hdr.hwndFrom, item, LVIS_SELECTED) & LVIS_SELECTED) {
    draw.nmcd.uItemState &= ~(CDIS_SELECTED | CDIS_FOCUS);
    draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
  }
  return CDRF_DODEFAULT;
}

// Escape cannot be a hot key: the dialog's index 0 leaves the hot key unset.
void ProfileEditor::SetHotKey(int row) {
  KeyCommandDialog keys(kHotKeys[row].purpose, {kNoKey, kNoKey, kNoKey, kNoKey}, kTap, 1);
  if (keys.DoModal(hwnd()) != IDOK) return;
  int32_t& hotKey = WorkingProfile().*kHotKeys[row].field;
  hotKey = HotKeyFromDialog(keys.Keys()[0]);
  SetDlgItemTextA(hwnd(), kHotKeys[row].text, HotKeyText(hotKey).c_str());
}

void ProfileEditor::EditMotion() {
  Profile& working = WorkingProfile();
  const std::vector<MotionItem> items = MotionList(mode_, working);
  if (selected_ < 0 || selected_ >= static_cast<int>(items.size())) {
    MessageBoxA(hwnd(), dt::kEditWithoutMotion, dt::kCaption, MB_OK);
    return;
  }
  const MotionItem& item = items[selected_];
  if (item.axis >= 0) {
    AxisOptions& options = working.axis[mode_ == kMouselook ? kAxisMouselook : kAxisMixed][item.axis];
    AxisOptionsDialog dialog(options);
    if (dialog.DoModal(hwnd()) == IDOK) options = dialog.Options();
  } else if (Command* map = working.Map(item.map)) {
    const MapperChecks checks{map->usesKeys != 0, map->usesButtons != 0, map->usesWheel != 0,
                              map->usesPowerCommand != 0};
    Mapper dialog(*map, item.map, selected_, checks, working.deadZone[item.map]);
    if (dialog.DoModal(hwnd()) == IDOK) {
      ApplyMapperChecks(*map, dialog.Checks());
      working.deadZone[item.map] = dialog.DeadZone();
    }
  }
  FillList();
}

void ProfileEditor::ClearMotion() {
  const ClearPlan plan = PlanClearMotion(mode_, selected_);
  if (plan.refusal) {
    MessageBoxA(hwnd(), plan.refusal.text, plan.refusal.caption, MB_OK);
    return;
  }
  if (plan.map < 0) return;
  if (MessageBoxA(hwnd(), dt::kClearMotionQuestion, dt::kCaption, MB_YESNO) != IDYES) return;
  if (Command* map = WorkingProfile().Map(plan.map)) map->reset();
  FillList();
}

void ProfileEditor::ClearAllMotions() {
  if (MessageBoxA(hwnd(), dt::kClearAllQuestion, dt::kCaption, MB_YESNO) != IDYES) return;
  ClearAll(WorkingProfile());
  ShowHotKeys();
  FillList();
}

void ProfileEditor::OnDrop(HDROP drop) {
  const std::string file = FirstDroppedFile(drop);
  DragFinish(drop);
  if (!file.empty()) SetGameFrom(file);
}

// The standard Open dialog, for choosing the game without dragging its icon.
void ProfileEditor::Browse() {
  char file[MAX_PATH + 1] = {};
  OPENFILENAMEA open = {};
  open.lStructSize = sizeof open;
  open.hwndOwner = hwnd();
  open.lpstrFilter = "Programs and shortcuts (*.exe, *.lnk)\0*.exe;*.lnk\0All files\0*.*\0";
  open.lpstrFile = file;
  open.nMaxFile = MAX_PATH;
  // A shortcut comes back as itself, to be resolved as a dropped one is.
  open.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NODEREFERENCELINKS;
  if (GetOpenFileNameA(&open)) SetGameFrom(file);
}

void ProfileEditor::SetGameFrom(const std::string& file) {
  ShortcutTarget target{gamePath_, startDirectory_, gameArguments_};
  if (!ResolveDroppedFile(file, hwnd(), target, false)) return;
  gamePath_ = target.path;
  startDirectory_ = target.directory;
  gameArguments_ = target.arguments;
  SetDlgItemTextA(hwnd(), IDC_EDITOR_GAME, GameText(gamePath_).c_str());
}
