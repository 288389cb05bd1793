// The profile manager window in this process with a recording host: a temporary working folder
// of profiles, modal dialogs answered from a timer by their titles, drops built here from real
// shortcuts, and a game that is this test program listing its tests.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include "tests/win32/win_test_support.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "hxprofiler/main_window.h"
#include "hxsim/win/sim_client.h"
#include "profiles/win/interface.h"
#include "profiles/win/profile_folder.h"
#include "profiles/win/shell_link.h"
#include "resources/profiles/resource.h"
#include "tests/e2e/remote.h"
#include "tests/e2e/screenshot.h"

namespace {

struct RecordingHost : EngageHost {
  void Engage(const Profile& profile) override { calls += "engage " + profile.GamePath() + ";"; }
  void Disengage() override { calls += "disengage;"; }
  std::string calls;
};

std::string Text(HWND w) {
  char text[512] = {};
  GetWindowTextA(w, text, sizeof text);
  return text;
}
std::string Text(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != 0; }
void Press(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
bool Exists(const std::string& file) { return GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
  const DWORD start = GetTickCount();
  for (MSG msg; !done(); MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
    if (GetTickCount() - start > ms) return false;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  return true;
}

// Modal dialogs are answered from a timer, one step per dialog with the step's title; the
// manager shares its title with its message boxes, so it never counts as one.
struct Step {
  std::string title;
  std::function<void(HWND)> act;
};
std::deque<Step> gSteps;
HWND gManager = nullptr;
DWORD gStepSince = 0;

BOOL CALLBACK Match(HWND w, LPARAM p) {
  char cls[16] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (w == gManager || lstrcmpA(cls, "#32770") || !IsWindowVisible(w) || !IsWindowEnabled(w) ||
      Text(w) != gSteps.front().title)
    return TRUE;
  *reinterpret_cast<HWND*>(p) = w;
  return FALSE;
}
BOOL CALLBACK CancelOpen(HWND w, LPARAM) {
  if (w != gManager && IsWindowEnabled(w)) PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
  return TRUE;
}
// A dialog no step expects is a failure too, and is cancelled so that the test goes on.
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  static bool busy = false;
  if (busy) return;
  HWND found = nullptr;
  if (!gSteps.empty()) EnumThreadWindows(GetCurrentThreadId(), Match, reinterpret_cast<LPARAM>(&found));
  if (found) {
    const Step step = gSteps.front();
    gSteps.pop_front();
    gStepSince = GetTickCount();
    busy = true;
    step.act(found);
    busy = false;
  } else if (GetTickCount() - gStepSince > 5000 && !IsWindowEnabled(gManager)) {
    ADD_FAILURE() << (gSteps.empty() ? std::string("an unexpected dialog") : "no dialog \"" + gSteps.front().title + "\"");
    gSteps.clear();
    gStepSince = GetTickCount();
    EnumThreadWindows(GetCurrentThreadId(), CancelOpen, 0);
  }
}

constexpr char kCaption[] = "Hxprofiler";
Step Answer(const std::string& text, int button) {
  return {kCaption, [text, button](HWND box) {
            EXPECT_EQ(Text(box, 0xFFFF).substr(0, text.size()), text);
            Press(box, button);
          }};
}
Step Name(const std::string& name, int button = IDOK) {
  return {"Enter profile name", [name, button](HWND d) {
            SetDlgItemTextA(d, IDC_PROFILE_NAME, name.c_str());
            Press(d, button);
          }};
}
const Step kEditorOk = {"Profile editor", [](HWND d) { Press(d, IDOK); }};
// Takes the name the dialog offers, which must be `offered`, with one OK.
Step Offered(const std::string& offered) {
  return {"Enter profile name", [offered](HWND d) {
            EXPECT_EQ(Text(d, IDC_PROFILE_NAME), offered);
            Press(d, IDOK);
          }};
}

// Posts a drop of one file at a point of the window, as the shell hands it over; sent, it is
// handled (and its dialogs answered) before this returns.
void Drop(HWND window, const std::string& name, bool send = false) {
  const WPARAM drop = reinterpret_cast<WPARAM>(LocalDrop(name, 20, 20));
  if (send) SendMessageA(window, WM_DROPFILES, drop, 0);
  else PostMessageA(window, WM_DROPFILES, drop, 0);
}

// The processes of the stand-in game (GAME_EXE) that were not there `before`.
constexpr char kGameExe[] = "idle_game.exe";
std::vector<DWORD> GamesStarted(const std::vector<DWORD>& before) {
  std::vector<DWORD> started;
  KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.Get(), &entry); more; more = Process32Next(snapshot.Get(), &entry))
    if (!lstrcmpiA(entry.szExeFile, kGameExe) &&
        std::find(before.begin(), before.end(), entry.th32ProcessID) == before.end())
      started.push_back(entry.th32ProcessID);
  return started;
}
void EndGamesStarted(const std::vector<DWORD>& before) {
  for (DWORD id : GamesStarted(before)) {
    KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
    if (process && TerminateProcess(process.Get(), 0)) WaitForSingleObject(process.Get(), 5000);
  }
}

// hxprofiler's window differs from qmouse's by its options; here both use qmouse's layout,
// the one this test program holds.
struct ProgramOptions {
  const char* program;
  ManagerOptions options;
};
ProgramOptions HxprofilerInQmouseLayout() {
  ManagerOptions options = HxprofilerManagerOptions();
  options.dialogId = QmouseManagerOptions().dialogId;
  return {"hxprofiler", options};
}
const ProgramOptions kPrograms[] = {{"qmouse", QmouseManagerOptions()}, HxprofilerInQmouseLayout()};

class Manager : public testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "hx_manager_" + std::to_string(GetTickCount());
    CreateDirectoryA(folder_.c_str(), nullptr);
    SetCurrentDirectoryA(folder_.c_str());
    app_.SetRegistryKey("Korvath", "Manager test");
    RegDeleteTreeA(HKEY_CURRENT_USER, app_.RegistryPath().c_str());
    app_.WriteProfileInt("Parameters", "Max Profiles", 7);
  }
  void TearDown() override {
    window_.reset();
    EndGamesStarted(gamesBefore_);
    RegDeleteTreeA(HKEY_CURRENT_USER, app_.RegistryPath().c_str());
    SetCurrentDirectoryA("..");
    SHFILEOPSTRUCTA remove = {};
    const std::string from = folder_ + '\0';
    remove.wFunc = FO_DELETE;
    remove.pFrom = from.c_str();
    remove.fFlags = FOF_NO_UI;
    SHFileOperationA(&remove);
    CoUninitialize();
  }
  static void Write(const std::string& file, const std::string& gamePath, const std::string& arguments = {}) {
    Profile p;
    p.SetGamePath(gamePath);
    p.SetGameArguments(arguments);
    ASSERT_TRUE(p.Save(file));
  }
  HWND Open(const ManagerOptions& options = QmouseManagerOptions()) {
    window_.reset();
    window_ = std::make_unique<Interface>(host_, app_, options);
    EXPECT_TRUE(window_->Create(nullptr));
    window_->Show();
    return gManager = window_->hwnd();
  }
  HWND List() const { return GetDlgItem(gManager, IDC_MANAGER_LIST); }
  std::string Items() const {
    std::string items;
    char text[MAX_PATH];
    for (int i = 0; i < ListView_GetItemCount(List()); ++i) {
      ListView_GetItemText(List(), i, 0, text, sizeof text);
      items += std::string(items.empty() ? "" : ",") + text;
    }
    return items;
  }
  void Select(const std::string& display) {
    LVFINDINFOA find = {};
    find.flags = LVFI_STRING;
    find.psz = display.c_str();
    const int item = static_cast<int>(SendMessageA(List(), LVM_FINDITEMA, -1, reinterpret_cast<LPARAM>(&find)));
    ASSERT_GE(item, 0) << display;
    ListView_SetItemState(List(), item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
  // Presses a button of the window (or drops a file) and answers the dialogs that follow.
  void Run(const std::function<void()>& act, std::deque<Step> steps) {
    gSteps = std::move(steps);
    gStepSince = GetTickCount();
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, Tick);
    act();
    EXPECT_TRUE(PumpUntil([] { return gSteps.empty() && IsWindowEnabled(gManager); }, 15000));
    KillTimer(nullptr, timer);
    EXPECT_TRUE(gSteps.empty()) << gSteps.size() << " steps left, next \"" << gSteps.front().title << "\"";
    gSteps.clear();
  }
  // Without dialogs to answer the click is done when the call returns.
  void Click(int id, std::deque<Step> steps = {}) {
    if (steps.empty()) return Run([id] { SendDlgItemMessageA(gManager, id, BM_CLICK, 0, 0); }, {});
    Run([id] { Press(gManager, id); }, std::move(steps));
  }
  int Counter() const { return app_.GetProfileInt("Parameters", "Max Profiles", 200); }
  std::string Shortcut(const std::string& target, const std::string& arguments = {},
                       const std::string& directory = {}, const std::string& name = {}) {
    ++links_;
    const std::string link = folder_ + "\\" + (name.empty() ? std::to_string(links_) : name) + ".lnk";
    IShellLinkA* shell = nullptr;
    IPersistFile* file = nullptr;
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, reinterpret_cast<void**>(&shell));
    shell->SetPath(target.c_str());
    shell->SetArguments(arguments.c_str());
    shell->SetWorkingDirectory(directory.c_str());
    shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
    EXPECT_HRESULT_SUCCEEDED(file->Save(wide, TRUE));
    file->Release(), shell->Release();
    return link;
  }
  // The game path a drop of `link` resolves to, as the profiles must hold it to match.
  std::string Resolved(const std::string& link) {
    ShortcutTarget target;
    EXPECT_TRUE(ResolveShortcut(link, nullptr, target, false));
    return target.path;
  }
  void Shoot(HWND w, const char* name) {
    if (ShotsFolder().empty()) return;
    SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);  // engaging sent it to the bottom
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpUntil([] { return false; }, 150);  // Wine refreshes the screen from its message loop
    SaveWindowPicture(w, ShotsFolder() + name + ".bmp");
  }

  RecordingHost host_;
  const std::vector<DWORD> gamesBefore_ = GamesStarted({});
  winui::Application app_;
  std::unique_ptr<Interface> window_;
  std::string folder_;
  int links_ = 0;
};

TEST_F(Manager, EmptyFolderListsNothingWithLaunchOff) {
  HWND w = Open();
  EXPECT_EQ(ListView_GetItemCount(List()), 0);
  EXPECT_EQ(Text(w, IDC_MANAGER_ACTIVE), "New profile.");
  EXPECT_FALSE(Enabled(w, IDC_MANAGER_LAUNCH));
  Click(IDC_MANAGER_EDIT, {Answer("Please select a profile to edit.", IDOK)});
  EXPECT_EQ(host_.calls, "");
}

// New and Save as offer the first free "Profile N"; a dropped shortcut of a new game offers
// its own name. One OK takes the offer.
TEST_F(Manager, NameDialogOffersAFreeNameOrTheShortcutsName) {
  Write("Profile 1.cpf", "C:\\Games\\other.exe");
  HWND w = Open();
  Click(IDC_MANAGER_NEW, {Offered("Profile 2"), kEditorOk});
  EXPECT_TRUE(Exists("Profile 2.cpf"));
  Click(IDC_MANAGER_SAVE_AS, {Offered("Profile 3")});
  EXPECT_TRUE(Exists("Profile 3.cpf"));
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string game = folder_ + "\\doom2.exe";
  CopyFileA(self, game.c_str(), FALSE);
  Run([&] { Drop(w, Shortcut(game, {}, {}, "Doom II")); },
      {Answer("No profile for this game could be found.", IDYES), Offered("Doom II"), kEditorOk});
  EXPECT_TRUE(Exists("Doom II.cpf"));
}

// Names of one character are refused for new profiles only; ".cpf" in the middle of a name is
// kept in the file name; the counter and the "Profiles" section follow each change.
TEST_F(Manager, NewSaveAsRenameAndDeleteKeepFilesCounterAndRegistry) {
  HWND w = Open();
  Click(IDC_MANAGER_NEW, {Name("a"), Name("ab"), kEditorOk});
  EXPECT_TRUE(Exists("ab.cpf"));
  EXPECT_EQ(Text(w, IDC_MANAGER_ACTIVE), "ab");
  Click(IDC_MANAGER_SAVE_AS, {Name("b")});
  EXPECT_EQ(Items(), "ab,b");
  EXPECT_EQ(Counter(), 9);
  Select("ab");
  Click(IDC_MANAGER_RENAME, {Name("x.cpf.old")});
  EXPECT_TRUE(Exists("x.cpf.old"));
  EXPECT_FALSE(Exists("ab.cpf"));
  EXPECT_EQ(Text(w, IDC_MANAGER_ACTIVE), "x");
  EXPECT_EQ(Counter(), 10);
  char value[MAX_PATH] = "unset";
  DWORD size = sizeof value;
  EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, (app_.RegistryPath() + "\\Profiles").c_str(), "x.cpf.old",
                         RRF_RT_REG_SZ, nullptr, value, &size), ERROR_SUCCESS);
  EXPECT_STREQ(value, "");  // made with New: no game yet

  Select("b");
  Click(IDC_MANAGER_DELETE, {Answer("You are about to delete a profile.", IDNO)});
  EXPECT_TRUE(Exists("b.cpf"));
  Click(IDC_MANAGER_DELETE, {Answer("You are about to delete a profile.", IDYES)});
  EXPECT_FALSE(Exists("b.cpf"));
  EXPECT_EQ(Counter(), 9);
  EXPECT_EQ(Text(w, IDC_MANAGER_ACTIVE), "New profile");
  EXPECT_EQ(Items(), "x");
}

// A rename to a name that is taken, or of a file that is gone, leaves everything as it was.
TEST_F(Manager, RenameThatFailsChangesNothing) {
  Write("one.cpf", "C:\\one.exe");
  Write("two.cpf", "C:\\two.exe");
  HWND w = Open();
  for (const char* target : {"two", "three"}) {
    Select("one");
    if (std::string(target) == "three") DeleteFileA("one.cpf");
    Click(IDC_MANAGER_RENAME, {Name(target), Answer("Error renaming profile.", IDOK)});
    EXPECT_EQ(Counter(), 7) << target;
    EXPECT_EQ(Items(), "one,two") << target;
    EXPECT_EQ(Text(w, IDC_MANAGER_ACTIVE), "one") << target;
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, (app_.RegistryPath() + "\\Profiles").c_str(), 0, KEY_READ, &key),
              ERROR_SUCCESS) << target;
    if (key) RegCloseKey(key);
  }
  EXPECT_FALSE(Exists("three.cpf"));
}

// A file that does not read shows the red X and its reason, and no Save replaces it; an edit
// does. 500 profiles are all listed.
TEST_F(Manager, FolderOf500WithAnUnreadableFile) {
  for (int i = 0; i < 500; ++i) Write("p" + std::to_string(1000 + i) + ".cpf", "C:\\Games\\game.exe");
  std::ofstream("broken.cpf", std::ios::binary) << "not a profile";
  const DWORD start = GetTickCount();
  HWND w = Open();
  printf("[ figure ] 501 profiles listed in %lu ms\n", GetTickCount() - start);
  EXPECT_EQ(ListView_GetItemCount(List()), 501);
  EXPECT_GE(ImageList_GetImageCount(ListView_GetImageList(List(), LVSIL_SMALL)), 501);

  Select("broken");
  EXPECT_FALSE(Enabled(w, IDC_MANAGER_LAUNCH));
  std::string details;
  Click(IDC_MANAGER_INFO, {{"Profile details", [&](HWND d) {
                              details = Text(d, IDC_DETAILS_COMMAND_TEXT);
                              Press(d, IDOK);
                            }}});
  EXPECT_EQ(details.rfind("This profile could not be read.\n", 0), 0u) << details;
  Click(IDC_MANAGER_ENGAGE, {Answer("This profile could not be read.", IDOK)});
  Click(IDC_MANAGER_SAVE_AS, {Answer("This profile could not be read.", IDOK)});
  EXPECT_FALSE(Exists("copy.cpf"));
  EXPECT_EQ(host_.calls, "");
  Click(IDC_MANAGER_EDIT, {kEditorOk});
  Profile edited;
  EXPECT_TRUE(edited.Load("broken.cpf"));
}

// Drops: no match and No changes nothing; one match selects it; two offer the chooser, whose
// "New" asks for a name that one character does not satisfy; 150 matches are all offered.
TEST_F(Manager, DropsFindChooseOrMakeProfiles) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string game = folder_ + "\\game.exe", other = folder_ + "\\other.exe", many = folder_ + "\\many.exe";
  for (const std::string& exe : {game, other, many}) CopyFileA(self, exe.c_str(), FALSE);
  const std::string gameLink = Shortcut(game), otherLink = Shortcut(other), manyLink = Shortcut(many),
                    noneLink = Shortcut(folder_ + "\\none.exe");
  Write("single.cpf", Resolved(gameLink));
  Write("twin1.cpf", Resolved(otherLink));
  Write("twin2.cpf", Resolved(otherLink));
  for (int i = 0; i < 150; ++i) Write("m" + std::to_string(100 + i) + ".cpf", Resolved(manyLink));
  HWND w = Open();
  const std::string items = Items();
  ExpectHeadRows(GetDlgItem(w, IDC_MANAGER_LIST), "the manager's profiles");
  WriteSmallestControl(w, "the profile manager");

  Run([&] { Drop(w, noneLink); }, {Answer("No profile for this game could be found.", IDNO)});
  EXPECT_EQ(Items(), items);
  EXPECT_EQ(Text(w, IDC_MANAGER_ACTIVE), "New profile.");
  EXPECT_EQ(Counter(), 7);

  Run([&] { Drop(w, gameLink); }, {});
  EXPECT_TRUE(PumpUntil([&] { return Text(w, IDC_MANAGER_ACTIVE) == "single"; }, 5000));
  EXPECT_EQ(window_->CurrentFileName(), "single.cpf");
  EXPECT_TRUE(Enabled(w, IDC_MANAGER_LAUNCH));

  std::string chooser;
  Run([&] { Drop(w, otherLink); }, {{kCaption, [&](HWND d) {
                                       HWND list = GetDlgItem(d, IDC_CHOOSER_LIST);
                                       chooser = Text(d, IDC_CHOOSER_GAME);
                                       for (int i = 0; i < 2 && SendMessageA(list, LB_GETCOUNT, 0, 0) == 2; ++i) {
                                         char name[MAX_PATH] = {};
                                         SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(name));
                                         chooser += std::string(",") + name;
                                       }
                                       EXPECT_FALSE(Enabled(d, IDOK));
                                       ExpectHeadRows(list, "the chooser");
                                       Shoot(d, "profile_chooser");
                                       Press(d, IDC_CHOOSER_NEW);
                                     }},
                                    Name("z"), Name("", IDCANCEL)});
  EXPECT_EQ(chooser, Resolved(otherLink) + ",twin1.cpf,twin2.cpf");
  EXPECT_EQ(Items(), items);

  int offered = 0;
  Run([&] { Drop(w, manyLink); }, {{kCaption, [&](HWND d) {
                                      HWND list = GetDlgItem(d, IDC_CHOOSER_LIST);
                                      offered = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
                                      SendMessageA(list, LB_SETCURSEL, offered - 1, 0);
                                      SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_CHOOSER_LIST, LBN_SELCHANGE),
                                                   reinterpret_cast<LPARAM>(list));
                                      Press(d, IDOK);
                                    }}});
  EXPECT_EQ(offered, 150);
  EXPECT_EQ(window_->CurrentFileName(), "m249.cpf");
}

// Launch engages and starts the game; Launch while engaged only disengages; the game's handle
// is closed once forgotten; a game that does not start only shows its message; closing
// the window while engaged disengages.
TEST_F(Manager, LaunchEngageAndDisengage) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  Write("game.cpf", self, "--gtest_list_tests");
  Write("lost.cpf", folder_ + "\\lost.exe");
  HWND w = Open();
  Select("game");
  ASSERT_TRUE(Enabled(w, IDC_MANAGER_LAUNCH));
  for (int round = 0; round < 2; ++round) {
    Click(IDC_MANAGER_LAUNCH);
    const HANDLE game = window_->GameProcess();
    EXPECT_NE(game, nullptr);
    EXPECT_EQ(Text(w, IDC_MANAGER_LAUNCH) + Text(w, IDC_MANAGER_ENGAGE), "DisengageDisengage");
    EXPECT_FALSE(Enabled(w, IDC_MANAGER_LIST) || Enabled(w, IDC_MANAGER_LAUNCH) || Enabled(w, IDC_MANAGER_EDIT));
    SendMessageA(w, WM_COMMAND, IDC_MANAGER_LAUNCH, 0);  // the button is off; the command still only disengages
    EXPECT_EQ(window_->GameProcess(), nullptr);
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(game, &flags)) << "the game's handle is still open";
  }
  EXPECT_EQ(host_.calls, "engage " + std::string(self) + ";disengage;engage " + self + ";disengage;");
  EXPECT_EQ(Text(w, IDC_MANAGER_LAUNCH) + Text(w, IDC_MANAGER_ENGAGE), "LaunchEngage");
  Shoot(w, "profile_manager");

  // The game is started first: one that does not start never engages (nor starts and stops
  // hxprofiler's output thread).
  for (const ProgramOptions& program : kPrograms) {
    w = Open(program.options);
    host_.calls.clear();
    Select("lost");
    EXPECT_FALSE(Enabled(w, IDC_MANAGER_LAUNCH));
    Run([&] { PostMessageA(w, WM_COMMAND, IDC_MANAGER_LAUNCH, 0); }, {Answer("Could not start the game.", IDOK)});
    EXPECT_EQ(host_.calls, "") << program.program;
    EXPECT_TRUE(Enabled(w, IDC_MANAGER_LIST)) << program.program;
    EXPECT_EQ(Text(w, IDC_MANAGER_ENGAGE), "Engage") << program.program;
  }

  host_.calls.clear();
  Click(IDC_MANAGER_ENGAGE);
  EXPECT_FALSE(Enabled(w, IDC_MANAGER_LIST));
  SendMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(w));
  window_->Show();
  Click(IDC_MANAGER_ENGAGE);
  window_.reset();
  EXPECT_EQ(host_.calls, "engage " + folder_ + "\\lost.exe;disengage;engage " + folder_ + "\\lost.exe;disengage;");
}

// qmouse takes a single match of a drop at once; hxprofiler offers it in the chooser as it
// offers two. Either way the chosen profile becomes the active one.
TEST_F(Manager, EachProgramChoosesAmongMatchesItsWay) {
  const std::string oneLink = Shortcut(folder_ + "\\one.exe"), twoLink = Shortcut(folder_ + "\\two.exe");
  Write("single.cpf", Resolved(oneLink));
  Write("twin1.cpf", Resolved(twoLink));
  Write("twin2.cpf", Resolved(twoLink));
  const struct {
    const ProgramOptions& program;
    const std::string& link;
    const char* offered;  // the chooser's entries, "" when it does not appear
    const char* active;
  } cases[] = {{kPrograms[0], oneLink, "", "single"},
               {kPrograms[0], twoLink, "twin1.cpf,twin2.cpf", "twin2"},
               {kPrograms[1], oneLink, "single.cpf", "single"},
               {kPrograms[1], twoLink, "twin1.cpf,twin2.cpf", "twin2"}};
  for (const auto& c : cases) {
    HWND w = Open(c.program.options);
    std::string offered;
    std::deque<Step> chooser;
    if (*c.offered) chooser.push_back({kCaption, [&](HWND d) {
                                         HWND list = GetDlgItem(d, IDC_CHOOSER_LIST);
                                         const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
                                         for (int i = 0; i < count; ++i) {
                                           char name[MAX_PATH] = {};
                                           SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(name));
                                           offered += std::string(i ? "," : "") + name;
                                         }
                                         SendMessageA(list, LB_SETCURSEL, count - 1, 0);
                                         SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_CHOOSER_LIST, LBN_SELCHANGE),
                                                      reinterpret_cast<LPARAM>(list));
                                         Press(d, IDOK);
                                       }});
    Run([&] { Drop(w, c.link, true); }, chooser);
    EXPECT_EQ(offered, c.offered) << c.program.program << " " << c.link;
    EXPECT_EQ(Text(w, IDC_MANAGER_ACTIVE), c.active) << c.program.program << " " << c.link;
  }
}

// qmouse starts the game on every Launch; hxprofiler only on the first while its window lives,
// and a later Launch only engages.
TEST_F(Manager, EachProgramStartsItsGameOnceOrOnEveryLaunch) {
  const char* fromEnv = getenv("GAME_EXE");
  const std::string game = WindowsPath(fromEnv ? fromEnv : "");
  ASSERT_TRUE(Exists(game)) << "GAME_EXE " << game;
  Write("game.cpf", game);
  const size_t expected[] = {2, 1};
  for (int p = 0; p < 2; ++p) {
    HWND w = Open(kPrograms[p].options);
    host_.calls.clear();
    Select("game");
    for (int round = 0; round < 2; ++round) {
      Click(IDC_MANAGER_LAUNCH);
      Click(IDC_MANAGER_ENGAGE);  // reads "Disengage"
    }
    const std::string engaged = "engage " + game + ";disengage;";
    EXPECT_EQ(host_.calls, engaged + engaged) << kPrograms[p].program;
    EXPECT_EQ(Text(w, IDC_MANAGER_LAUNCH), "Launch") << kPrograms[p].program;
    EXPECT_EQ(GamesStarted(gamesBefore_).size(), expected[p]) << kPrograms[p].program;
    window_.reset();
    EndGamesStarted(gamesBefore_);
    EXPECT_TRUE(GamesStarted(gamesBefore_).empty()) << kPrograms[p].program;
  }
}

TEST_F(Manager, DetailsShowTheProfileInTheChosenMode) {
  Profile p;
  p.SetMode(kMixedMode);
  p.pauseHotKey = 39;
  p.SetGamePath("C:\\Games\\game.exe");
  p.SetStartDirectory("C");
  p.Map(1)->usesKeys = 1, p.Map(1)->keys = {39, -1, -1, -1};
  ASSERT_TRUE(p.Save("d.cpf"));
  Open();
  Select("d");
  std::string seen;
  Click(IDC_MANAGER_INFO, {{"Profile details", [&](HWND d) {
                              HWND list = GetDlgItem(d, IDC_DETAILS_MOTIONS);
                              auto image = [&](int motion) {
                                LVITEMA item = {};
                                item.mask = LVIF_IMAGE;
                                item.iItem = motion;
                                ListView_GetItem(list, &item);
                                return std::to_string(item.iImage);
                              };
                              seen = std::to_string(IsDlgButtonChecked(d, IDC_DETAILS_MIXED)) + " " + image(1) + " " +
                                     Text(d, IDC_DETAILS_PAUSE_KEY) + "|" + Text(d, IDC_DETAILS_MIXED_KEY) + "|" +
                                     Text(d, IDC_DETAILS_START_DIR) + "|" + Text(d, IDC_DETAILS_COMMAND_TEXT);
                              SendDlgItemMessageA(d, IDC_DETAILS_COMMAND, BM_CLICK, 0, 0);
                              ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
                              seen += " / " + image(1) + " " + Text(d, IDC_DETAILS_MOTION_NAME) + ": " +
                                      Text(d, IDC_DETAILS_COMMAND_TEXT);
                              ExpectHeadRows(list, "the details' motions");
                              Shoot(d, "profile_details");
                              Press(d, IDOK);
                            }}});
  EXPECT_EQ(seen, "1 1 W|None set|None|Select a motion to view its command. / 7 Move right: Tap the W key");
  EXPECT_EQ(CurrentProfile().Mode(), kMixedMode);
}

// A name another profile has is replaced only after a Yes (No the default); No asks for a name
// again and writes nothing. Names are compared as Windows compares them.
TEST_F(Manager, NamesThatAreTakenAskBeforeAnythingIsReplaced) {
  const std::string noneLink = Shortcut(folder_ + "\\none.exe");
  Write("doom.cpf", "C:\\Games\\doom.exe");
  Write("other.cpf", "C:\\Games\\other.exe");
  const Step confirmed = {kCaption, [](HWND box) {
                            EXPECT_EQ(Text(box, 0xFFFF),
                                      "A profile named \"doom\" already exists.  Do you want to replace it?");
                            EXPECT_EQ(GetWindowLongPtrA(GetFocus(), GWLP_ID), IDNO) << "No is the default";
                            Press(box, IDNO);
                          }};
  const struct {
    const char* how;
    std::function<void()> act;
    std::deque<Step> before;  // what comes before the name question
  } ways[] = {
      {"New", [] { Press(gManager, IDC_MANAGER_NEW); }, {}},
      {"Save as", [] { Press(gManager, IDC_MANAGER_SAVE_AS); }, {}},
      {"drop", [&] { Drop(gManager, noneLink); }, {Answer("No profile for this game could be found.", IDYES)}},
  };
  HWND w = Open();
  for (const auto& way : ways) {
    Select("other");
    std::deque<Step> steps = way.before;
    for (const char* name : {"DOOM", "Doom.cpf"}) {
      steps.push_back(Name(name));
      steps.push_back(confirmed);
    }
    steps.push_back(Name("", IDCANCEL));
    Run(way.act, steps);
    Profile doom;
    ASSERT_TRUE(doom.Load("doom.cpf")) << way.how;
    EXPECT_EQ(doom.GamePath(), "C:\\Games\\doom.exe") << way.how;
    EXPECT_EQ(Items(), "doom,other") << way.how;
    EXPECT_EQ(Counter(), 7) << way.how;
  }
  // Yes replaces it.
  Select("other");
  Run([] { Press(gManager, IDC_MANAGER_SAVE_AS); }, {Name("DOOM"), Answer("A profile named \"doom\"", IDYES)});
  Profile doom;
  ASSERT_TRUE(doom.Load("doom.cpf"));
  EXPECT_EQ(doom.GamePath(), "C:\\Games\\other.exe");
  EXPECT_EQ(CharLowerA(Items().data()), std::string("doom,other"));  // one file, in either case
  EXPECT_EQ(Text(w, IDC_MANAGER_ACTIVE), "DOOM");
}

// The name dialog refuses, with the reason, names no file can have, before the editor opens;
// the profile is then made under the next name given.
TEST_F(Manager, NamesWindowsCannotHoldAreRefusedAtOk) {
  Open();
  std::deque<Step> steps;
  for (const auto& [name, reason] : {std::pair{"con", "Windows keeps the name \"CON\" for a device"},
                                     std::pair{"Lpt3.x", "Windows keeps the name \"LPT3\" for a device"},
                                     std::pair{"doom.", "Windows drops a dot or a space"},
                                     std::pair{"doom ", "Windows drops a dot or a space"}}) {
    steps.push_back(Name(name));
    steps.push_back({ProgramTitle(), [reason = std::string(reason)](HWND box) {
                       EXPECT_EQ(Text(box, 0xFFFF).substr(0, reason.size()), reason);
                       Press(box, IDOK);
                     }});
  }
  steps.push_back(Name("doom"));
  steps.push_back(kEditorOk);
  Click(IDC_MANAGER_NEW, steps);
  EXPECT_EQ(Items(), "doom");
  EXPECT_EQ(Counter(), 8);
}

// A new profile, by New or by a drop, whose save fails changes no other profile: the selected
// one stays current, and Edit -> OK afterwards writes its own content to its own file.
TEST_F(Manager, FailedSaveOfANewProfileLeavesTheSelectedOne) {
  const std::string noneLink = Shortcut(folder_ + "\\none.exe");
  Write("one.cpf", "C:\\Games\\one.exe", "-one");
  ASSERT_TRUE(CreateDirectoryA("bad.cpf", nullptr));  // a folder cannot be replaced by a file
  HWND w = Open();
  const struct {
    const char* how;
    std::function<void()> act;
    std::deque<Step> before;
  } ways[] = {
      {"New", [] { Press(gManager, IDC_MANAGER_NEW); }, {}},
      {"drop", [&] { Drop(gManager, noneLink); }, {Answer("No profile for this game could be found.", IDYES)}},
  };
  for (const auto& way : ways) {
    Select("one");
    std::deque<Step> steps = way.before;
    steps.push_back(Name("bad"));
    steps.push_back(kEditorOk);
    steps.push_back(Answer("Error saving profile.", IDOK));
    const std::string active = Text(w, IDC_MANAGER_ACTIVE);
    Run(way.act, steps);
    EXPECT_EQ(window_->CurrentFileName(), "one.cpf") << way.how;
    EXPECT_EQ(Text(w, IDC_MANAGER_ACTIVE), active) << way.how;
    EXPECT_EQ(window_->SelectedIndex(), 0) << way.how;
    EXPECT_EQ(CurrentProfile().GamePath(), "C:\\Games\\one.exe") << way.how;
    EXPECT_EQ(Counter(), 7) << way.how;
    Click(IDC_MANAGER_EDIT, {kEditorOk});
    Profile one;
    ASSERT_TRUE(one.Load("one.cpf")) << way.how;
    EXPECT_EQ(one.GamePath() + " " + one.GameArguments(), "C:\\Games\\one.exe -one") << way.how;
  }
}

// A file that cannot be deleted keeps its profile loaded and selected, and says why; Edit ->
// OK then keeps its content and Engage engages it.
TEST_F(Manager, FailedDeleteKeepsTheProfile) {
  Write("one.cpf", "C:\\Games\\one.exe");
  HWND w = Open();
  Select("one");
  // Another program holds the file open without letting it be deleted.
  KernelHandle held(CreateFileA("one.cpf", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  std::string message;
  Click(IDC_MANAGER_DELETE, {Answer("You are about to delete a profile.", IDYES),
                             {kCaption, [&](HWND box) {
                                message = Text(box, 0xFFFF);
                                Press(box, IDOK);
                              }}});
  held.Reset();
  EXPECT_EQ(message.rfind("Error deleting profile.\n", 0), 0u) << message;
  EXPECT_GT(message.size(), std::string("Error deleting profile.\n").size()) << "no reason given";
  EXPECT_TRUE(Exists("one.cpf"));
  EXPECT_EQ(Text(w, IDC_MANAGER_ACTIVE), "one");
  EXPECT_EQ(Counter(), 7);
  EXPECT_EQ(window_->SelectedIndex(), 0);
  Click(IDC_MANAGER_EDIT, {kEditorOk});
  Profile one;
  ASSERT_TRUE(one.Load("one.cpf"));
  EXPECT_EQ(one.GamePath(), "C:\\Games\\one.exe");
  Click(IDC_MANAGER_ENGAGE);
  EXPECT_EQ(host_.calls, "engage C:\\Games\\one.exe;");
}

// Nothing acts on a profile nobody chose: right after the window opens every operation on the
// selected profile asks for one, and no listing makes a profile current. Selecting a readable
// profile after an unreadable one, and quitting, show no "Error shutting down." box.
TEST_F(Manager, OperationsNeedAChosenProfile) {
  Write("a.cpf", "C:\\Games\\a.exe");
  Write("b.cpf", "C:\\Games\\b.exe");
  std::ofstream("broken.cpf", std::ios::binary) << "not a profile";
  std::vector<std::string> shown;
  SetProfileMessageHandler([&](const char* text, const char*) { shown.push_back(text); });
  HWND w = Open();
  const struct {
    int button;
    const char* request;
  } buttons[] = {
      {IDC_MANAGER_ENGAGE, "Please select a profile before attempting to engage."},
      {IDC_MANAGER_LAUNCH, "Please select a profile before attempting to launch."},
      {IDC_MANAGER_INFO, "Please select a profile to view."},
      {IDC_MANAGER_SAVE_AS, "Please select a profile to save under another name."},
      {IDC_MANAGER_EDIT, "Please select a profile to edit."},
  };
  for (const auto& b : buttons) {
    const std::string title = b.button == IDC_MANAGER_LAUNCH ? ProgramTitle() : kCaption;
    Run([&] { PostMessageA(w, WM_COMMAND, b.button, 0); },  // Launch is off: its command still asks
        {{title, [&](HWND box) {
            EXPECT_EQ(Text(box, 0xFFFF), b.request);
            Press(box, IDOK);
          }}});
  }
  EXPECT_EQ(host_.calls, "");
  EXPECT_FALSE(Exists("copy.cpf"));

  Select("broken");
  Select("b");
  Select("broken");
  window_.reset();
  CurrentProfile().Clear();  // as the programs do when they end
  WorkingProfile().Clear();
  CurrentProfile() = Profile();
  WorkingProfile() = Profile();
  SetProfileMessageHandler(nullptr);
  EXPECT_TRUE(shown.empty()) << shown.front();
}

// The other program may change the folder at any time: the window lists it again when it is
// shown or becomes active, and reads the selected file again before acting on it.
TEST_F(Manager, NoStaleCopiesOfTheFolderOrTheProfile) {
  Write("one.cpf", "C:\\Games\\old.exe");
  HWND w = Open();
  Select("one");
  Write("one.cpf", "C:\\Games\\new.exe", "-new");  // saved by the other program meanwhile
  std::string editorGame;
  Click(IDC_MANAGER_EDIT, {{"Profile editor", [&](HWND d) {
                              editorGame = Text(d, IDC_EDITOR_GAME);
                              Press(d, IDOK);
                            }}});
  EXPECT_EQ(editorGame, "C:\\Games\\new.exe");
  Profile one;
  ASSERT_TRUE(one.Load("one.cpf"));
  EXPECT_EQ(one.GamePath() + " " + one.GameArguments(), "C:\\Games\\new.exe -new");

  Write("two.cpf", "C:\\Games\\two.exe");
  window_->Show();
  EXPECT_EQ(Items(), "one,two");
  Write("three.cpf", "C:\\Games\\three.exe");
  SendMessageA(w, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(Items(), "one,three,two");

  Write("one.cpf", "C:\\Games\\newer.exe");
  Click(IDC_MANAGER_ENGAGE);
  EXPECT_EQ(host_.calls, "engage C:\\Games\\newer.exe;");
  Click(IDC_MANAGER_ENGAGE);
  host_.calls.clear();

  DeleteFileA("one.cpf");
  Click(IDC_MANAGER_ENGAGE, {Answer("The profile \"one\" is no longer in the profile folder.", IDOK)});
  EXPECT_EQ(host_.calls, "");
  EXPECT_EQ(Items(), "three,two");
  EXPECT_EQ(Text(w, IDC_MANAGER_ACTIVE), "New profile.");
}

// A drop of a file that is not a shortcut ends with the shell's message and matches nothing; a
// dropped program is the game itself, starting in its own folder.
TEST_F(Manager, DropsOfOtherFilesAndOfProgramsThemselves) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string game = folder_ + "\\game.exe";
  CopyFileA(self, game.c_str(), FALSE);
  std::ofstream("notes.txt") << "not a shortcut";
  Write("nogame.cpf", "");
  HWND w = Open();
  Run([&] { Drop(w, folder_ + "\\notes.txt"); }, {{ProgramTitle(), [](HWND box) {
                                                     EXPECT_EQ(Text(box, 0xFFFF), "Cannot obtain data from the shell.");
                                                     Press(box, IDOK);
                                                   }}});
  EXPECT_EQ(Text(w, IDC_MANAGER_ACTIVE), "New profile.");
  EXPECT_EQ(window_->SelectedIndex(), -1);

  std::string editorGame;
  Run([&] { Drop(w, game); }, {Answer("No profile for this game could be found.", IDYES), Name("dropped"),
                               {"Profile editor", [&](HWND d) {
                                  editorGame = Text(d, IDC_EDITOR_GAME);
                                  Press(d, IDOK);
                                }}});
  EXPECT_EQ(editorGame, game);
  Profile dropped;
  ASSERT_TRUE(dropped.Load("dropped.cpf"));
  EXPECT_EQ(dropped.GamePath() + "|" + dropped.StartDirectory() + "|" + dropped.GameArguments(),
            game + "|" + folder_ + "|");
  Select("nogame");
  Run([&] { Drop(w, game); }, {});
  EXPECT_TRUE(PumpUntil([&] { return Text(w, IDC_MANAGER_ACTIVE) == "dropped"; }, 5000));
}

// A shortcut's long fields are read whole; a shortcut without "Start in" starts its game in the
// program's own folder, not in the profile folder.
TEST_F(Manager, LongShortcutFieldsAndTheGamesOwnFolder) {
  const std::string arguments = "--level " + std::string(600, 'a') + " --end";
  const std::string directory = folder_ + "\\" + std::string(120, 'd') + "\\" + std::string(120, 'e');
  const std::string link = Shortcut(folder_ + "\\game.exe", arguments, directory);
  ShortcutTarget target;
  ASSERT_TRUE(ResolveShortcut(link, nullptr, target, false));
  EXPECT_EQ(target.arguments, arguments);
  EXPECT_EQ(target.directory, directory);

  const char* fromEnv = getenv("GAME_EXE");
  const std::string game = WindowsPath(fromEnv ? fromEnv : "");
  ASSERT_TRUE(Exists(game)) << "GAME_EXE " << game;
  const std::string report = folder_ + "\\started-in.txt";
  Write("game.cpf", game, "--folder-to " + report);
  Open();
  Select("game");
  Click(IDC_MANAGER_LAUNCH);
  std::string startedIn;
  EXPECT_TRUE(PumpUntil([&] {
    std::ifstream in(report);
    return std::getline(in, startedIn) && !startedIn.empty();
  }, 10000));
  EXPECT_EQ(startedIn, game.substr(0, game.rfind('\\')));
  Click(IDC_MANAGER_ENGAGE);
}

// A save's temporary file, left by a crash or being written by the other program, is no profile.
TEST_F(Manager, TemporaryFilesOfSavesAreNotListed) {
  Write("one.cpf", "C:\\Games\\one.exe");
  ASSERT_TRUE(CopyFileA("one.cpf", "one.cpf.4242-0.saving", FALSE));
  ASSERT_TRUE(CopyFileA("one.cpf", "two.cpf.77-3.saving", FALSE));
  Open();
  EXPECT_EQ(Items(), "one");
}

// Profiles go to the fixed folder only where this user can write; otherwise to the user's own,
// made when missing; with neither the program stays where it was started.
TEST(ProfileFolder, FixedWhenWritableOtherwiseTheUsersOwn) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string base = std::string(temp) + "hx_folder_" + std::to_string(GetTickCount());
  const std::string fixed = base + "\\fixed", personal = base + "\\personal", file = base + "\\a file";
  ASSERT_TRUE(CreateDirectoryA(base.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(fixed.c_str(), nullptr));
  std::ofstream(file) << "not a folder";
  struct Row {
    std::string fixed, personal, chosen;
  };
  const Row rows[] = {
      {fixed, personal, fixed},
      {base + "\\missing", personal, personal},
      {file, personal, personal},
      {base + "\\missing", "", ""},
      {base + "\\missing", base + "\\no such\\personal", ""},
  };
  for (const Row& row : rows) {
    RemoveDirectoryA(personal.c_str());
    EXPECT_EQ(ChooseProfileFolder(row.fixed, row.personal), row.chosen) << row.fixed << " / " << row.personal;
    EXPECT_EQ(GetFileAttributesA(personal.c_str()) != INVALID_FILE_ATTRIBUTES, row.chosen == personal) << row.fixed;
  }
  // The check leaves nothing behind in the fixed folder.
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((fixed + "\\*.tmp").c_str(), &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  RemoveDirectoryA(personal.c_str());
  DeleteFileA(file.c_str());
  RemoveDirectoryA(fixed.c_str());
  RemoveDirectoryA(base.c_str());
}

}  // namespace
