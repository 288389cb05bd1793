#include "profiles/win/interface.h"

#include <algorithm>
#include <utility>

#include "device/driver_port.h"
#include "device/trace.h"
#include "profiles/manager_texts.h"
#include "profiles/win/list_view.h"
#include "profiles/win/name_dialog.h"
#include "profiles/win/profile_chooser.h"
#include "profiles/win/profile_details.h"
#include "profiles/win/shell_link.h"
#include "resources/profiles/resource.h"

namespace mt = manager_texts;

namespace {

constexpr int kInitialImageRoom = 200;
constexpr DWORD kSinkWaitMs = 48;      // the window settles at the bottom before the engine starts
constexpr DWORD kDisengageWaitMs = 128;  // the emitter sees the flag before the window goes

// What engaging shuts; the list too.
constexpr int kShutWhileEngaged[] = {IDC_MANAGER_LIST,      IDC_MANAGER_SAVE_AS,    IDC_MANAGER_DELETE,
                                     IDC_MANAGER_NEW,       IDC_MANAGER_WEB,        IDC_MANAGER_CALIBRATE,
                                     IDC_MANAGER_SET_CENTER, IDC_MANAGER_INFO,      IDC_MANAGER_EDIT,
                                     IDC_MANAGER_RENAME};

// `text` with its "%s" replaced by `name`.
std::string Fill(const char* text, const std::string& name) {
  std::string filled = text;
  return filled.replace(filled.find("%s"), 2, name);
}

bool IsFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return !path.empty() && attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The working folder's profile files by name, as NTFS gives them; other file systems give them
// in no order a person could scan.
std::vector<FoundFile> ProfileFiles() {
  std::vector<FoundFile> files;
  WIN32_FIND_DATAA found = {};
  HANDLE search = FindFirstFileA("*.cpf*", &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsProfileFileName(found.cFileName))
      files.push_back({found.cFileName, uint64_t{found.nFileSizeHigh} << 32 | found.nFileSizeLow,
                       uint64_t{found.ftLastWriteTime.dwHighDateTime} << 32 | found.ftLastWriteTime.dwLowDateTime});
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(files.begin(), files.end(),
            [](const FoundFile& a, const FoundFile& b) { return lstrcmpiA(a.name.c_str(), b.name.c_str()) < 0; });
  return files;
}

// The game's first small icon; the system's program icon for a game without one of its own,
// and the red X for a game that is not where the profile says.
void AddGameIcon(HIMAGELIST images, const std::string& gamePath) {
  HICON icon = nullptr;
  const bool there = IsFile(gamePath);
  if (there) ExtractIconExA(gamePath.c_str(), 0, nullptr, &icon, 1);
  if (!icon)
    icon = static_cast<HICON>(there ? LoadImageA(nullptr, MAKEINTRESOURCEA(32512), IMAGE_ICON, 16, 16, LR_SHARED)
                                    : LoadImageA(winui::ResourceModule(), MAKEINTRESOURCEA(IDI_MISSING_GAME),
                                                 IMAGE_ICON, 16, 16, LR_SHARED));
  ImageList_AddIcon(images, icon);
  if (there && icon) DestroyIcon(icon);  // shared icons are the system's to keep
}

// The window a click would reach first outside our own: the game the player came from, on the
// screen beside the manager. Windows that float over play (taskbars, on-screen keyboards and
// other topmost ones) and those that take no activation are passed over.
HWND TopWindowOfAnotherProgram() {
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    const LONG_PTR ex = GetWindowLongPtrA(w, GWL_EXSTYLE);
    if (process != GetCurrentProcessId() && IsWindowVisible(w) && IsWindowEnabled(w) && !IsIconic(w) &&
        !(ex & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE)))
      return w;
  }
  return nullptr;
}

}  // namespace

ManagerOptions QmouseManagerOptions() {
  ManagerOptions options;
  options.dialogId = IDD_MANAGER;
  return options;
}

Interface::Interface(EngageHost& host, winui::Application& application)
    : Interface(host, application, QmouseManagerOptions()) {}

Interface::Interface(EngageHost& host, winui::Application& application, const ManagerOptions& options)
    : winui::Dialog(options.dialogId), host_(host), application_(application), options_(options) {
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&classes);
}

// The window goes while this object is still whole, so its last messages reach our handlers.
Interface::~Interface() {
  Destroy();
  Disengage();
}

// The other program may have changed the folder since the window was last seen.
void Interface::Show() {
  {
    const Busy once(busy_);  // listed once below, not again as the window becomes active
    winui::BringToFront(hwnd());
  }
  Refresh();
}

void Interface::Refresh() {
  if (!idle_ || busy_ > 0 || !hwnd()) return;
  const bool wasSelected = selected_ >= 0;
  ListProfiles();
  if (wasSelected && selected_ < 0) SetActiveText(mt::kNewProfile);
  EnableLaunchForCurrent();
}

BOOL Interface::OnInitDialog() {
  EnableWindow(Item(IDC_MANAGER_LAUNCH), FALSE);
  SetUpBlackList(Item(IDC_MANAGER_LIST), nullptr);  // its pictures come with each listing
  selected_ = -1;
  ListProfiles();
  SetActiveText(mt::kNewProfile);
  for (const auto& [size, which] : {std::pair{32, ICON_BIG}, std::pair{16, ICON_SMALL}}) {
    HANDLE icon = LoadImageA(winui::ResourceModule(), MAKEINTRESOURCEA(IDI_MANAGER), IMAGE_ICON, size, size, LR_SHARED);
    SendMessageA(hwnd(), WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
  }
  DragAcceptFiles(hwnd(), TRUE);
  return TRUE;
}

void Interface::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  const Busy busy(busy_);
  switch (id) {
    case IDC_MANAGER_NEW: return NewProfile();
    case IDC_MANAGER_EDIT: return EditProfile(false);
    case IDC_MANAGER_SAVE_AS: return SaveAs();
    case IDC_MANAGER_RENAME: return RenameProfile();
    case IDC_MANAGER_DELETE: return DeleteProfile();
    case IDC_MANAGER_INFO: return ShowDetails();
    case IDC_MANAGER_LAUNCH: return Launch();
    case IDC_MANAGER_ENGAGE:
      if (!idle_) return Disengage();
      if (ReadSelected(mt::kSelectToEngage, mt::kCaption, true)) Engage(GameFocus::kWindowOnTop);
      return;
    case IDC_MANAGER_CALIBRATE: return OnCalibrate();
    case IDC_MANAGER_SET_CENTER: return OnSetZero();
    case IDC_MANAGER_WEB:
      ShellExecuteA(hwnd(), nullptr, mt::kWebAddress, nullptr, nullptr, SW_SHOWNORMAL);
      return;
    case IDOK:
    case IDCANCEL:  // Enter and Escape must not destroy a window the program keeps
      return OnClose();
  }
}

// qmouse keeps its window for the whole run and only hides it; a modal window ends.
void Interface::OnClose() {
  if (!idle_) {
    Disengage();
    Sleep(kDisengageWaitMs);
  }
  if (IsModal()) End(IDCANCEL);
  else ShowWindow(hwnd(), SW_HIDE);
}

void Interface::OnDestroy() {
  if (idle_) return;
  Disengage();
  Sleep(kDisengageWaitMs);
}

bool Interface::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT&) {
  if (msg == WM_DROPFILES) {
    const Busy busy(busy_);
    OnDrop(reinterpret_cast<HDROP>(wp));
    return true;
  }
  // Coming back from the other program, or from anything else, the folder is listed again;
  // not while one of our own operations shows a dialog.
  if (msg == WM_ACTIVATE && LOWORD(wp) != WA_INACTIVE) {
    Refresh();
    return false;
  }
  if (msg != WM_NOTIFY || wp != IDC_MANAGER_LIST || filling_) return false;
  const auto* header = reinterpret_cast<const NMHDR*>(lp);
  if (header->code == LVN_ITEMCHANGED) {
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(lp);
    if ((change->uNewState & LVIS_SELECTED) && !(change->uOldState & LVIS_SELECTED)) Select(change->iItem);
  } else if (header->code == static_cast<UINT>(NM_DBLCLK)) {
    const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(lp);
    if (click->iItem >= 0) {
      const Busy busy(busy_);
      if (click->iItem != selected_) Select(click->iItem);
      EditProfile(true);
    }
  }
  return false;
}

// After a refresh the selection follows the current file name, and the current profile is the
// selected one again: the engine must never be handed whichever file happened to be read last.
void Interface::ListProfiles() {
  rows_ = ReadProfiles(ProfileFiles(), rows_);
  const int room = std::max(kInitialImageRoom, static_cast<int>(rows_.size()) + 1);
  ImageList images(ImageList_Create(16, 16, ILC_COLORDDB | ILC_MASK, room, room / 4));
  for (const ListedProfile& row : rows_) AddGameIcon(images.Get(), row.gamePath);
  HBITMAP strip = LoadBitmapA(winui::ResourceModule(), MAKEINTRESOURCEA(IDB_MANAGER_LIST));
  ImageList_AddMasked(images.Get(), strip, kListBack);
  if (strip) DeleteObject(strip);
  ListView_SetImageList(Item(IDC_MANAGER_LIST), images.Get(), LVSIL_SMALL);
  images_ = std::move(images);  // the old list goes only once the view holds the new one
  selected_ = currentFileName_.empty() ? -1 : RowOf(rows_, currentFileName_);
  if (selected_ >= 0) LoadCurrent(rows_[static_cast<size_t>(selected_)]);
  else currentFileName_.clear();  // gone: a file of that name made later is no one's choice
  FillList();
}

void Interface::FillList() {
  HWND list = Item(IDC_MANAGER_LIST);
  filling_ = true;
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(list);
  ListView_SetBkColor(list, kListBack);
  ListView_SetTextBkColor(list, kListBack);
  ListView_SetTextColor(list, kListText);
  for (size_t i = 0; i < rows_.size(); ++i) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = static_cast<int>(i);
    item.pszText = const_cast<char*>(rows_[i].displayName.c_str());
    item.iImage = static_cast<int>(i);
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  if (selected_ >= 0) {
    ListView_SetItemState(list, selected_, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, selected_, FALSE);
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  filling_ = false;
}

void Interface::Select(int index) {
  if (index < 0 || index >= static_cast<int>(rows_.size())) return;
  selected_ = index;
  ListedProfile& row = rows_[static_cast<size_t>(index)];
  currentFileName_ = row.fileName;
  LoadCurrent(row);
  SetActiveText(row.displayName);
  EnableLaunchForCurrent();
}

// Loads the row's file as the current profile; a file that does not read leaves a fresh
// profile, so nothing of the previous one passes for it.
bool Interface::LoadCurrent(ListedProfile& row) {
  Profile read;
  if (!read.Load(row.fileName, &row.loadError)) {
    CurrentProfile() = Profile();
    return false;
  }
  row.loadError.clear();
  row.gamePath = read.GamePath();
  CurrentProfile() = std::move(read);
  return true;
}

// What the selected file holds now, read again: the other program may have saved over it or
// removed it since it was listed. A file that is gone is said so and the folder listed again.
bool Interface::ReadSelected(const char* askToSelect, const char* caption, bool mustRead) {
  if (selected_ < 0) {
    Message(askToSelect, caption, MB_OK);
    return false;
  }
  ListedProfile& row = rows_[static_cast<size_t>(selected_)];
  currentFileName_ = row.fileName;
  if (!IsFile(row.fileName)) {
    const std::string name = row.displayName;
    ListProfiles();
    SetActiveText(mt::kNewProfile);
    EnableLaunchForCurrent();
    Message(Fill(mt::kProfileGone, name).c_str(), mt::kCaption, MB_OK);
    return false;
  }
  if (LoadCurrent(row) || !mustRead) return true;
  Message((std::string(mt::kUnreadable) + "\n" + row.loadError).c_str(), mt::kCaption, MB_OK);
  return false;
}

void Interface::EditProfile(bool fromDoubleClick) {
  if (!ReadSelected(mt::kSelectToEdit, mt::kCaption, false)) return;
  ::Trace(mt::kTraceOpeningEditor);
  Profile& working = WorkingProfile();
  working.Reset();
  // A file that did not read is edited from a fresh profile; only then may it be saved over.
  working = CurrentProfile();
  ProfileEditor editor(CurrentProfile().Mode(), working.GamePath(), working.StartDirectory(), working.GameArguments());
  if (editor.DoModal(hwnd()) != IDOK) return;
  working.SetMode(editor.Mode());
  working.SetGamePath(editor.GamePath());
  working.SetStartDirectory(editor.StartDirectory());
  working.SetGameArguments(editor.GameArguments());
  if (!SaveProfile(working, currentFileName_)) return;
  ListProfiles();
  SetActiveText(fromDoubleClick ? DisplayName(currentFileName_) : currentFileName_);
  EnableLaunchForCurrent();
}

// Names for new profiles need two characters; any name needs one. Only a drop traces it. With
// `replacing` given, a name another profile has needs the user's Yes (`replacing` then set);
// No asks for a name again. `name` comes in as the name offered and goes out as the name entered.
bool Interface::AskName(std::string& name, bool forNew, bool traced, bool* replacing) {
  const auto trace = [&](const char* line) {
    if (traced) Trace(line);
  };
  for (;;) {
    trace(mt::kTraceSpawningName);
    NameDialog dialog(name);
    const bool ok = dialog.DoModal(hwnd()) == IDOK;
    trace(mt::kTraceProcessingName);
    if (!ok) return false;
    trace(mt::kTraceValidating);
    name = dialog.Name();
    if (!(forNew ? LongEnoughForNewProfile(name) : !name.empty())) {
      trace(mt::kTraceLengthBad);
      continue;
    }
    if (!replacing) break;
    *replacing = false;
    const std::string taken = TakenName(name);
    if (taken.empty()) break;
    if (Message(Fill(mt::kReplaceQuestion, taken).c_str(), mt::kCaption, MB_YESNO | MB_DEFBUTTON2) == IDYES) {
      *replacing = true;
      break;
    }
  }
  trace(mt::kTraceLengthGood);
  return true;
}

// The display name of the listed profile, or the file, that a save under `entered` would
// replace; "" when none. The folder is listed first: the other program may have added it.
std::string Interface::TakenName(const std::string& entered) {
  ListProfiles();
  const int row = RowNamed(rows_, entered);
  if (row >= 0) return rows_[static_cast<size_t>(row)].displayName;
  return IsFile(CompleteProfileName(entered)) ? NameFromEntry(entered).displayName : "";
}

void Interface::NewProfile() {
  WorkingProfile().Reset();
  std::string name = FreeProfileName(rows_);
  bool replacing = false;
  if (!AskName(name, true, false, &replacing)) return;
  const Profile& working = WorkingProfile();
  ProfileEditor editor(working.Mode(), working.GamePath(), working.StartDirectory(), working.GameArguments());
  if (editor.DoModal(hwnd()) == IDOK) CreateFromEditor(name, editor, replacing);
}

// The new profile becomes the current one only once its file is there; until then the
// manager's profile, file name and selection stay those of the selected profile. A name taken
// while the editor was open is asked about again.
void Interface::CreateFromEditor(const std::string& name, const ProfileEditor& editor, bool replacing) {
  Profile created = WorkingProfile();
  created.SetGamePath(editor.GamePath());
  created.SetStartDirectory(editor.StartDirectory());
  created.SetGameArguments(editor.GameArguments());
  created.SetMode(editor.Mode());
  if (!replacing) {
    const std::string taken = TakenName(name);
    if (!taken.empty() &&
        Message(Fill(mt::kReplaceQuestion, taken).c_str(), mt::kCaption, MB_YESNO | MB_DEFBUTTON2) != IDYES)
      return;
  }
  if (!SaveProfile(created, CompleteProfileName(name))) return;
  CurrentProfile() = std::move(created);
  AddToCounter(1);
  ListProfiles();
  SetActiveText(name);
  EnableLaunchForCurrent();
}

// Saved under `fileName`, which then names the current profile; on failure nothing changes.
bool Interface::SaveProfile(const Profile& profile, const std::string& fileName) {
  std::string saved, error;
  if (!profile.Save(fileName, &saved, &error)) {
    Message((std::string(mt::kSaveFailed) + "\n" + error).c_str(), mt::kCaption, MB_OK);
    return false;
  }
  if (&profile != &CurrentProfile()) CurrentProfile() = profile;
  currentFileName_ = saved;
  return true;
}

void Interface::SaveAs() {
  if (!ReadSelected(mt::kSelectToCopy, mt::kCaption, true)) return;
  std::string name = FreeProfileName(rows_);
  bool replacing = false;
  if (!AskName(name, false, false, &replacing) || !SaveProfile(CurrentProfile(), name)) return;
  ListProfiles();
  AddToCounter(1);
  SetActiveText(NameFromEntry(name).displayName);
}

void Interface::DeleteProfile() {
  if (selected_ < 0) {
    Message(mt::kSelectToDelete, mt::kCaption, MB_OK);
    return;
  }
  if (Message(mt::kDeleteQuestion, mt::kCaption, MB_YESNO) != IDYES) return;
  const std::string file = rows_[static_cast<size_t>(selected_)].fileName;
  // A file that stays keeps its profile loaded, selected and whole.
  if (!DeleteFileA(file.c_str())) {
    const std::string reason = winui::SystemErrorText(GetLastError());
    Message((std::string(mt::kDeleteFailed) + "\n" + reason).c_str(), mt::kCaption, MB_OK);
    return;
  }
  if (file == currentFileName_) currentFileName_.clear();
  selected_ = -1;
  ListProfiles();
  AddToCounter(-1);
  CurrentProfile().Reset();
  SetActiveText(mt::kNewProfileAfterDelete);
  EnableWindow(Item(IDC_MANAGER_LAUNCH), FALSE);
}

// All or nothing: the registry, the tables and the counter change only once the file moved.
void Interface::RenameProfile() {
  if (selected_ < 0) {
    Message(mt::kSelectToRename, mt::kCaption, MB_OK);
    return;
  }
  std::string entered;
  if (!AskName(entered, false, false)) return;
  const ProfileName name = NameFromEntry(entered);
  const ListedProfile row = rows_[static_cast<size_t>(selected_)];
  if (!MoveFileA(row.fileName.c_str(), name.fileName.c_str())) {
    const std::string reason = winui::SystemErrorText(GetLastError());
    Message((std::string(mt::kRenameFailed) + "\n" + reason).c_str(), mt::kCaption, MB_OK);
    return;
  }
  HKEY key = nullptr;
  const std::string path = application_.RegistryPath() + "\\" + mt::kProfilesSection;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) ==
      ERROR_SUCCESS) {
    RegKey profiles(key);
    RegDeleteValueA(key, row.fileName.c_str());
    RegSetValueExA(key, name.fileName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(row.gamePath.c_str()),
                   static_cast<DWORD>(row.gamePath.size() + 1));
  }
  if (currentFileName_ == row.fileName) currentFileName_ = name.fileName;
  ListProfiles();
  AddToCounter(1);
  SetActiveText(name.displayName);
}

void Interface::ShowDetails() {
  if (!ReadSelected(mt::kSelectToView, mt::kCaption, false)) return;
  ProfileDetails details(CurrentProfile(), rows_[static_cast<size_t>(selected_)].loadError);
  details.DoModal(hwnd());
}

void Interface::Launch() {
  if (!idle_) return Disengage();
  if (!ReadSelected(mt::kSelectToLaunch, ProgramTitle().c_str(), true) || !CanEngage()) return;
  // The game first: one that does not start never starts (and stops) the output. hxprofiler
  // starts its game once while the window lives.
  if (!gameProcess_ && !StartGame(CurrentProfile(), gameProcess_)) {
    gameProcess_.Reset();
    Message(mt::kGameNotStarted, mt::kCaption, MB_OK);
    return;
  }
  Engage(GameFocus::kGameTakesIt);
}

bool Interface::StartGame(const Profile& profile, KernelHandle& process) {
  SHELLEXECUTEINFOA execute = {};
  execute.cbSize = sizeof execute;
  execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;  // our own message says it failed
  execute.hwnd = hwnd();
  execute.lpFile = profile.GamePath().c_str();
  execute.lpParameters = profile.GameArguments().c_str();
  const std::string folder = LaunchFolder(profile.GamePath(), profile.StartDirectory());
  execute.lpDirectory = folder.c_str();
  execute.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExA(&execute)) return false;
  process.Reset(execute.hProcess);
  return true;
}

// A profile that did not read has no maps for the engine to read.
bool Interface::CanEngage() {
  std::string error;
  if (CurrentProfile().Savable(&error)) return true;
  Message((std::string(mt::kUnreadable) + "\n" + error).c_str(), mt::kCaption, MB_OK);
  return false;
}

bool Interface::Engage(GameFocus focus) {
  if (!idle_) return true;
  if (!CanEngage()) return false;
  idle_ = false;
  EnableControls(false);
  SetDlgItemTextA(hwnd(), IDC_MANAGER_LAUNCH, mt::kDisengage);
  SetDlgItemTextA(hwnd(), IDC_MANAGER_ENGAGE, mt::kDisengage);
  EnableWindow(Item(IDC_MANAGER_LAUNCH), FALSE);
  EnableWindow(Item(IDC_MANAGER_ENGAGE), TRUE);
  if (options_.sinkBeforeEngaging) {
    SetWindowPos(hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // Sunk, the window still has the keyboard, and the engine's keys would go to it: hand
    // them to the game now on top, which a head-only player cannot click once engaged.
    if (focus == GameFocus::kWindowOnTop)
      if (HWND game = TopWindowOfAnotherProgram()) SetForegroundWindow(game);
    Sleep(kSinkWaitMs);
  }
  host_.Engage(CurrentProfile());
  OnEngaged();
  return true;
}

void Interface::Disengage() {
  if (idle_) return;
  idle_ = true;
  if (hwnd()) {
    EnableControls(true);
    SetDlgItemTextA(hwnd(), IDC_MANAGER_LAUNCH, mt::kLaunch);
    SetDlgItemTextA(hwnd(), IDC_MANAGER_ENGAGE, mt::kEngage);
    EnableWindow(Item(IDC_MANAGER_LAUNCH), TRUE);
  }
  if (!options_.gameOncePerWindow) gameProcess_.Reset();  // forgotten is closed
  host_.Disengage();
  OnDisengaged();
}

void Interface::EnableControls(bool enable) {
  for (int id : kShutWhileEngaged) EnableWindow(Item(id), enable);
}

void Interface::EnableLaunchForCurrent() {
  const bool read = selected_ >= 0 && rows_[static_cast<size_t>(selected_)].Loaded();
  EnableWindow(Item(IDC_MANAGER_LAUNCH), idle_ && read && IsFile(CurrentProfile().GamePath()));
}

void Interface::SetActiveText(const std::string& text) { SetDlgItemTextA(hwnd(), IDC_MANAGER_ACTIVE, text.c_str()); }

void Interface::AddToCounter(int delta) {
  const int32_t count = application_.GetProfileInt(mt::kParameters, mt::kMaxProfiles, mt::kMaxProfilesDefault);
  application_.WriteProfileInt(mt::kParameters, mt::kMaxProfiles, count + delta);
}

void Interface::Trace(const char* line) const {
  if (options_.dropTraces) ::Trace(line);
}

int Interface::Message(const char* text, const char* caption, UINT type) {
  return MessageBoxA(hwnd(), text, caption, type);
}

std::unique_ptr<TrackerLink> Interface::OpenTrackerLink(const char* handler) {
  ::Trace(std::string(handler) == "OnCalibrate" ? mt::kTraceCalibrateLink : mt::kTraceSetZeroLink);
  return std::make_unique<TrackerLinkOf<LinkVariant::Qmouse>>();
}

void Interface::OnCalibrate() {
  if (TrackerIsOpentrack()) {  // head poses over UDP have no sensors to line up
    Message(mt::kCalibrationNotNeeded, mt::kCaption, MB_OK);
    return;
  }
  const std::unique_ptr<TrackerLink> link = OpenTrackerLink("OnCalibrate");
  if (Message(mt::kAlignSensors, mt::kCaption, MB_OKCANCEL) != IDOK) return;
  const std::string title = ProgramTitle();
  switch (link->Calibrate()) {
    case 1:
      Message(mt::kCalibrationDone, title.c_str(), MB_OK);
      link->SaveSettings();
      return;
    case 0:
      Message(mt::kCalibrationMisaligned, title.c_str(), MB_OK);
      link->RestoreDefaultCalibration();
      return;
    default:
      Message(mt::kCalibrationError, title.c_str(), MB_OK);
  }
}

void Interface::OnSetZero() {
  const std::unique_ptr<TrackerLink> link = OpenTrackerLink("OnSetZero");
  if (Message(mt::kLookAtCenter, mt::kCaption, MB_OKCANCEL) != IDOK) return;
  const std::string title = ProgramTitle();
  if (link->SetZero()) {
    Message(mt::kCenterDone, title.c_str(), MB_OK);
    link->SaveSettings();
  } else {
    Message(mt::kCenterFailed, title.c_str(), MB_OK);
  }
}

// Only a drop on this window counts; the list and every button are part of it.
void Interface::OnDrop(HDROP drop) {
  POINT at = {};
  DragQueryPoint(drop, &at);
  ClientToScreen(hwnd(), &at);
  HWND under = WindowFromPoint(at);
  const bool mine = under == hwnd() || IsChild(hwnd(), under);
  const std::string file = mine ? FirstDroppedFile(drop) : std::string();
  DragFinish(drop);
  if (!mine) return;
  SetActiveWindow(hwnd());
  SetForegroundWindow(hwnd());
  Profile& working = WorkingProfile();
  working.Reset();
  Trace(mt::kTraceDropBegins);
  if (file.empty()) return;
  Trace(mt::kTraceFileQueried);
  // A file that gives no game ends the drop: no profile is matched against an empty path.
  ShortcutTarget target{working.GamePath(), working.StartDirectory(), working.GameArguments()};
  if (!ResolveDroppedFile(file, hwnd(), target, options_.dropTraces)) return;
  working.SetGamePath(target.path);
  working.SetStartDirectory(target.directory);
  working.SetGameArguments(target.arguments);
  Trace(mt::kTraceResolved);
  const int result = LoadMatchingProfile(working.GamePath());
  Trace(mt::kTraceChecked);
  if (result == -1) {
    Trace(mt::kTraceCancelled);
    SetActiveWindow(hwnd());
    return;
  }
  if (result == -2) {
    Trace(mt::kTraceCreating);
    std::string name = DroppedProfileName(file, rows_);
    bool replacing = false;
    if (!AskName(name, true, true, &replacing)) return;
    Trace(mt::kTraceNameObtained);
    Trace(mt::kTraceCallingOptions);
    ProfileEditor editor(working.Mode(), working.GamePath(), working.StartDirectory(), working.GameArguments());
    if (editor.DoModal(hwnd()) == IDOK) CreateFromEditor(name, editor, replacing);
    return;
  }
  ListedProfile& row = rows_[static_cast<size_t>(result)];
  if (!LoadCurrent(row)) {
    Message((std::string(mt::kUnreadable) + "\n" + row.loadError).c_str(), mt::kCaption, MB_OK);
    ListProfiles();  // the current profile is the selected one again
    return;
  }
  selected_ = result;
  currentFileName_ = row.fileName;
  SetActiveText(row.displayName);
  filling_ = true;
  ListView_SetItemState(Item(IDC_MANAGER_LIST), selected_, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  filling_ = false;
  EnableLaunchForCurrent();
}

int Interface::LoadMatchingProfile(const std::string& strGameEXE) {
  Trace(mt::kTraceMatchLoop);
  const std::vector<int> matches = MatchingProfiles(rows_, strGameEXE);
  for (size_t i = 0; i < matches.size(); ++i) {
    Trace(mt::kTraceFoundMatch);
    Trace(mt::kTraceAddedToLists);
    Trace(mt::kTraceCounterIncremented);
  }
  Trace(mt::kTracePreparing);
  int result = -1;
  if (matches.size() == 1 && !options_.chooserOnEveryMatch) {
    Trace(mt::kTraceOneMatch);
    result = matches[0];
  } else if (matches.empty()) {
    Trace(mt::kTraceNoMatch);
    result = Message(mt::kNoMatchQuestion, mt::kCaption, MB_YESNO) == IDYES ? -2 : -1;
  } else {
    Trace(mt::kTraceSeveral);
    Trace(mt::kTraceQuerying);
    std::vector<std::string> files;
    for (int i : matches) files.push_back(rows_[static_cast<size_t>(i)].fileName);
    ProfileChooser chooser(strGameEXE, files);
    const INT_PTR answer = chooser.DoModal(hwnd());
    Trace(mt::kTraceQueried);
    if (answer == IDOK) result = matches[static_cast<size_t>(chooser.Chosen())];
    else if (answer == mt::kChooserNew) result = -2;
  }
  Trace(mt::kTraceReturning);
  return result;
}
