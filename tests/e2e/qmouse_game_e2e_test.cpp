// Game profiles in the whole program: "Game options" shows the profile manager, a shortcut
// dropped on it makes a profile, Launch starts the game and engages, a head turn past the dead
// zone holds the profile's key in the game's window, and disengaging lets go of it before the
// cursor follows the head again. Also the manager's tracker buttons against hxsim.
#include "tests/e2e/qmouse_fixture.h"

#include <commctrl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <fstream>
#include <string>
#include <vector>

#include "profiles/manager_rules.h"
#include "profiles/manager_texts.h"
#include "qmouse/texts.h"
#include "resources/profiles/resource.h"
#include "tests/e2e/game_steps.h"
#include "tests/e2e/probe.h"
#include "tests/e2e/remote.h"
#include "tests/e2e/screenshot.h"

namespace {
namespace mt = manager_texts;

std::string Text(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string TempFolder() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  return temp;
}

class QmouseGame : public Qmouse {
 protected:
  void SetUp() override {
    Qmouse::SetUp();
    CreateDirectoryA("C:\\Program Files", nullptr);
    CreateDirectoryA(texts::kProgramFolder, nullptr);
  }
  void TearDown() override {
    Qmouse::TearDown();
    for (const std::string& file : made_) DeleteFileA(file.c_str());
  }
  std::string ProfileFile(const std::string& name) {
    made_.push_back(std::string(texts::kProgramFolder) + "\\" + name + ".cpf");
    return made_.back();
  }
  HWND Manager(DWORD timeoutMs) {
    HWND found = nullptr;
    WaitFor([&] {
      found = OwnWindow("#32770", [](HWND w) { return IsWindowVisible(w) && GetDlgItem(w, IDC_MANAGER_ENGAGE); });
      return found != nullptr;
    }, timeoutMs);
    return found;
  }
  HWND OpenManager() {
    // Until engaged, dwell clicks where the cursor rests: on nothing of ours, so that no click
    // takes the foreground from the game's window.
    SetCursorPos(1200, 1000);
    PostMessageA(window_, WM_COMMAND, ID_TRAY_GAMEOPTIONS, 0);  // as the tray menu does
    return Manager(5000);
  }
  // qmouse under head control with the profile manager shown, and its floating panel.
  void StartWithManager(HWND& manager, HWND& panel) {
    StartQmouse();
    WaitForHeadControl();
    manager = OpenManager();
    ASSERT_NE(manager, nullptr) << "Game options showed no profile manager";
    panel = qmouse_.FindDialog("Quellan Mouse ", 3000);
    ASSERT_NE(panel, nullptr);
  }
  // Drops `file` on the manager as the shell would, the drop's bytes living in qmouse.
  void Drop(HWND manager, const std::string& file) {
    const std::vector<char> bytes = DropBytes(file, 30, 30);
    drops_.push_back(std::make_unique<RemoteCopy>(qmouse_.Id(), bytes.data(), bytes.size()));
    ASSERT_NE(drops_.back()->Address(), nullptr);
    PostMessageA(manager, WM_DROPFILES, reinterpret_cast<WPARAM>(drops_.back()->Address()), 0);
  }
  // Selects a row of a list view of qmouse's, as a click on it would.
  void SelectRow(HWND list, int row) {
    LVITEMA item = {};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    RemoteCopy copy(qmouse_.Id(), &item, sizeof item);
    ASSERT_NE(copy.Address(), nullptr);
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(copy.Address()));
  }
  // The player chooses the one profile listed: Engage acts on a chosen profile only.
  void ChooseWalk(HWND manager) {
    ASSERT_NO_FATAL_FAILURE(SelectRow(GetDlgItem(manager, IDC_MANAGER_LIST), 0));
    ASSERT_TRUE(WaitFor([&] { return Text(GetDlgItem(manager, IDC_MANAGER_ACTIVE)) == "Walk"; }, 5000));
  }
  // Checks a check box, or a radio button of `group`, and reports the click, as a user's click
  // ends up; BM_CLICK from another process loses its press under Wine.
  static void Choose(HWND dialog, int id, std::initializer_list<int> group = {}) {
    for (int other : group) CheckDlgButton(dialog, other, BST_UNCHECKED);
    CheckDlgButton(dialog, id, BST_CHECKED);
    Program::Click(dialog, id);
  }
  // With HX_SHOTS set, a picture of one of qmouse's windows for the README.
  static void Shoot(HWND window, const char* name) {
    if (const std::string shots = ShotsFolder(); !shots.empty()) {
      Sleep(300);  // let it paint: a picture for people, not a condition
      EXPECT_TRUE(SaveWindowPicture(window, shots + name + ".bmp")) << name;
    }
  }
  // A dialog of qmouse's with caption or text `text`; the step fails without it.
  HWND Dialog(const std::string& text) {
    HWND d = qmouse_.FindDialog(text);
    EXPECT_NE(d, nullptr) << "no dialog \"" << text << "\"";
    return d;
  }
  std::vector<std::string> made_;
  std::vector<std::unique_ptr<RemoteCopy>> drops_;
};

// A shortcut to the stand-in game, which records its keys into `events`.
// The stand-in game installed where a player's games are, so that what the windows show (and
// the README's pictures of them) is a game's path. Copied once per session: a copy that is
// running cannot be replaced, and the build does not change meanwhile.
std::string StandInGame() {
  const char* probe = std::getenv("KEY_PROBE_EXE");
  if (!probe) return "";
  const std::string folder = "C:\\Games\\Probe Game", game = folder + "\\ProbeGame.exe";
  CreateDirectoryA("C:\\Games", nullptr);
  CreateDirectoryA(folder.c_str(), nullptr);
  CopyFileA(WindowsPath(probe).c_str(), game.c_str(), TRUE);
  return GetFileAttributesA(game.c_str()) != INVALID_FILE_ATTRIBUTES ? game : "";
}

std::string MakeGameShortcut(const std::string& events) {
  const std::string game = StandInGame();
  if (game.empty()) return "";
  const std::string link = TempFolder() + "Probe Game.lnk";
  IShellLinkA* shell = nullptr;
  IPersistFile* file = nullptr;
  bool saved = false;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&shell)))) {
    shell->SetPath(game.c_str());
    shell->SetArguments(("\"" + events + "\"").c_str());
    shell->SetWorkingDirectory(FolderOf(game).c_str());
    if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      const std::wstring wide(link.begin(), link.end());
      saved = SUCCEEDED(file->Save(wide.c_str(), TRUE));
      file->Release();
    }
    shell->Release();
  }
  return saved ? link : "";
}

// The stand-in game's recorded lines: "ready" first, then its key and button events.
std::vector<std::string> GameLines(const std::string& events) {
  std::vector<std::string> lines;
  std::ifstream in(events);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(QmouseGame, EngagedTurnHoldsTheKeyAndDisengagingLetsGo) {
  ASSERT_NO_FATAL_FAILURE(SaveWalkProfile(ProfileFile("Walk")));
  HWND manager = nullptr, panel = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartWithManager(manager, panel));
  Probe game({100, 100, 500, 400});  // the game's window
  ASSERT_NO_FATAL_FAILURE(ChooseWalk(manager));
  Program::Click(manager, IDC_MANAGER_ENGAGE);
  // The first engaged pass hides the panel, which may move the system's foreground; the
  // player then clicks into the game, which takes the keyboard.
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(panel); }, 5000)) << "no engaged pass";
  ASSERT_TRUE(game.TakeKeyboard());
  auto keysAre = [&](const std::vector<std::string>& want) {
    return WaitFor([&] { game.Pump(20); return FoldedKeys(game.Events()) == want; }, 5000);
  };

  Pose(-1200, 0);  // look left past the dead zone of 1000
  EXPECT_TRUE(keysAre({kWDown})) << game.Joined();
  Pose(50, 0);  // back: any turn to the right brings "Look left" inside again
  EXPECT_TRUE(keysAre({kWDown, kWUp})) << game.Joined();
  Pose(-1300, 0);
  EXPECT_TRUE(keysAre({kWDown, kWUp, kWDown})) << game.Joined();

  Program::Click(manager, IDC_MANAGER_ENGAGE);  // "Disengage"
  EXPECT_TRUE(keysAre({kWDown, kWUp, kWDown, kWUp})) << "the held key stayed down: " << game.Joined();
  const POINT before = Cursor();
  Pose(-1300 + 12, 0);
  EXPECT_TRUE(WaitFor([&] { return Cursor().x != before.x; }, 3000)) << "the cursor no longer follows the head";
  EXPECT_EQ(FoldedKeys(game.Events()).size(), 4u) << game.Joined();
}

// Head alone: in No Click mode a rest on the manager's Engage button still clicks it (a left
// click on a window of ours); the road's turns play without leaving; a look down far past the
// screen, held for the set second, disengages, lets go of the held key and brings the manager
// to the front; paused, the same look ends the pause. "Game options" and "Options" bring their
// open windows out from behind the game.
TEST_F(QmouseGame, HeadAloneEngagesLooksAwayToLeaveAndEndsPause) {
  ASSERT_NO_FATAL_FAILURE(SaveWalkProfile(ProfileFile("Walk")));
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  for (auto [name, value] : {std::pair{"Look Away", 1}, {"Look Away Time", 1000}, {"Dwell Command", 32784}}) {
    const DWORD v = static_cast<DWORD>(value);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
  }
  RegCloseKey(key);
  HWND manager = nullptr, panel = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartWithManager(manager, panel));
  Probe game({100, 100, 500, 400});  // the game's window
  auto engageText = [&] {
    char text[32] = {};
    GetDlgItemTextA(manager, IDC_MANAGER_ENGAGE, text, sizeof text);
    return std::string(text);
  };

  // "Game options" again while the manager is minimised and the game has the foreground: it
  // comes back to the front, restored.
  ShowWindow(manager, SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(manager));
  ASSERT_TRUE(game.TakeKeyboard());
  PostMessageA(window_, WM_COMMAND, ID_TRAY_GAMEOPTIONS, 0);
  EXPECT_TRUE(WaitFor([&] { game.Pump(10); return GetForegroundWindow() == manager && !IsIconic(manager); }, 5000))
      << "Game options: " << (IsIconic(manager) ? "still minimised" : "not in front");

  // A rest on Engage in No Click mode: the head moves the cursor there a second after it was put.
  ASSERT_NO_FATAL_FAILURE(ChooseWalk(manager));
  RECT engage = {};
  GetWindowRect(GetDlgItem(manager, IDC_MANAGER_ENGAGE), &engage);
  SetCursorPos((engage.left + engage.right) / 2, (engage.top + engage.bottom) / 2);
  ASSERT_TRUE(WaitFor([&] { game.Pump(10); return engageText() == mt::kDisengage; }, 10000))
      << "a rest on a window of ours did not click in No Click mode";
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(panel); }, 5000)) << "no engaged pass";
  ASSERT_TRUE(game.TakeKeyboard());
  auto keysAre = [&](const std::vector<std::string>& want) {
    return WaitFor([&] { game.Pump(20); return FoldedKeys(game.Events()) == want; }, 5000);
  };
  Pose(-1300, 0);  // the road's turn, held three times the look away's second
  EXPECT_TRUE(keysAre({kWDown})) << game.Joined();
  game.Pump(3000);
  EXPECT_EQ(engageText(), mt::kDisengage) << "a turn of play left the game";
  Shoot(GetDesktopWindow(), "look_away_engaged");

  Pose(-1300, -2600);  // look down, far past the screen, holding W
  EXPECT_TRUE(WaitFor([&] { return engageText() == mt::kEngage; }, 5000));
  EXPECT_TRUE(keysAre({kWDown, kWUp})) << "the game did not see W let go: " << game.Joined();
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == manager; }, 5000)) << "the manager is not in front";
  // Back from the look away the cursor runs up and right, maybe into the corner; then a turn
  // left, which it can always follow.
  Pose(0, 0);
  ASSERT_TRUE(ReadingsTaken(2));
  const POINT before = Cursor();
  Pose(-40, 0);
  EXPECT_TRUE(WaitFor([&] { return Cursor().x != before.x; }, 5000)) << "the cursor did not come back to the head";

  // Pause, then the same look ends it.
  PostMessageA(window_, WM_COMMAND, ID_TRAY_PAUSE, 0);
  HWND box = qmouse_.FindDialog("Pausing Quellan Mouse will temporarily", 5000);
  ASSERT_NE(box, nullptr);
  Program::Press(box, IDOK);
  auto pauseText = [&] {
    char text[32] = {};
    GetDlgItemTextA(panel, IDC_PAUSE, text, sizeof text);
    return std::string(text);
  };
  ASSERT_TRUE(WaitFor([&] { return pauseText() == "Unpause"; }, 5000));
  Pose(0, -2600);
  EXPECT_TRUE(WaitFor([&] { return pauseText() == "Pause"; }, 5000)) << "the look away did not end Pause";
  Pose(0, 0);

  // "Options" while its sheet is open behind the game; the cursor rests on nothing of ours,
  // so no dwell brings the sheet up instead.
  SetCursorPos(1200, 1000);
  PostMessageA(window_, WM_COMMAND, ID_TRAY_OPTIONS, 0);
  HWND sheet = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (sheet = qmouse_.FindDialog("Quellan Mouse Settings", 0)) != nullptr; }, 5000));
  ASSERT_TRUE(game.TakeKeyboard());
  PostMessageA(window_, WM_COMMAND, ID_TRAY_OPTIONS, 0);
  EXPECT_TRUE(WaitFor([&] { game.Pump(10); return GetForegroundWindow() == sheet; }, 5000)) << "Options";
}

// The road a player walks: drop the game's shortcut, say Yes to a new profile, name it, map
// "Look left" to Hold W in the editor, OK, Launch, play with the head, Disengage.
TEST_F(QmouseGame, APlayerDropsAGameMakesItsProfileLaunchesAndPlays) {
  CoInitialize(nullptr);
  const std::string events = TempFolder() + "probe-game-events.txt";
  made_.push_back(events);
  DeleteFileA(events.c_str());
  const std::string shortcut = MakeGameShortcut(events);
  ASSERT_FALSE(shortcut.empty()) << "no shortcut to the stand-in game (KEY_PROBE_EXE)";
  made_.push_back(shortcut);
  const std::string profile = ProfileFile("Probe Game");
  StartQmouse();
  WaitForHeadControl();
  HWND manager = OpenManager();
  ASSERT_NE(manager, nullptr);

  Drop(manager, shortcut);
  Program::Press(Dialog(mt::kNoMatchQuestion), IDYES);
  HWND name = Dialog("Enter profile name");
  SetDlgItemTextA(name, IDC_PROFILE_NAME, "Probe Game");
  Program::Press(name, IDOK);
  HWND editor = Dialog("Profile editor");
  ASSERT_NE(editor, nullptr);
  Choose(editor, IDC_EDITOR_COMMAND, {IDC_EDITOR_MOUSELOOK, IDC_EDITOR_MIXED, IDC_EDITOR_COMMAND});
  SelectRow(GetDlgItem(editor, IDC_EDITOR_MOTIONS), 6);             // "Look left"
  Program::Press(editor, IDC_EDITOR_EDIT);
  HWND mapper = Dialog("Look left command settings");
  ASSERT_NE(mapper, nullptr);
  Choose(mapper, IDC_MAPPER_KEYS);
  Program::Press(mapper, IDC_MAPPER_KEYS_CHANGE);
  HWND keys = Dialog("Key command");
  ASSERT_NE(keys, nullptr);
  Program::Click(keys, IDC_KEY_FIRST + KeyIndexOfVirtualKey('W'));
  Choose(keys, IDC_KEY_HOLD, {IDC_KEY_TAP, IDC_KEY_HOLD, IDC_KEY_TOGGLE, IDC_KEY_PULSE});
  Program::Press(keys, IDOK);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(keys); }, 5000));
  Shoot(mapper, "game_command_options");
  Program::Press(mapper, IDOK);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(mapper); }, 5000));
  Shoot(editor, "game_profile_editor");
  Program::Press(editor, IDOK);
  ASSERT_TRUE(WaitFor([&] { return GetFileAttributesA(profile.c_str()) != INVALID_FILE_ATTRIBUTES; }, 5000))
      << "OK wrote no " << profile;
  Profile written;
  std::string error;
  ASSERT_TRUE(written.Load(profile, &error)) << error;
  EXPECT_EQ(written.Map(6)->keyAction, 1) << "Look left is no Hold";

  HWND panel = qmouse_.FindDialog("Quellan Mouse ", 3000);
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(GetDlgItem(manager, IDC_MANAGER_LAUNCH)) != FALSE; }, 5000));
  Shoot(manager, "game_profile_manager");
  Program::Press(manager, IDC_MANAGER_LAUNCH);
  ASSERT_TRUE(WaitFor([&] { return !GameLines(events).empty(); }, 15000)) << "Launch started no game";
  ASSERT_EQ(GameLines(events)[0], "ready");
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(panel); }, 5000)) << "Launch did not engage";
  auto keysAre = [&](const std::vector<std::string>& want) {
    return WaitFor([&] { return FoldedKeys(GameLines(events)) == want; }, 5000);
  };
  Pose(-1200, 0);
  EXPECT_TRUE(keysAre({kWDown}));
  Pose(50, 0);
  EXPECT_TRUE(keysAre({kWDown, kWUp}));
  Pose(-1300, 0);
  EXPECT_TRUE(keysAre({kWDown, kWUp, kWDown}));
  Program::Click(manager, IDC_MANAGER_ENGAGE);  // "Disengage"
  EXPECT_TRUE(keysAre({kWDown, kWUp, kWDown, kWUp})) << "the held key stayed down";
  const POINT before = Cursor();
  Pose(-1300 + 12, 0);
  EXPECT_TRUE(WaitFor([&] { return Cursor().x != before.x; }, 3000)) << "the cursor no longer follows the head";

  if (HWND game = FindWindowA("QmouseTestProbe", nullptr)) PostMessageA(game, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitFor([] { return FindWindowA("QmouseTestProbe", nullptr) == nullptr; }, 5000));
  CoUninitialize();
}

// Matching drops and Launch while engaged and the head moves: the engine keeps its own copy of
// the profile, so the program neither fails nor leaves the key held, and the game never starts.
TEST_F(QmouseGame, DropsAndLaunchesWhileEngagedLeaveNothingHeld) {
  CoInitialize(nullptr);
  const std::string events = TempFolder() + "probe-game-stress.txt";
  made_.push_back(events);
  DeleteFileA(events.c_str());
  const std::string shortcut = MakeGameShortcut(events);
  ASSERT_FALSE(shortcut.empty());
  made_.push_back(shortcut);
  ASSERT_NO_FATAL_FAILURE(SaveWalkProfile(ProfileFile("Walk"), StandInGame()));
  StartQmouse();
  WaitForHeadControl();
  HWND manager = OpenManager();
  ASSERT_NE(manager, nullptr);
  auto wHeld = [] { return (GetAsyncKeyState('W') & 0x8000) != 0; };
  ASSERT_NO_FATAL_FAILURE(ChooseWalk(manager));
  for (int round = 0; round < 10; ++round) {
    SCOPED_TRACE(round);
    Program::Click(manager, IDC_MANAGER_ENGAGE);
    Pose(-1200, 0);
    ASSERT_TRUE(WaitFor(wHeld, 5000)) << "the engaged turn held no W";
    for (int drop = 0; drop < 4; ++drop) {
      Drop(manager, shortcut);  // matches Walk, which is loaded as the current profile
      Pose(drop % 2 ? -1300 : 40, 0);
    }
    // Launch reads "Disengage" and is disabled while engaged; its command must only disengage.
    SendMessageA(manager, WM_COMMAND, MAKEWPARAM(IDC_MANAGER_LAUNCH, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(manager, IDC_MANAGER_LAUNCH)));
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(GetDlgItem(manager, IDC_MANAGER_LIST)) != FALSE; }, 5000));
    EXPECT_TRUE(WaitFor([&] { return !wHeld(); }, 5000)) << "W stayed held after Launch disengaged";
  }
  EXPECT_TRUE(qmouse_.Running());
  EXPECT_EQ(GetFileAttributesA(events.c_str()), INVALID_FILE_ATTRIBUTES) << "Launch while engaged started the game";
  CoUninitialize();
}

TEST_F(QmouseGame, CalibrateAndCentreButtonsFollowTheTrackersAnswer) {
  StartQmouse();
  WaitForHeadControl();
  HWND manager = OpenManager();
  ASSERT_NE(manager, nullptr);
  CheckTrackerButton(qmouse_, sim_, manager, IDC_MANAGER_CALIBRATE, "Position the two Hxmouse sensors", "IOCTL_CALIBRATE",
                     {{"answer calibrate 1", mt::kCalibrationDone, "IOCTL_SAVE_SETTINGS"},
                      {"answer calibrate 0", "sensors need to be better aligned", "IOCTL_RESTORE_DEFAULT_CALIBRATION"},
                      {"answer calibrate 2", mt::kCalibrationError, ""},
                      {"fail IOCTL_CALIBRATE", mt::kCalibrationError, ""}});
  CheckTrackerButton(qmouse_, sim_, manager, IDC_MANAGER_SET_CENTER, mt::kLookAtCenter, "IOCTL_SET_ZERO",
                     {{"pass IOCTL_SET_ZERO", mt::kCenterDone, "IOCTL_SAVE_SETTINGS"},
                      {"fail IOCTL_SET_ZERO", mt::kCenterFailed, ""}});
}

}  // namespace
