// The key table's 101 rows and the four conversions, including what they do with indices and
// bytes no key has.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "commands/key_table.h"

namespace {

TEST(KeyTable, EveryRowRoundTrips) {
  std::set<std::string> names;
  for (int i = 0; i < kKeyCount; ++i) {
    SCOPED_TRACE(i);
    const KeyRow& row = kKeyTable[i];
    EXPECT_NE(row.virtualKey, 0);
    EXPECT_EQ(KeyIndexToVirtualKey(i), row.virtualKey);
    EXPECT_EQ(KeyIndexToKeyCode(i), row.keyCode);
    // Back to the same index: no two keys share a code byte, or one would be unreachable.
    EXPECT_EQ(KeyCodeToKeyIndex(KeyIndexToKeyCode(i)), i);
    EXPECT_EQ(KeyIndexToName(i), row.name);
    EXPECT_EQ(KeyCodeToName(row.keyCode), row.name);
    EXPECT_FALSE(std::string(row.name).empty());
    EXPECT_FALSE(std::string(row.label).empty());
    names.insert(row.name);
  }
  EXPECT_EQ(names.size(), static_cast<size_t>(kKeyCount));
}

// Runs of consecutive scan codes on the keyboard; a row slipped or typed wrong breaks a run.
TEST(KeyTable, ScanCodeRuns) {
  struct Run {
    int firstIndex, count, firstCode;
    const char* firstName;
  } runs[] = {
      {1, 10, 0x3B, "F1"},  {11, 2, 0x57, "F11"}, {17, 9, 0x02, "1"},   {26, 4, 0x0B, "0"},
      {37, 12, 0x0F, "Tab"}, {54, 3, 0x47, "KP 7"}, {59, 11, 0x1E, "A"}, {71, 3, 0x4B, "KP 4"},
      {75, 11, 0x2C, "Z"},  {87, 3, 0x4F, "KP 1"}, {99, 2, 0x52, "KP 0"},
  };
  for (const Run& run : runs) {
    SCOPED_TRACE(run.firstName);
    EXPECT_STREQ(kKeyTable[run.firstIndex].name, run.firstName);
    for (int k = 0; k < run.count; ++k) EXPECT_EQ(KeyIndexToKeyCode(run.firstIndex + k), run.firstCode + k) << k;
  }
}

// Letters and digits carry their character as virtual key, F-keys and keypad digits their ranges.
TEST(KeyTable, VirtualKeysFollowTheNames) {
  int checked = 0;
  for (int i = 0; i < kKeyCount; ++i) {
    const std::string name = kKeyTable[i].name;
    SCOPED_TRACE(name);
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
      EXPECT_EQ(KeyIndexToVirtualKey(i), name[0]);
    } else if (name.size() == 4 && name.compare(0, 3, "KP ") == 0 && std::isdigit(static_cast<unsigned char>(name[3]))) {
      EXPECT_EQ(KeyIndexToVirtualKey(i), 0x60 + (name[3] - '0'));
    } else if (name.size() >= 2 && name[0] == 'F' && std::isdigit(static_cast<unsigned char>(name[1]))) {
      EXPECT_EQ(KeyIndexToVirtualKey(i), 0x6F + std::stoi(name.substr(1)));
    } else {
      continue;
    }
    ++checked;
  }
  EXPECT_EQ(checked, 26 + 10 + 10 + 12);
}

TEST(KeyTable, KeysThatAreEasyToGetWrong) {
  struct Case {
    int index;
    const char* name;
    int virtualKey, keyCode;
  } cases[] = {
      {0, "Escape", 0x1B, 0x01},         {13, "Print Screen", 0x2C, 0xB7}, {15, "Pause", 0x13, 0xC5},
      {16, "Tilde ( ~ )", 0xC0, 0x29},   {34, "KP Divide", 0x6F, 0xB5},    {84, "Slash", 0xBF, 0x35},
      {70, "Enter", 0x0D, 0x1C},         {90, "KP Enter", 0x0D, 0x9C},     {74, "Left Shift", 0xA0, 0x2A},
      {85, "Right Shift", 0xA1, 0x36},   {91, "Left Control", 0xA2, 0x1D}, {95, "Right Control", 0xA3, 0x9D},
      {92, "Left Alt", 0xA4, 0x38},      {94, "Right Alt", 0xA5, 0xB8},    {86, "Up Arrow", 0x26, 0xC8},
      {96, "Left Arrow", 0x25, 0xCB},    {97, "Down Arrow", 0x28, 0xD0},   {98, "Right Arrow", 0x27, 0xCD},
      {100, "KP Period", 0x6E, 0x53},    {93, "Space", 0x20, 0x39},        {58, "Caps Lock", 0x14, 0x3A},
      {50, "Backslash", 0xDC, 0x2B},     {30, "Insert", 0x2D, 0xD2},       {53, "Page Down", 0x22, 0xD1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(KeyIndexToName(c.index), c.name);
    EXPECT_EQ(KeyIndexToVirtualKey(c.index), c.virtualKey);
    EXPECT_EQ(KeyIndexToKeyCode(c.index), c.keyCode);
  }
}

TEST(KeyTable, OutOfRangeIndices) {
  struct Case {
    int index, virtualKey, keyCode;
    const char* name;
  } cases[] = {
      {-1, 0, 0, ""},
      {101, 101, 101, ""},            // 0x65 is no key's byte
      {-2, 0xFE, 0xFE, ""},
      {256, 0, 0, ""},
      {0x1C8, 0xC8, 0xC8, "Up Arrow"}, // the low byte happens to name a key
      {200, 200, 200, "Up Arrow"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    EXPECT_EQ(KeyIndexToVirtualKey(c.index), c.virtualKey);
    EXPECT_EQ(KeyIndexToKeyCode(c.index), c.keyCode);
    EXPECT_EQ(KeyIndexToName(c.index), c.name);
  }
}

TEST(KeyTable, CodeBytesNoKeyCarries) {
  struct Case {
    int keyCode;
    const char* name;
    int index;
  } cases[] = {
      {0xC8, "Up Arrow", 86},
      {0x54, "", 0x54},      // not listed: comes back as it was
      {0x00, "", 0x00},
      {0xFF, "", 0xFF},
      {-1, "", -1},
      {0x1C8, "Up Arrow", 0x1C8},  // the name looks at the low byte only; the index needs the byte
      {0x101, "Escape", 0x101},
      {0x9C, "KP Enter", 90},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keyCode);
    EXPECT_EQ(KeyCodeToName(c.keyCode), c.name);
    EXPECT_EQ(KeyCodeToKeyIndex(c.keyCode), c.index);
  }
}

}  // namespace
