#include "commands/key_table.h"

const std::array<KeyRow, kKeyCount> kKeyTable = {{
    {"Escape", 0x1B, 0x01, "Esc"},  // 0
    {"F1", 0x70, 0x3B, "F1"},  // 1
    {"F2", 0x71, 0x3C, "F2"},  // 2
    {"F3", 0x72, 0x3D, "F3"},  // 3
    {"F4", 0x73, 0x3E, "F4"},  // 4
    {"F5", 0x74, 0x3F, "F5"},  // 5
    {"F6", 0x75, 0x40, "F6"},  // 6
    {"F7", 0x76, 0x41, "F7"},  // 7
    {"F8", 0x77, 0x42, "F8"},  // 8
    {"F9", 0x78, 0x43, "F9"},  // 9
    {"F10", 0x79, 0x44, "F10"},  // 10
    {"F11", 0x7A, 0x57, "F11"},  // 11
    {"F12", 0x7B, 0x58, "F12"},  // 12
    {"Print Screen", 0x2C, 0xB7, "Prn"},  // 13
    {"Scroll Lock", 0x91, 0x46, "Scr"},  // 14
    {"Pause", 0x13, 0xC5, "Pau"},  // 15
    {"Tilde ( ~ )", 0xC0, 0x29, "`"},  // 16
    {"1", 0x31, 0x02, "1"},  // 17
    {"2", 0x32, 0x03, "2"},  // 18
    {"3", 0x33, 0x04, "3"},  // 19
    {"4", 0x34, 0x05, "4"},  // 20
    {"5", 0x35, 0x06, "5"},  // 21
    {"6", 0x36, 0x07, "6"},  // 22
    {"7", 0x37, 0x08, "7"},  // 23
    {"8", 0x38, 0x09, "8"},  // 24
    {"9", 0x39, 0x0A, "9"},  // 25
    {"0", 0x30, 0x0B, "0"},  // 26
    {"Minus", 0xBD, 0x0C, "-"},  // 27
    {"Equal", 0xBB, 0x0D, "="},  // 28
    {"Backspace", 0x08, 0x0E, "Backspace"},  // 29
    {"Insert", 0x2D, 0xD2, "Ins"},  // 30
    {"Home", 0x24, 0xC7, "Hm"},  // 31
    {"Page Up", 0x21, 0xC9, "PgU"},  // 32
    {"Num Lock", 0x90, 0x45, "Num"},  // 33
    {"KP Divide", 0x6F, 0xB5, "/"},  // 34
    {"KP Multiply", 0x6A, 0x37, "*"},  // 35
    {"KP Minus", 0x6D, 0x4A, "-"},  // 36
    {"Tab", 0x09, 0x0F, "Tab"},  // 37
    {"Q", 0x51, 0x10, "q"},  // 38
    {"W", 0x57, 0x11, "w"},  // 39
    {"E", 0x45, 0x12, "e"},  // 40
    {"R", 0x52, 0x13, "r"},  // 41
    {"T", 0x54, 0x14, "t"},  // 42
    {"Y", 0x59, 0x15, "y"},  // 43
    {"U", 0x55, 0x16, "u"},  // 44
    {"I", 0x49, 0x17, "i"},  // 45
    {"O", 0x4F, 0x18, "o"},  // 46
    {"P", 0x50, 0x19, "p"},  // 47
    {"Left Bracket", 0xDB, 0x1A, "["},  // 48
    {"Right Bracket", 0xDD, 0x1B, "]"},  // 49
    {"Backslash", 0xDC, 0x2B, "\\"},  // 50
    {"Delete", 0x2E, 0xD3, "Del"},  // 51
    {"End", 0x23, 0xCF, "End"},  // 52
    {"Page Down", 0x22, 0xD1, "PgD"},  // 53
    {"KP 7", 0x67, 0x47, "7"},  // 54
    {"KP 8", 0x68, 0x48, "8"},  // 55
    {"KP 9", 0x69, 0x49, "9"},  // 56
    {"KP Plus", 0x6B, 0x4E, "+"},  // 57
    {"Caps Lock", 0x14, 0x3A, "Caps Lck"},  // 58
    {"A", 0x41, 0x1E, "a"},  // 59
    {"S", 0x53, 0x1F, "s"},  // 60
    {"D", 0x44, 0x20, "d"},  // 61
    {"F", 0x46, 0x21, "f"},  // 62
    {"G", 0x47, 0x22, "g"},  // 63
    {"H", 0x48, 0x23, "h"},  // 64
    {"J", 0x4A, 0x24, "j"},  // 65
    {"K", 0x4B, 0x25, "k"},  // 66
    {"L", 0x4C, 0x26, "l"},  // 67
    {"Semicolon", 0xBA, 0x27, ";"},  // 68
    {"Apostrophe", 0xDE, 0x28, "'"},  // 69
    {"Enter", 0x0D, 0x1C, "Enter"},  // 70
    {"KP 4", 0x64, 0x4B, "4"},  // 71
    {"KP 5", 0x65, 0x4C, "5"},  // 72
    {"KP 6", 0x66, 0x4D, "6"},  // 73
    {"Left Shift", 0xA0, 0x2A, "Shift"},  // 74
    {"Z", 0x5A, 0x2C, "z"},  // 75
    {"X", 0x58, 0x2D, "x"},  // 76
    {"C", 0x43, 0x2E, "c"},  // 77
    {"V", 0x56, 0x2F, "v"},  // 78
    {"B", 0x42, 0x30, "b"},  // 79
    {"N", 0x4E, 0x31, "n"},  // 80
    {"M", 0x4D, 0x32, "m"},  // 81
    {"Comma", 0xBC, 0x33, ","},  // 82
    {"Period", 0xBE, 0x34, "."},  // 83
    {"Slash", 0xBF, 0x35, "/"},  // 84
    {"Right Shift", 0xA1, 0x36, "Shift"},  // 85
    {"Up Arrow", 0x26, 0xC8, "U"},  // 86
    {"KP 1", 0x61, 0x4F, "1"},  // 87
    {"KP 2", 0x62, 0x50, "2"},  // 88
    {"KP 3", 0x63, 0x51, "3"},  // 89
    {"KP Enter", 0x0D, 0x9C, "Ent"},  // 90
    {"Left Control", 0xA2, 0x1D, "Ctrl"},  // 91
    {"Left Alt", 0xA4, 0x38, "Alt"},  // 92
    {"Space", 0x20, 0x39, "Space"},  // 93
    {"Right Alt", 0xA5, 0xB8, "Alt"},  // 94
    {"Right Control", 0xA3, 0x9D, "Ctrl"},  // 95
    {"Left Arrow", 0x25, 0xCB, "L"},  // 96
    {"Down Arrow", 0x28, 0xD0, "D"},  // 97
    {"Right Arrow", 0x27, 0xCD, "R"},  // 98
    {"KP 0", 0x60, 0x52, "0"},  // 99
    {"KP Period", 0x6E, 0x53, "."},  // 100
}};

namespace {

// Indices outside the table pass their low byte through: saved profiles may hold anything, and
// the engine must still send something rather than read past the table.
int LowByteOr(int index, uint8_t KeyRow::*column) {
  if (index == kNoKey) return 0;
  if (index < 0 || index >= kKeyCount) return index & 0xFF;
  return kKeyTable[index].*column;
}

}  // namespace

int KeyIndexToVirtualKey(int index) { return LowByteOr(index, &KeyRow::virtualKey); }

int KeyIndexToKeyCode(int index) { return LowByteOr(index, &KeyRow::keyCode); }

std::string KeyCodeToName(int keyCode) {
  const int byte = keyCode & 0xFF;
  if (byte == 0) return std::string();
  for (const KeyRow& row : kKeyTable)
    if (row.keyCode == byte) return row.name;
  return std::string();
}

// The whole argument must match: the Power Command editor hands back bytes, and anything else
// is left as it was rather than guessed at.
int KeyCodeToKeyIndex(int keyCode) {
  for (int i = 0; i < kKeyCount; ++i)
    if (kKeyTable[i].keyCode == keyCode) return i;
  return keyCode;
}

std::string KeyIndexToName(int index) { return KeyCodeToName(KeyIndexToKeyCode(index)); }
