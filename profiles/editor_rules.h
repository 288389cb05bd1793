#pragma once
// The profile editor's motion list per operating mode with each item's picture, what an item
// edits, Clear and Clear all, the hot key and game texts, and the name dialog's filter.
#include <string>
#include <vector>

#include "profiles/dialog_texts.h"
#include "profiles/profile.h"

// Pictures of the editor's image list: the unset pictures of left, right, up, down, forward and
// back, then their set pictures, then the two rotation axes.
enum MotionImage : int {
  kImageUnsetLeft = 0,
  kImageSetLeft = 6,
  kImageXRotation = 12,
  kImageYRotation = 13,
};

struct MotionItem {
  const char* label;
  int image;
  int map;   // the map the item edits, -1 for an axis item
  int axis;  // kAxisXRotation / kAxisYRotation for an axis item, else -1
};

// The list the mode shows, pictures from `profile`'s maps; empty for a mode that is none of the
// three. A missing map shows as unset.
std::vector<MotionItem> MotionList(int mode, const Profile& profile);

// What "Clear" does for the selected item (-1 none): a refusal to show, or the map to reset
// after asking dialog_texts::kClearMotionQuestion (Yes / No); neither when nothing happens.
struct ClearPlan {
  Notice refusal;
  int map = -1;
};
ClearPlan PlanClearMotion(int mode, int item);

// "Clear all" after the user said Yes to dialog_texts::kClearAllQuestion: the working copy back
// to its creation values, except the mode and the three game strings.
void ClearAll(Profile& working);

// A hot key's text: the key's name, or "None set".
std::string HotKeyText(int key);
// The hot key a key command dialog result sets: Escape (index 0) cannot be one.
int HotKeyFromDialog(int key);
// The editor's game text.
std::string GameText(const std::string& gamePath);

// The name dialog after each change of its text: while the text holds a character no file name
// may hold, its last character goes. True when the text changed, so the dialog writes it back
// and puts the caret at the end.
bool FilterProfileName(std::string& text);

// Why the name dialog refuses the entered name at OK, or "" when it takes it: a name that no
// file can have, or one Windows would change.
std::string NameRefusal(const std::string& entered);
