#pragma once
// The keys a game command can name. A key is stored by its key index: its place on the key
// command dialog's keyboard picture (row by row; main block, navigation block, keypad), 0-100,
// with -1 for no key. From the index come the virtual-key code that synthetic key events carry
// and hot keys are polled with, and the key code byte (set-1 scan code, 0x80 added for E0 keys)
// that goes in their scan-code field and names the key in every command text.
#include <array>
#include <cstdint>
#include <string>

constexpr int kKeyCount = 101;
constexpr int kNoKey = -1;

struct KeyRow {
  const char* name;      // as every command text shows it
  uint8_t virtualKey;
  uint8_t keyCode;       // set-1 scan code, E0 keys + 0x80
  const char* label;     // the key's button on the keyboard picture
};

// Row i is key index i.
extern const std::array<KeyRow, kKeyCount> kKeyTable;

// -1 gives 0; any other index outside the table gives its own low byte.
int KeyIndexToVirtualKey(int index);
int KeyIndexToKeyCode(int index);
// Only the low byte counts; a byte no key carries (0 included) has no name.
std::string KeyCodeToName(int keyCode);
// A byte no key carries comes back unchanged.
int KeyCodeToKeyIndex(int keyCode);
// The name of the key's code byte, so -1 gives the empty string.
std::string KeyIndexToName(int index);
