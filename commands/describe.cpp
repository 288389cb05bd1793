#include "commands/describe.h"

#include "commands/key_table.h"

namespace {

// Actions beyond Pulse have no wording of their own.
const char* ByAction(const char* const texts[4], int action) {
  return action >= 0 && action < 4 ? texts[action] : "";
}

const char* const kButtonPieces[kCommandButtons] = {"1 (Left)", ", 2 (Right)", ", 3 (Middle)", ", 4",
                                                    ", 5",      ", 6",         ", 7",          ", 8"};

// Pieces of the set buttons among the first `count`; the first set button among 1-5 drops its
// comma, while 6-8 keep theirs even when they come first.
std::string ButtonList(const int* buttons, int count) {
  std::string text;
  bool first = true;
  for (int b = 0; b < count; ++b) {
    if (!buttons[b]) continue;
    const char* piece = kButtonPieces[b];
    if (first && b < 5 && piece[0] == ',') piece += 2;
    first = false;
    text += piece;
  }
  return text;
}

std::string Buttons(const char* const prefixes[4], int action, int b1, int b2, int b3, int b4, int b5) {
  const int buttons[] = {b1, b2, b3, b4, b5};
  const std::string list = ButtonList(buttons, 5);
  if (list.empty()) return list;
  return ByAction(prefixes, action) + list;
}

// A key counts only when its code byte is not 0; the list stops at the first key that does not.
std::string KeyText(const char* single, const char* listed, const char* after, const int codes[4]) {
  if (!(codes[0] & 0xFF)) return std::string();
  if (!(codes[1] & 0xFF)) return single + KeyCodeToName(codes[0]) + after;
  std::string text = listed + KeyCodeToName(codes[0]);
  for (int k = 1; k < kCommandKeys && (codes[k] & 0xFF); ++k) text += ", " + KeyCodeToName(codes[k]);
  return text;
}

const char* const kCursorTexts[] = {"Moves the cursor to the left", "Moves the cursor to the right",
                                    "Moves the cursor up", "Moves the cursor down"};

}  // namespace

std::string describeButtons(int action, int b1, int b2, int b3, int b4, int b5) {
  static const char* const prefixes[4] = {"Tap mouse buttons: ", "Hold mouse buttons: ", "Toggle mouse buttons: ",
                                          "Pulse mouse button: "};
  return Buttons(prefixes, action, b1, b2, b3, b4, b5);
}

std::string describeOptionsButtons(int action, int b1, int b2, int b3, int b4, int b5) {
  static const char* const prefixes[4] = {"Tap mouse buttons: ", "Hold mouse buttons; ", "Toggle mouse buttons; ",
                                          "Pulse mouse buttons; "};
  return Buttons(prefixes, action, b1, b2, b3, b4, b5);
}

std::string describeKeys(int action, int k1, int k2, int k3, int k4) {
  static const char* const single[4] = {"Tap the ", "Hold the ", "Toggle the ", "Pulse the "};
  static const char* const listed[4] = {"Tap the following keys: ", "Hold the following keys: ",
                                        "Toggle the following keys: ", "Pulse the following keys: "};
  const int codes[4] = {KeyIndexToKeyCode(k1), KeyIndexToKeyCode(k2), KeyIndexToKeyCode(k3),
                        KeyIndexToKeyCode(k4)};
  return KeyText(ByAction(single, action), ByAction(listed, action), " key", codes);
}

std::string describeWheel(int method, int direction) {
  if (method == 0 && direction == 0) return "Scroll the mouse wheel up.";
  if (method == 0 && direction == 1) return "Scroll the mouse wheel down.";
  if (method == 1 && direction == 0) return "Repeatedly scroll the mouse wheel up.";
  if (method == 1 && direction == 1) return "Repeatedly scroll the mouse wheel down.";
  return std::string();
}

// Each flag's text replaces what came before unless an earlier flag was set, and the Power
// Command replaces everything: the engine runs only the list when that flag is set.
std::string describeMotion(int mode, int motion, const MapLookup& mapAt) {
  int map = -1;
  if (mode == kCommandMode && motion >= 0 && motion < kMapCount) map = motion;
  if (mode == kMixedMode && motion >= 0 && motion <= 5) map = motion + 10;
  if (map < 0) return motion >= 6 && motion <= 9 ? kCursorTexts[motion - 6] : "Not used";
  static const Command kEmpty;
  const Command* c = mapAt(map);
  if (!c) c = &kEmpty;

  std::string text = "None";
  if (c->usesButtons)
    text = describeButtons(c->buttonAction, c->buttons[0], c->buttons[1], c->buttons[2], c->buttons[3],
                           c->buttons[4]);
  if (c->usesKeys) {
    const std::string keys = describeKeys(c->keyAction, c->keys[0], c->keys[1], c->keys[2], c->keys[3]);
    text = c->usesButtons ? text + "\n" + keys : keys;
  }
  if (c->usesWheel) {
    const std::string wheel = describeWheel(c->wheelMethod, c->wheelDirection);
    text = c->usesButtons || c->usesKeys ? text + "\n" + wheel : wheel;
  }
  if (c->usesPowerCommand) text = "Power Command, see profile editor for details...";
  return text;
}

std::string describePowerButtons(int b1, int b2, int b3, int b4, int b5, int b6, int b7, int b8) {
  const int buttons[] = {b1, b2, b3, b4, b5, b6, b7, b8};
  return "Click mouse buttons: " + ButtonList(buttons, kCommandButtons);
}

std::string describePowerKeys(int k1, int k2, int k3, int k4) {
  const int codes[4] = {k1, k2, k3, k4};
  return KeyText("Press the ", "Press the following keys: ", " key", codes);
}

std::string describePowerWheel(int direction) {
  if (direction == 0) return "Scroll the mouse wheel up.";
  if (direction == 1) return "Scroll the mouse wheel down.";
  return std::string();
}
