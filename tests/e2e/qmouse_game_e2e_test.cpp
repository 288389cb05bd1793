// A game profile engaged in the whole program: "Game options" shows the profile manager,
// Engage hands head motion to the output engine, a turn past the dead zone holds the
// profile's key in the game's window, and disengaging lets go of it before the cursor
// follows the head again.
#include "tests/e2e/qmouse_fixture.h"

#include <string>
#include <vector>

#include "commands/key_table.h"
#include "profiles/profile.h"
#include "qmouse/texts.h"
#include "resources/profiles/resource.h"
#include "tests/e2e/probe.h"

namespace {

class QmouseGame : public Qmouse {
 protected:
  void SetUp() override {
    Qmouse::SetUp();
    CreateDirectoryA("C:\\Program Files", nullptr);
    CreateDirectoryA(texts::kProgramFolder, nullptr);
    profileFile_ = std::string(texts::kProgramFolder) + "\\Walk.cpf";
    // "Look left" holds W while the head is turned left past the dead zone.
    Profile walk;
    walk.operatingMode = 1;
    Command& lookLeft = *walk.Map(6);
    lookLeft.usesKeys = 1;
    lookLeft.keyAction = 1;  // Hold
    lookLeft.keys = {KeyIndexOfW(), -1, -1, -1};
    std::string error;
    ASSERT_TRUE(walk.Save(profileFile_, nullptr, &error)) << error;
  }
  void TearDown() override {
    Qmouse::TearDown();
    DeleteFileA(profileFile_.c_str());
  }
  static int KeyIndexOfW();
  HWND Manager(DWORD timeoutMs) {
    HWND found = nullptr;
    WaitFor([&] {
      found = OwnWindow("#32770", [](HWND w) { return IsWindowVisible(w) && GetDlgItem(w, IDC_MANAGER_ENGAGE); });
      return found != nullptr;
    }, timeoutMs);
    return found;
  }
  // The probe's key events with repeats of the same event folded.
  static std::vector<std::string> Keys(const Probe& probe) {
    std::vector<std::string> keys;
    for (const std::string& e : probe.Events())
      if (e[0] == 'K' && (keys.empty() || keys.back() != e)) keys.push_back(e);
    return keys;
  }
  std::string profileFile_;
};

int QmouseGame::KeyIndexOfW() {
  for (int k = 0; k <= 100; ++k)
    if (KeyIndexToVirtualKey(k) == 'W') return k;
  return -1;
}

TEST_F(QmouseGame, EngagedTurnHoldsTheKeyAndDisengagingLetsGo) {
  StartQmouse();
  WaitForHeadControl();
  // Until engaged, dwell clicks where the cursor rests: on nothing of ours, so that no click
  // takes the foreground from the game's window.
  SetCursorPos(1200, 1000);
  PostMessageA(window_, WM_COMMAND, ID_TRAY_GAMEOPTIONS, 0);  // as the tray menu does
  HWND manager = Manager(5000);
  ASSERT_NE(manager, nullptr) << "Game options showed no profile manager";

  HWND panel = qmouse_.FindDialog("Quellan Mouse ", 3000);
  ASSERT_NE(panel, nullptr);
  Probe game({100, 100, 500, 400});  // the game's window
  Program::Click(manager, IDC_MANAGER_ENGAGE);
  // The first engaged pass hides the panel, which may move the system's foreground; the
  // player then clicks into the game, which takes the keyboard.
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(panel); }, 5000)) << "no engaged pass";
  ASSERT_TRUE(game.TakeKeyboard());
  const std::string down = "Kdown " + std::to_string('W') + "/" + std::to_string(0x11);
  const std::string up = "Kup " + std::to_string('W') + "/" + std::to_string(0x11);
  auto keysAre = [&](const std::vector<std::string>& want) {
    return WaitFor([&] { game.Pump(20); return Keys(game) == want; }, 5000);
  };

  Pose(-1200, 0);  // look left past the dead zone of 1000
  EXPECT_TRUE(keysAre({down})) << game.Joined();
  Pose(50, 0);  // back: any turn to the right brings "Look left" inside again
  EXPECT_TRUE(keysAre({down, up})) << game.Joined();
  Pose(-1300, 0);
  EXPECT_TRUE(keysAre({down, up, down})) << game.Joined();

  Program::Click(manager, IDC_MANAGER_ENGAGE);  // "Disengage"
  EXPECT_TRUE(keysAre({down, up, down, up})) << "the held key stayed down: " << game.Joined();
  const POINT before = Cursor();
  Pose(-1300 + 12, 0);
  EXPECT_TRUE(WaitFor([&] { return Cursor().x != before.x; }, 3000)) << "the cursor no longer follows the head";
  EXPECT_EQ(Keys(game).size(), 4u) << game.Joined();
}

}  // namespace
