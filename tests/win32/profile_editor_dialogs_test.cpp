// The profile editor, the command options, axis options and name dialogs in this process,
// driven by messages: modal dialogs are found from a timer by their title; hxsim plays the
// head for the command options' bar.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "device/trace.h"
#include "hxsim/win/sim_client.h"
#include "profiles/profile.h"
#include "profiles/win/axis_options_dialog.h"
#include "profiles/win/mapper.h"
#include "profiles/win/name_dialog.h"
#include "profiles/win/profile_editor.h"
#include "profiles/win/shell_link.h"
#include "resources/profiles/resource.h"
#include "resources/qmouse/resource.h"
#include "tests/e2e/remote.h"
#include "tests/e2e/screenshot.h"
#include "tests/win32/win_test_support.h"

namespace {

std::string Text(HWND w) {
  char text[512] = {};
  GetWindowTextA(w, text, sizeof text);
  return text;
}
std::string Text(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }
bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
// Buttons that open or close a modal dialog are posted, so the timer never runs inside it.
void Press(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
int Position(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageA(dialog, id, TBM_GETPOS, 0, 0)); }

// A real drag of the thumb to `fraction` of the channel, so the slider reports its release.
void Drag(HWND dialog, int id, double fraction) {
  HWND slider = GetDlgItem(dialog, id);
  RECT thumb, channel;
  SendMessageA(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  SendMessageA(slider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  const int y = (thumb.top + thumb.bottom) / 2;
  const int x = channel.left + static_cast<int>((channel.right - channel.left) * fraction);
  SendMessageA(slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((thumb.left + thumb.right) / 2, y));
  SendMessageA(slider, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageA(slider, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void Select(HWND dialog, int item) {
  if (item >= 0)
    ListView_SetItemState(GetDlgItem(dialog, IDC_EDITOR_MOTIONS), item, LVIS_SELECTED | LVIS_FOCUSED,
                        LVIS_SELECTED | LVIS_FOCUSED);
}

// The picture is read from the screen, which Wine brings up to date from the message loop now
// and then; nothing tells when, so pictures (never assertions) wait a little.
void Shoot(HWND dialog, const char* name) {
  if (ShotsFolder().empty()) return;
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpUntil([] { return false; }, 150);
  SaveWindowPicture(dialog, ShotsFolder() + name + ".bmp");
}

// Steps run from a timer against the enabled dialog of this thread with the step's title, one
// per tick. A step not met in time cancels every open dialog, so a failing test ends.
struct Step {
  std::string title;
  std::function<void(HWND)> act;
};
std::deque<Step> gSteps;
DWORD gStepSince = 0;
bool gInStep = false;

struct Search {
  const std::string& title;
  HWND found;
};
BOOL CALLBACK Match(HWND w, LPARAM p) {
  auto& s = *reinterpret_cast<Search*>(p);
  char cls[16] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (lstrcmpA(cls, "#32770") || !IsWindowVisible(w) || !IsWindowEnabled(w) || Text(w) != s.title) return TRUE;
  s.found = w;
  return FALSE;
}
HWND FindDialog(const std::string& title) {
  Search search{title, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), Match, reinterpret_cast<LPARAM>(&search));
  return search.found;
}
BOOL CALLBACK CancelEnabled(HWND w, LPARAM) {
  if (IsWindowEnabled(w)) PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
  return TRUE;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (gInStep || gSteps.empty()) return;
  if (HWND dialog = FindDialog(gSteps.front().title)) {
    const Step step = gSteps.front();
    gSteps.pop_front();
    gStepSince = GetTickCount();
    gInStep = true;
    step.act(dialog);
    gInStep = false;
  } else if (GetTickCount() - gStepSince > 5000) {
    ADD_FAILURE() << "no dialog \"" << gSteps.front().title << "\"";
    gSteps.clear();
    EnumThreadWindows(GetCurrentThreadId(), CancelEnabled, 0);
  }
}

// Runs a modal dialog against the steps, which must all run.
template <typename D>
INT_PTR Drive(D& dialog, std::deque<Step> steps) {
  gSteps = std::move(steps);
  gStepSince = GetTickCount();
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, Tick);
  const INT_PTR result = dialog.DoModal();
  KillTimer(nullptr, timer);
  EXPECT_TRUE(gSteps.empty()) << gSteps.size() << " steps left, next \"" << gSteps.front().title << "\"";
  gSteps.clear();
  return result;
}

constexpr char kEditor[] = "Profile editor";
constexpr char kAxis[] = "Axis options";
constexpr char kName[] = "Enter profile name";
constexpr char kKeys[] = "Key command";

class ProfileDialogs : public testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    WorkingProfile() = Profile();
  }
  void TearDown() override { CoUninitialize(); }
  Profile& working = WorkingProfile();
};

TEST_F(ProfileDialogs, NameDialogRefusesForbiddenCharactersAsTypedAndKeepsTheCaretAtTheEnd) {
  const struct {
    const char* given;
    std::string typed, shown;
    bool ok;
  } rows[] = {
      {"", "Doom?", "Doom", true},
      {"ab", "c?d\"e", "abcde", true},  // a caret left at the start would give "edabc"
      {"", "a/b:c\\d*e?f<g>h|i", "abcdefghi", true},
      {"", std::string(300, 'x'), std::string(256, 'x'), true},
      {"kept", "new", "keptnew", false},
  };
  for (const auto& row : rows) {
    NameDialog dialog(row.given);
    std::string shown;
    DWORD caret = 0;
    const INT_PTR result = Drive(dialog, {{kName, [&](HWND d) {
                                             HWND edit = GetDlgItem(d, IDC_PROFILE_NAME);
                                             SendMessageA(edit, EM_SETSEL, 64, 64);
                                             for (char c : row.typed) SendMessageA(edit, WM_CHAR, c, 1);
                                             shown = Text(edit);
                                             SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
                                             if (row.typed == "c?d\"e") Shoot(d, "name_dialog");
                                             Press(d, row.ok ? IDOK : IDCANCEL);
                                           }}});
    EXPECT_EQ(shown, row.shown) << row.typed;
    EXPECT_EQ(caret, shown.size()) << row.typed;
    EXPECT_EQ(result, row.ok ? IDOK : IDCANCEL);
    EXPECT_EQ(dialog.Name(), row.ok ? row.shown : row.given) << row.typed;
  }
}

// The offered name comes selected, so OK takes it in one rest and typing replaces it; the
// "On-screen keyboard" button is big enough to hit, says so when the keyboard cannot start,
// and leaves the typing in the name.
TEST_F(ProfileDialogs, NameDialogOffersItsNameSelectedAndAnOnScreenKeyboard) {
  {
    NameDialog dialog("Profile 3");
    DWORD from = 9, to = 0;
    EXPECT_EQ(Drive(dialog, {{kName, [&](HWND d) {
                                SendMessageA(GetDlgItem(d, IDC_PROFILE_NAME), EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                                             reinterpret_cast<LPARAM>(&to));
                                Press(d, IDOK);
                              }}}),
              IDOK);
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 9u);
    EXPECT_EQ(dialog.Name(), "Profile 3");
  }
  NameDialog dialog("Doom", "C:\\no such folder\\keyboard.exe");
  const std::string title = ProgramTitle();
  std::string typed;
  RECT button = {};
  const INT_PTR result = Drive(dialog, {{kName, [&](HWND d) {
                                           GetWindowRect(GetDlgItem(d, IDC_PROFILE_NAME_KEYBOARD), &button);
                                           WriteSmallestControl(d, "the name dialog");
                                           Press(d, IDC_PROFILE_NAME_KEYBOARD);
                                         }},
                                        {title.c_str(), [&](HWND box) {
                                           typed = Text(GetDlgItem(box, 0xFFFF));
                                           Press(box, IDOK);
                                         }},
                                        {kName, [&](HWND d) {
                                           HWND edit = GetDlgItem(d, IDC_PROFILE_NAME);
                                           EXPECT_EQ(GetFocus(), edit);
                                           SendMessageA(edit, WM_CHAR, 'Q', 1);
                                           Press(d, IDOK);
                                         }}});
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(typed, dialog_texts::kKeyboardFailed);
  EXPECT_EQ(dialog.Name(), "Q") << "the selected offer is replaced by typing";
  EXPECT_GE(button.bottom - button.top, 24 * winui::SystemDpi() / 96 - 2);
}

// Closes the stand-in keyboard, or ends it should it not be answering.
void EndKeyboard(HWND board) {
  DWORD id = 0;
  GetWindowThreadProcessId(board, &id);
  if (SendMessageTimeoutA(board, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, nullptr)) {
    PostMessageA(board, WM_CLOSE, 0, 0);
  } else if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id)) {
    TerminateProcess(process, 1);
    CloseHandle(process);
  }
}

// "On-screen keyboard" puts the keyboard's window beside the dialog, on the dialog's work area
// and covering none of it; a keyboard that refuses to be moved, or does not answer, gets the
// dialog beside it instead, and the dialog goes on answering meanwhile.
TEST_F(ProfileDialogs, NameDialogsKeyboardOpensBesideIt) {
  // A copy: setting the mode below may move the environment's strings.
  const char* named = std::getenv("KEYBOARD_EXE");
  ASSERT_TRUE(named) << "KEYBOARD_EXE names the stand-in keyboard";
  const std::string keyboard = named;
  for (const char* mode : {"moves", "stays", "hangs"}) {
    SCOPED_TRACE(std::string("the keyboard ") + mode);
    const bool moves = std::strcmp(mode, "moves") == 0;
    _putenv((std::string("STAND_IN_KEYBOARD=") + mode).c_str());
    NameDialog dialog("Doom", keyboard);
    RECT opened = {}, d = {}, k = {}, work = {};
    HWND board = nullptr;
    const auto beside = [&] {
      board = FindWindowA("StandInKeyboard", nullptr);
      if (!board || !GetWindowRect(board, &k)) return false;
      RECT both;
      return !IntersectRect(&both, &d, &k) &&
             (k.right == d.left || k.left == d.right || k.bottom == d.top || k.top == d.bottom);
    };
    EXPECT_EQ(Drive(dialog, {{kName, [&](HWND dlg) {
                                GetWindowRect(dlg, &opened);
                                Press(dlg, IDC_PROFILE_NAME_KEYBOARD);
                              }},
                             {kName, [&](HWND dlg) {
                                EXPECT_TRUE(PumpUntil([&] { return GetWindowRect(dlg, &d) && beside(); }, 10000))
                                    << "dialog " << d.left << "," << d.top << " keyboard " << k.left << "," << k.top;
                                MONITORINFO monitor = {};
                                monitor.cbSize = sizeof monitor;
                                GetMonitorInfoA(MonitorFromWindow(dlg, MONITOR_DEFAULTTONEAREST), &monitor);
                                work = monitor.rcWork;
                                EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_PROFILE_NAME));
                                if (moves) Shoot(GetDesktopWindow(), "name_dialog_keyboard");
                                if (board) EndKeyboard(board);
                                EXPECT_TRUE(PumpUntil([] { return !FindWindowA("StandInKeyboard", nullptr); }, 5000));
                                Press(dlg, IDOK);
                              }}}),
              IDOK);
    RECT inside;
    EXPECT_TRUE(IntersectRect(&inside, &k, &work) && EqualRect(&inside, &k)) << "the keyboard is on the work area";
    EXPECT_TRUE(IntersectRect(&inside, &d, &work) && EqualRect(&inside, &d)) << "the dialog is on the work area";
    EXPECT_EQ(EqualRect(&d, &opened) != FALSE, moves) << "only a keyboard that does not move moves the dialog";
  }
  _putenv("STAND_IN_KEYBOARD=");
}

std::string ListItems(HWND list) {
  std::string items;
  for (int i = 0; i < ListView_GetItemCount(list); ++i) {
    char label[32] = {};
    LVITEMA item = {LVIF_TEXT | LVIF_IMAGE, i, 0, 0, 0, label, sizeof label};
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    items += std::string(label) + ":" + std::to_string(item.iImage) + " ";
  }
  return items;
}

// The radios change the list (white on black, a picture per item) and the mode handed back.
TEST_F(ProfileDialogs, EditorListFollowsTheModeRadiosAndTheWorkingCopy) {
  working.Map(2)->usesKeys = 1;
  working.Map(7)->usesPowerCommand = 1;
  working.Map(13)->usesWheel = 1;
  working.pauseHotKey = 39;
  working.mixedHotKey = 250;  // from a damaged file: no key has it
  const struct {
    int radio;
    const char* items;  // label:image
  } rows[] = {
      {IDC_EDITOR_COMMAND, "Move left:0 Move right:1 Move up:8 Move down:3 Move forward:4 Move back:5 "
                           "Look left:0 Look right:7 Look up:2 Look down:3 "},
      {IDC_EDITOR_MIXED, "Move left:0 Move right:1 Move up:2 Move down:9 Move forward:4 Move back:5 "
                         "X Rotation:12 Y Rotation:13 "},
  };
  ProfileEditor editor(kMouselook, "", "", "");
  std::deque<Step> steps = {{kEditor, [&](HWND d) {
                               HWND list = GetDlgItem(d, IDC_EDITOR_MOTIONS);
                               EXPECT_EQ(ListView_GetBkColor(list) + ListView_GetTextColor(list), RGB(255, 255, 255));
                               EXPECT_EQ(ListItems(list), "X Rotation:12 Y Rotation:13 ");
                               ExpectHeadRows(list, "the editor's motions");
                               WriteSmallestControl(d, "the profile editor");
                               EXPECT_EQ(Text(d, IDC_EDITOR_GAME) + "|" + Text(d, IDC_EDITOR_PAUSE_TEXT) + "|" +
                                             Text(d, IDC_EDITOR_MIXED_TEXT),
                                         "No game selected.|W|None set");
                             }}};
  for (const auto& row : rows)
    steps.push_back({kEditor, [&](HWND d) {
                       Click(d, row.radio);
                       EXPECT_EQ(ListItems(GetDlgItem(d, IDC_EDITOR_MOTIONS)), row.items);
                       if (row.radio == IDC_EDITOR_COMMAND) Shoot(d, "profile_editor");
                     }});
  steps.push_back({kEditor, [&](HWND d) { Press(d, IDOK); }});
  EXPECT_EQ(Drive(editor, steps), IDOK);
  EXPECT_EQ(editor.Mode(), kMixedMode);
  EXPECT_EQ(working.Mode(), kMouselook);  // the manager stores the mode it is handed back
}

// Axis values land in the current mode's set on OK only; the hold changes at once.
TEST_F(ProfileDialogs, AxisOptionsOpenWithTheWorkingCopyAndReturnOnOkOnly) {
  const struct {
    int mode, item;
    AxisOptions stored;
    int32_t hold;
    const char* shown;  // point, pan, pan off, non-pan, non-pan off, allowed, button radio, name
    bool ok;
    AxisOptions after;
  } rows[] = {
      {kMouselook, 1, {120, 11, 4}, 302, "120 4 0 1 1 1 1 Middle mouse button", true, {120, 1, 7}},
      {kMixedMode, 6, {500, 3, 50}, 39, "200 10 0 3 0 1 0 W", true, {500, 11, 7}},
      {kMixedMode, 7, {40, 2, 9}, 308, "40 9 0 2 0 1 1 ", false, {40, 2, 9}},
  };
  for (const auto& row : rows) {
    working = Profile();
    const int axisMode = row.mode == kMouselook ? kAxisMouselook : kAxisMixed;
    const int axis = row.item % 6;
    working.axis[axisMode][axis] = row.stored;
    working.freelookHold = row.hold;
    ProfileEditor editor(row.mode, "", "", "");
    std::string shown;
    const INT_PTR result = Drive(
        editor, {{kEditor, [&](HWND d) { Select(d, row.item), Press(d, IDC_EDITOR_EDIT); }},
                 {kAxis, [&](HWND d) {
                    shown = std::to_string(Position(d, IDC_AXIS_PANNING_POINT)) + " " +
                            std::to_string(Position(d, IDC_AXIS_PAN_SPEED)) + " " +
                            std::to_string(Checked(d, IDC_AXIS_PAN_OFF)) + " " +
                            std::to_string(Position(d, IDC_AXIS_NONPAN_SPEED)) + " " +
                            std::to_string(Checked(d, IDC_AXIS_NONPAN_OFF)) + " " +
                            std::to_string(Checked(d, IDC_AXIS_HOLD_ALLOW)) + " " +
                            std::to_string(Checked(d, IDC_AXIS_HOLD_BUTTON)) + " " + Text(d, IDC_AXIS_HOLD_NAME);
                    Shoot(d, "axis_options");
                    // Panning to 7 by a drag (1-10, so two thirds of the way); non-panning's box
                    // toggled.
                    Drag(d, IDC_AXIS_PAN_SPEED, 6.0 / 9);
                    Click(d, IDC_AXIS_NONPAN_OFF);
                    Click(d, IDC_AXIS_HOLD_ALLOW);  // off: no hold from now on
                    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_AXIS_HOLD_SET)));
                    Press(d, row.ok ? IDOK : IDCANCEL);
                  }},
                 {kEditor, [&](HWND d) { Press(d, IDCANCEL); }}});
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(shown, row.shown) << row.item;
    const AxisOptions& a = working.axis[axisMode][axis];
    EXPECT_EQ(std::to_string(a.panningPoint) + " " + std::to_string(a.nonPanningSensitivity) + " " +
                  std::to_string(a.panningSensitivity),
              std::to_string(row.after.panningPoint) + " " + std::to_string(row.after.nonPanningSensitivity) + " " +
                  std::to_string(row.after.panningSensitivity))
        << row.item;
    EXPECT_EQ(working.freelookHold, -1) << row.item;
  }
}

// A rest on a slider's track is a left click there: the thumb moves one page (a tenth of its
// travel) towards it, and the value it stands for is what OK hands back, as after a drag.
TEST_F(ProfileDialogs, ARestOnASlidersTrackMovesOnePageAndIsKept) {
  Command map;
  const AxisOptions axis = {110, 3, 5};  // point, non-panning, panning
  const auto options = [](const winui::Dialog& d) { return dynamic_cast<const AxisOptionsDialog&>(d).Options(); };
  RestOnEachTrack({
      {"dead zone", [&] { return std::make_unique<Mapper>(map, 2, 0, MapperChecks{}, 500); }, IDC_MAPPER_DEADZONE,
       [](const winui::Dialog& d) { return static_cast<int>(dynamic_cast<const Mapper&>(d).DeadZone()); }, 700},
      {"panning point", [&] { return std::make_unique<AxisOptionsDialog>(axis); }, IDC_AXIS_PANNING_POINT,
       [&](const winui::Dialog& d) { return static_cast<int>(options(d).panningPoint); }, 128},
      {"panning speed", [&] { return std::make_unique<AxisOptionsDialog>(axis); }, IDC_AXIS_PAN_SPEED,
       [&](const winui::Dialog& d) { return static_cast<int>(options(d).panningSensitivity); }, 6},
      {"non-panning speed", [&] { return std::make_unique<AxisOptionsDialog>(axis); }, IDC_AXIS_NONPAN_SPEED,
       [&](const winui::Dialog& d) { return static_cast<int>(options(d).nonPanningSensitivity); }, 4},
  });
}

// Posts a drop of one file, as the shell would hand it over.
void Drop(HWND d, const std::string& name) {
  PostMessageA(d, WM_DROPFILES, reinterpret_cast<WPARAM>(LocalDrop(name, 0, 0)), 0);
}

// Saves a shortcut at `link` to `target` with these arguments and working folder.
void MakeShortcut(const std::string& link, const std::string& target, const char* arguments, const char* folder) {
  IShellLinkA* shell = nullptr;
  IPersistFile* file = nullptr;
  ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                            reinterpret_cast<void**>(&shell)));
  shell->SetPath(target.c_str());
  shell->SetWorkingDirectory(folder);
  shell->SetArguments(arguments);
  shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  WCHAR wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
  EXPECT_HRESULT_SUCCEEDED(file->Save(wide, TRUE));
  file->Release(), shell->Release();
}

// A shortcut dropped onto the editor sets the game, and so does a program itself, which starts
// in its own folder; a file that is neither is refused and changes nothing.
TEST_F(ProfileDialogs, DroppedShortcutSetsTheGameAndOtherFilesAreRefused) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string target = std::string(folder) + "hx_game.exe", link = std::string(folder) + "hx_game.lnk";
  const std::string notes = std::string(folder) + "hx_notes.txt";
  CloseHandle(CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  CloseHandle(CreateFileA(notes.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_NO_FATAL_FAILURE(MakeShortcut(link, target, "-window -nosound", folder));

  TraceCapture traces;
  ProfileEditor editor(kCommandMode, "", "", "");
  std::string before, program;
  EXPECT_EQ(Drive(editor, {{kEditor, [&](HWND d) { Drop(d, notes); }},
                           {"Quellan Mouse", [&](HWND box) {  // the program's title
                              EXPECT_EQ(Text(box, 0xFFFF), "Cannot obtain data from the shell.");
                              Press(box, IDOK);
                            }},
                           {kEditor, [&](HWND d) { before = Text(d, IDC_EDITOR_GAME), Drop(d, target); }},
                           {kEditor, [&](HWND d) {
                              program = Text(d, IDC_EDITOR_GAME) + "|" + editor.StartDirectory() + "|" +
                                        editor.GameArguments();
                              Drop(d, link);
                            }},
                           {kEditor, [&](HWND d) { Press(d, IDOK); }}}),
            IDOK);
  EXPECT_EQ(before, "No game selected.");
  std::string folderOnly = folder;
  folderOnly.pop_back();  // without its closing backslash
  EXPECT_EQ(program, target + "|" + folderOnly + "|");
  EXPECT_EQ(lstrcmpiA(editor.GamePath().c_str(), target.c_str()), 0) << editor.GamePath();
  EXPECT_EQ(editor.GameArguments(), "-window -nosound");
  EXPECT_FALSE(editor.StartDirectory().empty());
  EXPECT_EQ(traces.Count("Drop detected.  Resolving...\n") * 10 + traces.Count("Resolution successful.\n"), 21);
  EXPECT_EQ(traces.Count("Re-casting results into CStrings...\n"), 0);
  DeleteFileA(link.c_str());
  DeleteFileA(notes.c_str());
  DeleteFileA(target.c_str());
}

// "Browse…" in the Game group: the standard Open dialog; a chosen shortcut is resolved as a drop
// is, a chosen program is the game, started in its folder; Cancel changes nothing.
TEST_F(ProfileDialogs, BrowseSetsTheGameFromAShortcutOrAProgram) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string target = std::string(folder) + "hx_browse.exe", link = std::string(folder) + "hx_browse.lnk";
  CloseHandle(CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_NO_FATAL_FAILURE(MakeShortcut(link, target, "-full", ""));

  auto choose = [](const std::string& name, int button) {
    return Step{"Open", [name, button](HWND open) {
                  SetDlgItemTextA(open, 0x047C, name.c_str());  // the file name box
                  SetDlgItemTextA(open, 0x0480, name.c_str());  // its older twin
                  Press(open, button);
                }};
  };
  struct {
    std::string chosen;
    int button;
    std::string path, arguments;
  } cases[] = {
      {link, IDOK, target, "-full"},
      {target, IDOK, target, ""},
      {link, IDCANCEL, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen);
    ProfileEditor editor(kCommandMode, "", "", "");
    RECT browse = {};
    EXPECT_EQ(Drive(editor, {{kEditor, [&](HWND d) {
                                GetWindowRect(GetDlgItem(d, IDC_EDITOR_GAME_BROWSE), &browse);
                                WCHAR caption[32] = {};
                                GetWindowTextW(GetDlgItem(d, IDC_EDITOR_GAME_BROWSE), caption, 32);
                                EXPECT_EQ(std::wstring(caption), L"Browse\u2026");
                                Press(d, IDC_EDITOR_GAME_BROWSE);
                              }},
                             choose(c.chosen, c.button),
                             {kEditor, [&](HWND d) { Press(d, IDOK); }}}),
              IDOK);
    EXPECT_EQ(lstrcmpiA(editor.GamePath().c_str(), c.path.c_str()), 0) << editor.GamePath();
    EXPECT_EQ(editor.GameArguments(), c.arguments);
    EXPECT_GE(browse.bottom - browse.top, 24 * winui::SystemDpi() / 96 - 2);
  }
  DeleteFileA(link.c_str());
  DeleteFileA(target.c_str());
}

// What the command options dialog opens with, what its boxes enable, and what its OK hands the
// editor; Cancel hands nothing.
TEST_F(ProfileDialogs, CommandOptionsOpenWithTheMapAndReturnOnOkOnly) {
  working.SetMode(kCommandMode);
  Command& map = *working.Map(2);
  map.usesKeys = 1, map.keys = {74, 39, -1, -1};
  map.usesPowerCommand = 1;
  map.buttons[1] = 1;  // but buttons are not used
  working.deadZone[2] = 2600;  // from a file: beyond the slider
  const char* enablingColumns = "keys buttons wheel | their Change | power Change";
  const struct {
    int click;  // a check box, or 0
    const char* enabled;
  } steps[] = {
      {0, "000 000 1"},
      {IDC_MAPPER_POWER, "111 100 0"},
      {IDC_MAPPER_BUTTONS, "111 110 0"},
      {IDC_MAPPER_POWER, "000 000 1"},
  };
  for (bool ok : {false, true}) {
    std::string keysText, buttonsText;
    int shownDeadZone = 0;
    ProfileEditor editor(kCommandMode, "", "", "");
    EXPECT_EQ(Drive(editor,
                    {{kEditor, [&](HWND d) { Select(d, 2), Press(d, IDC_EDITOR_EDIT); }},
                     {"Move up command settings", [&](HWND d) {
                        keysText = Text(d, IDC_MAPPER_KEYS_TEXT);
                        buttonsText = Text(d, IDC_MAPPER_BUTTONS_TEXT);
                        shownDeadZone = Position(d, IDC_MAPPER_DEADZONE);
                        const int ids[] = {IDC_MAPPER_KEYS,        IDC_MAPPER_BUTTONS,        IDC_MAPPER_WHEEL,
                                           IDC_MAPPER_KEYS_CHANGE, IDC_MAPPER_BUTTONS_CHANGE, IDC_MAPPER_WHEEL_CHANGE,
                                           IDC_MAPPER_POWER_CHANGE};
                        for (const auto& step : steps) {
                          if (step.click) Click(d, step.click);
                          std::string enabled;
                          for (int i = 0; i < 7; ++i)
                            enabled += std::string(i == 3 || i == 6 ? " " : "") +
                                       (IsWindowEnabled(GetDlgItem(d, ids[i])) ? "1" : "0");
                          EXPECT_EQ(enabled, step.enabled) << enablingColumns << " after " << step.click;
                        }
                        Shoot(d, "command_options");
                        Drag(d, IDC_MAPPER_DEADZONE, 0.25);
                        Press(d, ok ? IDOK : IDCANCEL);
                      }},
                     {kEditor, [&](HWND d) { Press(d, IDOK); }}}),
              IDOK);
    EXPECT_EQ(keysText, "Tap the following keys: Left Shift, W");
    EXPECT_EQ(buttonsText, "");  // not in use, so not described
    EXPECT_EQ(shownDeadZone, 2000);
    // OK: keys and buttons (button 2 is set) checked, Power Command checked.
    const std::string uses = std::to_string(map.usesKeys) + std::to_string(map.usesButtons) +
                             std::to_string(map.usesWheel) + std::to_string(map.usesPowerCommand);
    EXPECT_EQ(uses, ok ? "1101" : "1001");
    if (ok)
      EXPECT_NEAR(working.deadZone[2], 500, 60);
    else
      EXPECT_EQ(working.deadZone[2], 2600);
  }
}

// Through the real dialogs, as a user would, then saved as the manager saves: the same bytes as
// a profile given the same values directly.
TEST_F(ProfileDialogs, RoundTripThroughTheDialogsSavesWhatTheProfileHolds) {
  auto key = [](int index) { return IDC_KEY_FIRST + index; };
  auto chooseType = [](HWND d, int type) {
    SendDlgItemMessageA(d, IDC_POWER_TYPE, CB_SETCURSEL, type, 0);
    PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_POWER_TYPE, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_POWER_TYPE)));
  };
  const std::string power = "Power Command editor";
  ProfileEditor editor;
  const INT_PTR result = Drive(
      editor,
      {{kEditor, [&](HWND d) { Click(d, IDC_EDITOR_COMMAND), Select(d, 6), Press(d, IDC_EDITOR_EDIT); }},
       {"Look left command settings", [&](HWND d) { Click(d, IDC_MAPPER_KEYS), Press(d, IDC_MAPPER_KEYS_CHANGE); }},
       {kKeys, [&](HWND d) { Click(d, key(39)), Press(d, IDOK); }},  // W
       {"Look left command settings", [&](HWND d) { Press(d, IDOK); }},
       {kEditor, [&](HWND d) { Select(d, 2), Press(d, IDC_EDITOR_EDIT); }},
       {"Move up command settings", [&](HWND d) { Click(d, IDC_MAPPER_POWER), Press(d, IDC_MAPPER_POWER_CHANGE); }},
       {power, [&](HWND d) { chooseType(d, kPowerKeypress); }},
       {kKeys, [&](HWND d) { Click(d, key(93)), Press(d, IDOK); }},  // Space
       {power, [&](HWND d) { Press(d, IDC_POWER_ADD); }},
       {power, [&](HWND d) { chooseType(d, kPowerButtonClick); }},
       {"Mouse button command", [&](HWND d) { Click(d, IDC_BUTTON_LEFT), Press(d, IDOK); }},
       {power, [&](HWND d) { Press(d, IDC_POWER_ADD); }},
       {power, [&](HWND d) { chooseType(d, kPowerWheelTick); }},
       {"Mouse wheel command", [&](HWND d) { Click(d, IDC_WHEEL_UP), Press(d, IDOK); }},
       {power, [&](HWND d) { Press(d, IDC_POWER_ADD); }},
       {power, [&](HWND d) { Press(d, IDOK); }},
       {"Move up command settings", [&](HWND d) { Press(d, IDOK); }},
       {kEditor, [&](HWND d) { Press(d, IDC_EDITOR_PAUSE_SET); }},
       {kKeys, [&](HWND d) { Click(d, key(47)), Press(d, IDOK); }},  // P
       {kEditor, [&](HWND d) { Click(d, IDC_EDITOR_MIXED), Select(d, 6), Press(d, IDC_EDITOR_EDIT); }},
       {kAxis, [&](HWND d) {
          Click(d, IDC_AXIS_HOLD_ALLOW), Click(d, IDC_AXIS_HOLD_KEY), Press(d, IDC_AXIS_HOLD_SET);
        }},
       {kKeys, [&](HWND d) { Click(d, key(91)), Press(d, IDOK); }},  // Left Control
       {kAxis, [&](HWND d) { Press(d, IDOK); }},
       {kEditor, [&](HWND d) {
          Shoot(d, "profile_editor_mixed");
          Click(d, IDC_EDITOR_COMMAND), Press(d, IDOK);
        }}});
  ASSERT_EQ(result, IDOK);
  // What the manager does with the editor's OK.
  working.SetMode(editor.Mode());
  CurrentProfile() = working;
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string file = std::string(folder) + "hx_round_trip.cpf";
  ASSERT_TRUE(CurrentProfile().Save(file));
  std::string saved;
  {
    KernelHandle f(CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    saved.resize(GetFileSize(f.Get(), nullptr));
    DWORD read = 0;
    ReadFile(f.Get(), saved.data(), static_cast<DWORD>(saved.size()), &read, nullptr);
  }
  DeleteFileA(file.c_str());

  Profile expected;
  expected.SetMode(kCommandMode);
  expected.pauseHotKey = 47;
  expected.freelookHold = 91;
  expected.Map(6)->usesKeys = 1, expected.Map(6)->keys[0] = 39;
  Command& up = *expected.Map(2);
  up.usesPowerCommand = 1, up.powerCount = 3;
  up.powerType[0] = kPowerKeypress, up.powerType[1] = kPowerButtonClick, up.powerType[2] = kPowerWheelTick;
  up.powerKeys[0][0] = 93, up.powerButtons[1][0] = 1;
  up.powerWheelDirection[0] = up.powerWheelDirection[1] = -1;  // no wheel ticks
  up.powerLabels[0] = "Press the Space key", up.powerLabels[1] = "Click mouse buttons: 1 (Left)";
  up.powerLabels[2] = "Scroll the mouse wheel up.";
  const std::string want = expected.ToBytes();
  ASSERT_EQ(saved.size(), want.size());
  const auto diff = std::mismatch(saved.begin(), saved.end(), want.begin());
  EXPECT_TRUE(diff.first == saved.end()) << "first difference at byte " << (diff.first - saved.begin());
}

class CommandOptionsBar : public ProfileDialogs {
 protected:
  void SetUp() override {
    ProfileDialogs::SetUp();
    ASSERT_TRUE(sim_.Start({}));
    _putenv(("HXSIM_PIPE=" + sim_.PipeName()).c_str());
  }
  void TearDown() override {
    EXPECT_TRUE(sim_.Quit());
    ProfileDialogs::TearDown();
  }
  void Pose(const std::string& pose) { ASSERT_EQ(sim_.Control("pose " + pose), "ok"); }
  SimProcess sim_;
};

// Each motion's bar measures only motion in its own direction, from its own reader, which is
// gone when the dialog is.
TEST_F(CommandOptionsBar, FollowsTheMotionsOwnDirectionAndStopsWithTheDialog) {
  const struct {
    int map;
    const char* pose;
    int bar;  // once the pose has been read
  } rows[] = {
      {2, "0 300 0 0 0", 300},  {2, "0 -500 0 0 0", 300}, {2, "0 700 0 0 0", 700},   // Move up: Y above
      {12, "0 250 0 0 0", 250}, {12, "0 -250 0 0 0", 250},                           // Move up, mixed mode
      {6, "0 0 0 -400 0", 400}, {6, "0 0 0 400 0", 400},  {6, "-900 0 0 0 0", 400},  // Look left: RX below
      {9, "0 0 0 0 -150", 150}, {9, "0 0 0 0 150", 150},                             // Look down: RY below
  };
  const int idle = ThreadsOfThisProcess();
  TraceCapture traces;
  for (int map : {2, 12, 6, 9}) {
    Mapper dialog(*working.Map(map), map, 0, {}, 1000);
    ASSERT_TRUE(dialog.Create());
    HWND bar = GetDlgItem(dialog.hwnd(), IDC_MAPPER_POSITION);
    EXPECT_EQ(ThreadsOfThisProcess(), idle + 1);
    for (const auto& row : rows) {
      if (row.map != map) continue;
      Pose(row.pose);
      traces.Clear();
      // Several passes after the pose was set, so a wrongly moved bar would show.
      EXPECT_TRUE(PumpUntil([&] { return traces.Count("Updating...\n") >= 5; }, 3000));
      EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), row.bar) << map << ": " << row.pose;
    }
    traces.Clear();
    Click(dialog.hwnd(), map == 2 ? IDOK : IDCANCEL);
    EXPECT_EQ(dialog.hwnd(), nullptr);
    EXPECT_EQ(ThreadsOfThisProcess(), idle) << map;
    EXPECT_EQ(traces.Count("Thread is out of while( ) loop lock and is ready to return.\n"), 1);
    EXPECT_EQ(traces.Count(map == 2 ? "Stopping thread from OnOK( )...\n" : "Stopping thread from OnCancel( )...\n"), 1);
  }
}

// The indicator runs along the slider's thumb travel: a reading equal to the dead zone fills it
// up to the thumb's centre, at either end and between.
TEST_F(CommandOptionsBar, AReadingEqualToTheDeadZoneShowsUnderTheThumb) {
  for (const int deadZone : {150, 700, 1300, 1990}) {
    Mapper dialog(*working.Map(2), 2, 0, {}, deadZone);
    ASSERT_TRUE(dialog.Create());
    HWND bar = GetDlgItem(dialog.hwnd(), IDC_MAPPER_POSITION);
    HWND slider = GetDlgItem(dialog.hwnd(), IDC_MAPPER_DEADZONE);
    Pose("0 " + std::to_string(deadZone) + " 0 0 0");  // Move up by exactly the dead zone
    EXPECT_TRUE(PumpUntil([&] { return SendMessageA(bar, PBM_GETPOS, 0, 0) == deadZone; }, 3000)) << deadZone;
    RECT thumb = {}, inside = {};
    SendMessageA(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    MapWindowPoints(slider, nullptr, reinterpret_cast<POINT*>(&thumb), 2);
    GetClientRect(bar, &inside);
    MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&inside), 2);
    const int fillEnd = inside.left + deadZone * (inside.right - inside.left) / 2000;
    EXPECT_NEAR(fillEnd, (thumb.left + thumb.right) / 2, 2) << deadZone;
    if (deadZone == 700 && !ShotsFolder().empty()) {
      ShowWindow(dialog.hwnd(), SW_SHOW);
      Shoot(dialog.hwnd(), "command_options_indicator");
    }
    Click(dialog.hwnd(), IDCANCEL);
  }
}

// The tracker keeps the bar's reader waiting for ten seconds: OK, Cancel and the dialog's end
// without either all end the reader at once, and the dialog goes at once.
TEST_F(CommandOptionsBar, AReaderTheTrackerStallsEndsWithTheDialogAtOnce) {
  const struct {
    const char* what;
    int button;  // 0: the dialog object goes while its window is open
  } rows[] = {{"OK", IDOK}, {"Cancel", IDCANCEL}, {"destroyed", 0}};
  SCOPED_TRACE("stalled");  // gtest's first trace on a thread starts a thread of its own
  const int idle = ThreadsOfThisProcess();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    auto dialog = std::make_unique<Mapper>(*working.Map(2), 2, 0, MapperChecks{}, 1000);
    ASSERT_TRUE(dialog->Create());
    HWND window = dialog->hwnd();
    ASSERT_TRUE(StallReaders(sim_));
    EXPECT_LT(MillisecondsFor([&] {
                if (row.button)
                  Click(window, row.button);
                else
                  dialog.reset();
              }),
              1000u);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(ThreadsOfThisProcess(), idle);
    ASSERT_EQ(sim_.Control("stall 0"), "ok");
  }
}

}  // namespace
