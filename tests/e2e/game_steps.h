#pragma once
// What the whole-program tests of engaged output share with both programs' profile managers:
// the "Walk" profile, the key events a game window saw, and the calibration buttons' road.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/key_table.h"
#include "hxsim/win/sim_client.h"
#include "profiles/profile.h"
#include "tests/e2e/program.h"

inline int KeyIndexOfVirtualKey(int virtualKey) {
  for (int k = 0; k <= 100; ++k)
    if (KeyIndexToVirtualKey(k) == virtualKey) return k;
  return -1;
}

// "Look left" holds W while the head is turned left past the dead zone.
inline void SaveWalkProfile(const std::string& file, const std::string& game = "") {
  Profile walk;
  walk.SetGamePath(game);
  walk.operatingMode = 1;
  Command& lookLeft = *walk.Map(6);
  lookLeft.usesKeys = 1;
  lookLeft.keyAction = 1;  // Hold
  lookLeft.keys = {KeyIndexOfVirtualKey('W'), -1, -1, -1};
  std::string error;
  ASSERT_TRUE(walk.Save(file, nullptr, &error)) << error;
}

// W's down and up as a probe window records them (virtual key / key code).
inline const std::string kWDown = "Kdown " + std::to_string('W') + "/" + std::to_string(0x11);
inline const std::string kWUp = "Kup " + std::to_string('W') + "/" + std::to_string(0x11);

// Key events with repeats of the same event folded.
inline std::vector<std::string> FoldedKeys(const std::vector<std::string>& events) {
  std::vector<std::string> keys;
  for (const std::string& e : events)
    if (e[0] == 'K' && (keys.empty() || keys.back() != e)) keys.push_back(e);
  return keys;
}

// A manager button that asks first and then reports, against the tracker's answer: for each
// case, `setUp` goes to hxsim, the button is pressed, its prompt is answered OK, the result
// must say `message`, and the tracker must have seen `request` after it ("" for none). A
// request that no case of the table expects must not be sent.
struct TrackerCase {
  const char* setUp;
  const char* message;
  const char* request;
};
inline void CheckTrackerButton(Program& program, SimProcess& sim, HWND manager, int button, const char* prompt,
                               const char* asked, const std::vector<TrackerCase>& cases) {
  for (const TrackerCase& c : cases) {
    SCOPED_TRACE(c.setUp);
    ASSERT_EQ(sim.Control(c.setUp).substr(0, 2), "ok");
    sim.Control("log");
    Program::Press(manager, button);
    HWND question = program.FindDialog(prompt);
    ASSERT_NE(question, nullptr) << prompt;
    Program::Press(question, IDOK);
    HWND result = program.FindDialog(c.message);
    ASSERT_NE(result, nullptr) << c.message;
    Program::Press(result, IDOK);
    // The handler goes on once its box is answered (it then asks the tracker to save or restore):
    // wait for the box to be destroyed and for the manager to answer again, i.e. the handler has
    // returned, gathering the tracker's log until the expected request is in it.
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(result); }, 5000));
    DWORD_PTR answer = 0;
    ASSERT_NE(SendMessageTimeoutA(manager, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer), 0u);
    std::string log;
    WaitFor([&] {
      log += sim.Control("log");
      return !*c.request || log.find(c.request) != std::string::npos;
    }, 5000);
    EXPECT_NE(log.find(asked), std::string::npos) << log;
    for (const TrackerCase& other : cases) {
      if (*other.request) {
        EXPECT_EQ(log.find(other.request) != std::string::npos, std::string(other.request) == c.request)
            << other.request << " in " << log;
      }
    }
    if (std::string(c.setUp).rfind("fail ", 0) == 0) sim.Control("pass " + std::string(c.setUp).substr(5));
  }
}
