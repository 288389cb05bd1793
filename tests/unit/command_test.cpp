// Command: defaults, reset, copy, its field order in the profile file, and the texts that show it.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "commands/command.h"
#include "commands/describe.h"

namespace {

// One token per archive call, in order: "i:<value>" or "s:<text>".
struct Recorder {
  std::vector<std::string> tokens;
  bool Int(int32_t& v) {
    tokens.push_back("i:" + std::to_string(v));
    return true;
  }
  bool String(std::string& s) {
    tokens.push_back("s:" + s);
    return true;
  }
};

// Reads back what a Recorder wrote; fails once the tokens run out or the kind does not match.
struct Player {
  std::vector<std::string> tokens;
  size_t next = 0;
  bool Int(int32_t& v) {
    if (next >= tokens.size() || tokens[next].compare(0, 2, "i:") != 0) return false;
    v = std::stoi(tokens[next++].substr(2));
    return true;
  }
  bool String(std::string& s) {
    if (next >= tokens.size() || tokens[next].compare(0, 2, "s:") != 0) return false;
    s = tokens[next++].substr(2);
    return true;
  }
};

std::vector<std::string> Record(const Command& command) {
  Command copy = command;  // Serialize takes the fields by reference, for reading and writing alike
  Recorder r;
  EXPECT_TRUE(copy.Serialize(r));
  return r.tokens;
}

void AddInts(std::vector<std::string>& tokens, std::initializer_list<int32_t> values) {
  for (int32_t v : values) tokens.push_back("i:" + std::to_string(v));
}

// Every field away from its default, each to a value of its own, so that fields swapped in the
// file show.
Command Changed() {
  Command c;
  c.usesKeys = 11;
  c.usesButtons = 12;
  c.usesWheel = 13;
  c.usesPowerCommand = 14;
  for (int b = 0; b < kCommandButtons; ++b) c.buttons[b] = 20 + b;
  c.repeatWhileOut = 15;
  for (int k = 0; k < kCommandKeys; ++k) c.keys[k] = 30 + k;
  c.keyAction = 2;
  c.keyPulseRate = 40;
  c.buttonAction = 3;
  c.buttonPulseRate = 41;
  c.wheelDirection = 1;
  c.wheelMethod = 42;
  c.wheelRate = 43;
  c.powerCount = 44;
  for (int i = 0; i < kPowerEntries; ++i) {
    c.powerLabels[i] = "entry " + std::to_string(i);
    for (int b = 0; b < kCommandButtons; ++b) c.powerButtons[i][b] = 1000 * (i + 1) + b;
    for (int k = 0; k < kCommandKeys; ++k) c.powerKeys[i][k] = 1000 * (i + 1) + 10 + k;
    c.powerType[i] = 1000 * (i + 1) + 20;
    c.powerWheelDirection[i] = 1000 * (i + 1) + 21;
    c.powerDelay[i] = 1000 * (i + 1) + 22;
    c.powerDuration[i] = 1000 * (i + 1) + 23;
  }
  return c;
}

// The file's field order, written out field by field.
std::vector<std::string> FileOrder(const Command& c) {
  std::vector<std::string> t;
  AddInts(t, {c.usesKeys, c.usesButtons, c.usesWheel, c.usesPowerCommand, c.keyAction, c.keyPulseRate,
              c.buttonAction, c.buttonPulseRate, c.wheelDirection, c.wheelMethod, c.wheelRate, c.repeatWhileOut,
              c.powerCount});
  for (int i = 0; i < kPowerEntries; ++i) {
    const auto& k = c.powerKeys[i];
    const auto& b = c.powerButtons[i];
    AddInts(t, {k[0], b[0], k[1], b[1], k[2], b[2], k[3], b[3], b[4], b[5], b[6], b[7], c.powerType[i],
                c.powerWheelDirection[i], c.powerDelay[i], c.powerDuration[i]});
    t.push_back("s:" + c.powerLabels[i]);
  }
  const auto& k = c.keys;
  const auto& b = c.buttons;
  AddInts(t, {k[0], b[0], k[1], b[1], k[2], b[2], k[3], b[3], b[4], b[5], b[6], b[7]});
  return t;
}

template <size_t N, size_t M>
std::vector<int32_t> Flat(const std::array<std::array<int32_t, N>, M>& rows) {
  std::vector<int32_t> out;
  for (const auto& row : rows) out.insert(out.end(), row.begin(), row.end());
  return out;
}

template <size_t N>
std::vector<int32_t> Flat(const std::array<int32_t, N>& row) {
  return std::vector<int32_t>(row.begin(), row.end());
}

TEST(Command, Defaults) {
  const Command c;
  struct Field {
    const char* name;
    std::vector<int32_t> values;
    int32_t expected;
    size_t count;
  } fields[] = {
      {"usesKeys", {c.usesKeys}, 0, 1},
      {"usesButtons", {c.usesButtons}, 0, 1},
      {"usesWheel", {c.usesWheel}, 0, 1},
      {"usesPowerCommand", {c.usesPowerCommand}, 0, 1},
      {"buttons", Flat(c.buttons), 0, 8},
      {"powerButtons", Flat(c.powerButtons), 0, 400},
      {"repeatWhileOut", {c.repeatWhileOut}, 0, 1},
      {"keys", Flat(c.keys), -1, 4},
      {"keyAction", {c.keyAction}, 0, 1},
      {"keyPulseRate", {c.keyPulseRate}, 1, 1},
      {"buttonAction", {c.buttonAction}, 0, 1},
      {"buttonPulseRate", {c.buttonPulseRate}, 1, 1},
      {"wheelDirection", {c.wheelDirection}, 0, 1},
      {"wheelMethod", {c.wheelMethod}, 0, 1},
      {"wheelRate", {c.wheelRate}, 1, 1},
      {"powerCount", {c.powerCount}, 0, 1},
      {"powerType", Flat(c.powerType), -1, 50},
      {"powerKeys", Flat(c.powerKeys), -1, 200},
      {"powerWheelDirection", Flat(c.powerWheelDirection), 0, 50},
      {"powerDelay", Flat(c.powerDelay), 0, 50},
      {"powerDuration", Flat(c.powerDuration), 0, 50},
  };
  for (const Field& f : fields) {
    SCOPED_TRACE(f.name);
    EXPECT_EQ(f.values, std::vector<int32_t>(f.count, f.expected));
  }
  for (const std::string& label : c.powerLabels) EXPECT_EQ(label, "");
}

TEST(Command, NewCommandInTheFile) {
  std::vector<std::string> expected;
  AddInts(expected, {0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 1, 0, 0});
  for (int i = 0; i < kPowerEntries; ++i) {
    AddInts(expected, {-1, 0, -1, 0, -1, 0, -1, 0, 0, 0, 0, 0, -1, 0, 0, 0});
    expected.push_back("s:");
  }
  AddInts(expected, {-1, 0, -1, 0, -1, 0, -1, 0, 0, 0, 0, 0});
  ASSERT_EQ(expected.size(), 13u + 50u * 17u + 12u);
  EXPECT_EQ(Record(Command()), expected);
}

TEST(Command, EveryFieldInItsPlace) {
  const Command c = Changed();
  EXPECT_EQ(Record(c), FileOrder(c));
}

TEST(Command, ResetAfterChangingEveryField) {
  const std::vector<std::string> defaults = Record(Command());
  Command c = Changed();
  // Changed() must move every field the file holds, or reset would be tested on less.
  const std::vector<std::string> changed = Record(c);
  ASSERT_EQ(changed.size(), defaults.size());
  for (size_t i = 0; i < defaults.size(); ++i) EXPECT_NE(changed[i], defaults[i]) << "token " << i;

  c.reset();
  EXPECT_EQ(Record(c), defaults);
}

TEST(Command, CopyTakesEveryField) {
  const Command original = Changed();
  const Command copied(original);
  Command assigned;
  assigned = original;
  EXPECT_EQ(Record(copied), Record(original));
  EXPECT_EQ(Record(assigned), Record(original));
}

TEST(Command, ReadsBackWhatItWrote) {
  Player player{Record(Changed())};
  Command read;
  ASSERT_TRUE(read.Serialize(player));
  EXPECT_EQ(player.next, player.tokens.size());
  EXPECT_EQ(Record(read), Record(Changed()));
  EXPECT_EQ(read.powerLabels[49], "entry 49");
  EXPECT_EQ(read.buttons[7], 27);
  EXPECT_EQ(read.powerDuration[49], 50023);
}

TEST(Command, ShortStreamFails) {
  std::vector<std::string> tokens = Record(Changed());
  for (size_t keep : {size_t{0}, size_t{12}, size_t{13 + 16}, tokens.size() - 1}) {
    SCOPED_TRACE(keep);
    Player player{std::vector<std::string>(tokens.begin(), tokens.begin() + keep)};
    Command read;
    EXPECT_FALSE(read.Serialize(player));
    EXPECT_EQ(player.next, keep);  // it stops at the end, reading nothing past it
  }
}

// --- texts ---

TEST(Describe, Buttons) {
  struct Case {
    int action;
    int b[5];
    const char* motion;   // describeButtons
    const char* options;  // the command options dialog's variant
  } cases[] = {
      {3, {1, 0, 0, 0, 0}, "Pulse mouse button: 1 (Left)", "Pulse mouse buttons; 1 (Left)"},
      {3, {0, 0, 0, 0, 0}, "", ""},
      {0, {0, 0, 0, 0, 0}, "", ""},
      {1, {0, 1, 0, 1, 0}, "Hold mouse buttons: 2 (Right), 4", "Hold mouse buttons; 2 (Right), 4"},
      {0, {1, 1, 1, 1, 1}, "Tap mouse buttons: 1 (Left), 2 (Right), 3 (Middle), 4, 5",
       "Tap mouse buttons: 1 (Left), 2 (Right), 3 (Middle), 4, 5"},
      {2, {0, 0, 1, 0, 1}, "Toggle mouse buttons: 3 (Middle), 5", "Toggle mouse buttons; 3 (Middle), 5"},
      {0, {0, 0, 0, 1, 0}, "Tap mouse buttons: 4", "Tap mouse buttons: 4"},
      {1, {0, 0, 0, 0, 1}, "Hold mouse buttons: 5", "Hold mouse buttons; 5"},
      {4, {1, 0, 1, 0, 0}, "1 (Left), 3 (Middle)", "1 (Left), 3 (Middle)"},
      {-1, {0, 1, 0, 0, 0}, "2 (Right)", "2 (Right)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.motion);
    EXPECT_EQ(describeButtons(c.action, c.b[0], c.b[1], c.b[2], c.b[3], c.b[4]), c.motion);
    EXPECT_EQ(describeOptionsButtons(c.action, c.b[0], c.b[1], c.b[2], c.b[3], c.b[4]), c.options);
  }
}

constexpr int kW = 39, kLeftShift = 74, kSpace = 93, kEscape = 0, kA = 59, kS = 60, kD = 61;

TEST(Describe, Keys) {
  struct Case {
    int action;
    int k[4];
    const char* text;
  } cases[] = {
      {0, {kLeftShift, kW, -1, -1}, "Tap the following keys: Left Shift, W"},
      {0, {-1, kW, -1, -1}, ""},
      {0, {-1, -1, -1, -1}, ""},
      {0, {kSpace, -1, -1, -1}, "Tap the Space key"},
      {1, {kEscape, -1, -1, -1}, "Hold the Escape key"},
      {2, {kA, -1, kD, kS}, "Toggle the A key"},  // k3 and k4 do not count without k2
      {3, {kA, kS, kD, kW}, "Pulse the following keys: A, S, D, W"},
      {2, {kA, kS, kD, -1}, "Toggle the following keys: A, S, D"},
      {1, {kA, kS, -1, kW}, "Hold the following keys: A, S"},  // a set k4 after an unset k3
      {4, {kSpace, -1, -1, -1}, "Space key"},
      {-1, {kA, kS, -1, -1}, "A, S"},
      {0, {256, kW, -1, -1}, ""},             // an index whose low byte is 0 has no code byte
      {0, {kW, 101, -1, -1}, "Tap the following keys: W, "},  // set, but its byte names nothing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(describeKeys(c.action, c.k[0], c.k[1], c.k[2], c.k[3]), c.text);
  }
}

TEST(Describe, Wheel) {
  struct Case {
    int method, direction;
    const char* text;
  } cases[] = {
      {0, 0, "Scroll the mouse wheel up."},
      {0, 1, "Scroll the mouse wheel down."},
      {1, 0, "Repeatedly scroll the mouse wheel up."},
      {1, 1, "Repeatedly scroll the mouse wheel down."},
      {2, 0, ""},
      {0, 2, ""},
      {-1, 1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.method << "/" << c.direction);
    EXPECT_EQ(describeWheel(c.method, c.direction), c.text);
  }
}

TEST(Describe, PowerLabels) {
  struct ButtonsCase {
    int b[8];
    const char* text;
  } buttons[] = {
      {{0, 0, 0, 0, 0, 1, 0, 0}, "Click mouse buttons: , 6"},
      {{0, 0, 0, 0, 0, 0, 0, 0}, "Click mouse buttons: "},
      {{1, 0, 0, 0, 0, 0, 0, 1}, "Click mouse buttons: 1 (Left), 8"},
      {{0, 1, 1, 0, 0, 0, 1, 0}, "Click mouse buttons: 2 (Right), 3 (Middle), 7"},
      {{0, 0, 0, 0, 1, 1, 0, 0}, "Click mouse buttons: 5, 6"},
      {{0, 0, 0, 0, 0, 0, 1, 1}, "Click mouse buttons: , 7, 8"},
      {{1, 1, 1, 1, 1, 1, 1, 1}, "Click mouse buttons: 1 (Left), 2 (Right), 3 (Middle), 4, 5, 6, 7, 8"},
  };
  for (const ButtonsCase& c : buttons) {
    EXPECT_EQ(describePowerButtons(c.b[0], c.b[1], c.b[2], c.b[3], c.b[4], c.b[5], c.b[6], c.b[7]), c.text);
  }

  // Key code bytes, not indices.
  struct KeysCase {
    int k[4];
    const char* text;
  } keys[] = {
      {{0x2A, 0x11, 0, 0}, "Press the following keys: Left Shift, W"},
      {{0x39, 0, 0, 0}, "Press the Space key"},
      {{0xC8, 0, 0x11, 0}, "Press the Up Arrow key"},
      {{0, 0x11, 0, 0}, ""},
      {{0x1E, 0x1F, 0, 0x20}, "Press the following keys: A, S"},
      {{0x1E, 0x1F, 0x20, 0x11}, "Press the following keys: A, S, D, W"},
      {{0x1E, 0x1F, 0x20, 0}, "Press the following keys: A, S, D"},
  };
  for (const KeysCase& c : keys) EXPECT_EQ(describePowerKeys(c.k[0], c.k[1], c.k[2], c.k[3]), c.text);

  EXPECT_EQ(describePowerWheel(0), "Scroll the mouse wheel up.");
  EXPECT_EQ(describePowerWheel(1), "Scroll the mouse wheel down.");
  EXPECT_EQ(describePowerWheel(2), "");
  EXPECT_EQ(describePowerWheel(-1), "");
}

std::array<Command, kMapCount> DetailsMaps() {
  std::array<Command, kMapCount> maps;
  auto keys = [](Command& c, int action, std::array<int32_t, 4> k) {
    c.usesKeys = 1;
    c.keyAction = action;
    c.keys = k;
  };
  auto wheel = [](Command& c, int method, int direction) {
    c.usesWheel = 1;
    c.wheelMethod = method;
    c.wheelDirection = direction;
  };
  auto buttons = [](Command& c, int action, int button) {
    c.usesButtons = 1;
    c.buttonAction = action;
    c.buttons[button - 1] = 1;
  };
  keys(maps[0], 0, {kW, -1, -1, -1});
  keys(maps[1], 0, {kLeftShift, kW, -1, -1});
  wheel(maps[1], 1, 1);
  keys(maps[2], 0, {kW, -1, -1, -1});
  maps[2].usesPowerCommand = 1;
  buttons(maps[3], 1, 2);
  keys(maps[3], 0, {kW, -1, -1, -1});
  wheel(maps[3], 0, 0);
  // map 4 sends nothing
  wheel(maps[5], 0, 1);
  buttons(maps[6], 3, 1);
  buttons(maps[7], 0, 3);
  wheel(maps[7], 1, 0);
  keys(maps[8], 1, {kSpace, -1, -1, -1});
  maps[9].usesKeys = 1;  // flag set, no key
  keys(maps[10], 2, {kEscape, -1, -1, -1});
  wheel(maps[15], 1, 0);
  return maps;
}

TEST(Describe, Motion) {
  const std::array<Command, kMapCount> maps = DetailsMaps();
  struct Case {
    int mode, motion;
    const char* text;
  } cases[] = {
      {kCommandMode, 0, "Tap the W key"},
      {kCommandMode, 1, "Tap the following keys: Left Shift, W\nRepeatedly scroll the mouse wheel down."},
      {kCommandMode, 2, "Power Command, see profile editor for details..."},
      {kCommandMode, 3, "Hold mouse buttons: 2 (Right)\nTap the W key\nScroll the mouse wheel up."},
      {kCommandMode, 4, "None"},
      {kCommandMode, 5, "Scroll the mouse wheel down."},
      {kCommandMode, 6, "Pulse mouse button: 1 (Left)"},
      {kCommandMode, 7, "Tap mouse buttons: 3 (Middle)\nRepeatedly scroll the mouse wheel up."},
      {kCommandMode, 8, "Hold the Space key"},
      {kCommandMode, 9, ""},
      {kMixedMode, 0, "Toggle the Escape key"},  // map 10, not map 0
      {kMixedMode, 1, "None"},
      {kMixedMode, 5, "Repeatedly scroll the mouse wheel up."},
      {kMixedMode, 6, "Moves the cursor to the left"},  // maps 6-9 hold commands, unused in Mixed
      {kMixedMode, 7, "Moves the cursor to the right"},
      {kMixedMode, 8, "Moves the cursor up"},
      {kMixedMode, 9, "Moves the cursor down"},
      {kMouselook, 0, "Not used"},
      {kMouselook, 5, "Not used"},
      {kMouselook, 6, "Moves the cursor to the left"},
      {kMouselook, 9, "Moves the cursor down"},
      {kMouselook, 10, "Not used"},
      {kMixedMode, -1, "Not used"},
      {kCommandMode, 16, "Not used"},
      {7, 8, "Moves the cursor up"},
      {7, 0, "Not used"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " motion " << c.motion);
    EXPECT_EQ(describeMotion(c.mode, c.motion, [&](int map) { return &maps[map]; }), c.text);
  }
}

TEST(Describe, MotionOfAnEmptySlot) {
  int asked = -1;
  const auto none = [&](int map) -> const Command* {
    asked = map;
    return nullptr;
  };
  EXPECT_EQ(describeMotion(kMixedMode, 3, none), "None");
  EXPECT_EQ(asked, 13);
}

}  // namespace
