#include "profiles/win/power_command_editor.h"

#include <algorithm>

#include "commands/key_selection.h"
#include "commands/win/dialog_controls.h"
#include "commands/win/key_command_dialog.h"
#include "profiles/win/button_dialog.h"
#include "profiles/win/wheel_dialog.h"
#include "resources/profiles/command_dialog_ids.h"
#include "winui/head_reach.h"

namespace dc = dialog_controls;

namespace {

std::string ItemText(HWND list, int line) {
  const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, line, 0);
  if (length < 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(list, LB_GETTEXT, line, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

}  // namespace

PowerCommandEditor::PowerCommandEditor(const Command& map)
    : winui::Dialog(IDD_POWER_EDITOR), editor_(map), programTitle_(dialog_texts::kCaption) {}

void PowerCommandEditor::CommitTo(Command& map) const {
  if (accepted_) editor_.Commit(map);
}

BOOL PowerCommandEditor::OnInitDialog() {
  HWND types = Item(IDC_POWER_TYPE), list = Item(IDC_POWER_LIST);
  for (int type = kPowerKeypress; type <= kPowerWheelTick; ++type)
    SendMessageA(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(PowerTypeName(type)));
  winui::EnlargeRows(types);
  winui::EnlargeRows(list);
  for (const std::string& line : editor_.Lines())
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  FitListWidth();
  CheckDlgButton(hwnd(), IDC_POWER_REPEAT, editor_.repeatWhileOut ? BST_CHECKED : BST_UNCHECKED);
  dc::SetUpSlider(Item(IDC_POWER_DELAY), 0, 100, 0);
  dc::SetUpSlider(Item(IDC_POWER_DURATION), 0, 100, 0);
  ShowSetup();
  return TRUE;
}

// The command setup side and the sliders, as the editor has them now.
void PowerCommandEditor::ShowSetup() {
  SetDlgItemTextA(hwnd(), IDC_POWER_CURRENT, editor_.CurrentText().c_str());
  EnableWindow(Item(IDC_POWER_CHANGE), editor_.ChangeEnabled());
  SendMessageA(Item(IDC_POWER_DELAY), TBM_SETPOS, TRUE, editor_.DelayPosition());
  SendMessageA(Item(IDC_POWER_DURATION), TBM_SETPOS, TRUE, editor_.DurationPosition());
  dc::Enable(hwnd(),
             {IDC_POWER_DURATION, IDC_POWER_DURATION_CAPTION, IDC_POWER_DURATION_0, IDC_POWER_DURATION_2,
              IDC_POWER_DURATION_4, IDC_POWER_DURATION_6, IDC_POWER_DURATION_8, IDC_POWER_DURATION_10,
              IDC_POWER_DURATION_SECONDS},
             editor_.DurationEnabled());
}

void PowerCommandEditor::OpenTypeDialog() {
  switch (editor_.ChosenType()) {
    case kPowerKeypress: {
      // A step has no method of its own: -1 leaves the disabled method radios all clear.
      KeyCommandDialog keys(kPurposePowerKeys, {kNoKey, kNoKey, kNoKey, kNoKey}, -1, 1);
      if (keys.DoModal(hwnd()) == IDOK) editor_.SetKeypress(keys.Keys());
      break;
    }
    case kPowerButtonClick: {
      MouseButtonDialog buttons({}, -1, 1, true);
      if (buttons.DoModal(hwnd()) == IDOK) editor_.SetButtons(buttons.Buttons());
      break;
    }
    case kPowerWheelTick: {
      WheelDialog wheel(-1, -1, 1, true);
      if (wheel.DoModal(hwnd()) == IDOK) editor_.SetWheel(wheel.Direction());
      break;
    }
  }
  ShowSetup();
}

// The list box follows each operation step by step, as a user would see it change, and is
// then read back and checked against the slots, so a list box that went its own way shows.
void PowerCommandEditor::RunListOperation(int id) {
  HWND list = Item(IDC_POWER_LIST);
  const int selected = editor_.SelectedLine(), before = editor_.LineCount();
  const auto label = [&] { return reinterpret_cast<LPARAM>(editor_.Current().label.c_str()); };
  Notice refusal;
  switch (id) {
    case IDC_POWER_ADD:
      if (!(refusal = editor_.Add())) SendMessageA(list, LB_ADDSTRING, 0, label());
      break;
    case IDC_POWER_INSERT_BEFORE:
      if (!(refusal = editor_.InsertBefore())) SendMessageA(list, LB_INSERTSTRING, selected, label());
      break;
    case IDC_POWER_INSERT_AFTER:
      if (!(refusal = editor_.InsertAfter())) SendMessageA(list, LB_INSERTSTRING, selected + 1, label());
      break;
    case IDC_POWER_REPLACE:
      if (!(refusal = editor_.Replace())) {
        SendMessageA(list, LB_DELETESTRING, selected, 0);
        SendMessageA(list, LB_INSERTSTRING, selected, label());
      }
      break;
    case IDC_POWER_REMOVE:
      if (!(refusal = editor_.Remove())) SendMessageA(list, before == 1 ? LB_RESETCONTENT : LB_DELETESTRING, selected, 0);
      break;
    case IDC_POWER_CLEAR:
      editor_.Clear();
      SendMessageA(list, LB_RESETCONTENT, 0, 0);
      break;
  }
  if (refusal) Show(refusal, hwnd());
  // The line still selected may now hold another entry: the sliders show that entry's values,
  // so its duration controls follow its type as if the user had picked it.
  editor_.SelectLine(editor_.SelectedLine());
  SendMessageA(list, LB_SETCURSEL, editor_.SelectedLine(), 0);
  FitListWidth();
  ShowSetup();
  for (const Notice& notice : editor_.CheckAfterOperation(ShownLines(), programTitle_.c_str())) Show(notice, hwnd());
}

// Long labels scroll sideways rather than being cut off.
void PowerCommandEditor::FitListWidth() {
  HWND list = Item(IDC_POWER_LIST);
  HDC dc = GetDC(list);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
  int widest = 0;
  for (const std::string& line : ShownLines()) {
    SIZE size = {};
    GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size);
    widest = std::max<int>(widest, size.cx);
  }
  SelectObject(dc, old);
  ReleaseDC(list, dc);
  SendMessageA(list, LB_SETHORIZONTALEXTENT, widest + 8, 0);
}

std::vector<std::string> PowerCommandEditor::ShownLines() const {
  HWND list = Item(IDC_POWER_LIST);
  std::vector<std::string> lines;
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) lines.push_back(ItemText(list, i));
  return lines;
}

void PowerCommandEditor::Show(const Notice& notice, HWND owner) const {
  MessageBoxA(owner, notice.text, notice.caption, MB_OK);
}

void PowerCommandEditor::OnCommand(int id, int code) {
  switch (id) {
    case IDC_POWER_TYPE:
      if (code != CBN_SELCHANGE) return;
      editor_.ChooseType(static_cast<int>(SendMessageA(Item(IDC_POWER_TYPE), CB_GETCURSEL, 0, 0)));
      SendMessageA(Item(IDC_POWER_LIST), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
      ShowSetup();
      OpenTypeDialog();
      return;
    case IDC_POWER_CHANGE:
      if (const Notice refusal = editor_.Change())
        Show(refusal, hwnd());
      else
        OpenTypeDialog();
      return;
    case IDC_POWER_LIST:
      if (code != LBN_SELCHANGE) return;
      editor_.SelectLine(static_cast<int>(SendMessageA(Item(IDC_POWER_LIST), LB_GETCURSEL, 0, 0)));
      ShowSetup();
      return;
    case IDC_POWER_ADD:
    case IDC_POWER_INSERT_BEFORE:
    case IDC_POWER_INSERT_AFTER:
    case IDC_POWER_REPLACE:
    case IDC_POWER_REMOVE:
    case IDC_POWER_CLEAR:
      RunListOperation(id);
      return;
    case IDOK:
      editor_.repeatWhileOut = IsDlgButtonChecked(hwnd(), IDC_POWER_REPEAT) == BST_CHECKED;
      accepted_ = true;
      break;
  }
  winui::Dialog::OnCommand(id, code);
}

bool PowerCommandEditor::OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT&) {
  int position = 0;
  switch (winui::ReleasedSlider(msg, lp, &position)) {
    case IDC_POWER_DELAY:
      editor_.ReleaseDelay(position);
      return true;
    case IDC_POWER_DURATION:
      editor_.ReleaseDuration(position);
      return true;
  }
  return false;
}

// The window is going: its list box is still there to be checked once more. The message
// belongs to the editor's owner, since the editor itself is on its way out.
void PowerCommandEditor::OnDestroy() {
  for (const Notice& notice : editor_.CheckOnClose(ShownLines(), programTitle_.c_str()))
    Show(notice, GetWindow(hwnd(), GW_OWNER));
}
