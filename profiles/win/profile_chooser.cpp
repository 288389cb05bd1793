#include "profiles/win/profile_chooser.h"

#include <utility>

#include "profiles/manager_texts.h"
#include "resources/profiles/resource.h"
#include "winui/head_reach.h"

ProfileChooser::ProfileChooser(std::string gameExe, std::vector<std::string> fileNames)
    : winui::Dialog(IDD_CHOOSER), gameExe_(std::move(gameExe)), fileNames_(std::move(fileNames)) {}

BOOL ProfileChooser::OnInitDialog() {
  SetDlgItemTextA(hwnd(), IDC_CHOOSER_GAME, gameExe_.c_str());
  HWND list = Item(IDC_CHOOSER_LIST);
  winui::EnlargeRows(list);
  for (const std::string& name : fileNames_)
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  EnableWindow(Item(IDOK), FALSE);
  return TRUE;
}

void ProfileChooser::OnCommand(int id, int code) {
  switch (id) {
    case IDC_CHOOSER_LIST: {
      const int at = static_cast<int>(SendMessageA(Item(IDC_CHOOSER_LIST), LB_GETCURSEL, 0, 0));
      if (code == LBN_SELCHANGE) EnableWindow(Item(IDOK), at != LB_ERR);
      if (code == LBN_DBLCLK && at != LB_ERR) OnCommand(IDOK, BN_CLICKED);
      return;
    }
    case IDOK:
      chosen_ = static_cast<int>(SendMessageA(Item(IDC_CHOOSER_LIST), LB_GETCURSEL, 0, 0));
      if (chosen_ != LB_ERR) End(IDOK);
      return;
    case IDC_CHOOSER_NEW:
      End(manager_texts::kChooserNew);
      return;
  }
  winui::Dialog::OnCommand(id, code);
}
