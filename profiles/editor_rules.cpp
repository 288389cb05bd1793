#include "profiles/editor_rules.h"

#include "commands/key_table.h"

namespace dt = dialog_texts;

namespace {

const char* const kMotionLabels[] = {"Move left", "Move right", "Move up",   "Move down", "Move forward",
                                     "Move back", "Look left",  "Look right", "Look up",  "Look down"};
const char* const kAxisLabels[] = {"X Rotation", "Y Rotation"};

MotionItem AxisItem(int axis) { return {kAxisLabels[axis], kImageXRotation + axis, -1, axis}; }

// The look motions borrow the left, right, up and down pictures.
MotionItem MoveItem(int motion, int map, const Profile& profile) {
  const Command* c = profile.Map(map);
  const int direction = motion < 6 ? motion : motion - 6;
  const int image = (c && c->IsSet() ? kImageSetLeft : kImageUnsetLeft) + direction;
  return {kMotionLabels[motion], image, map, -1};
}

}  // namespace

std::vector<MotionItem> MotionList(int mode, const Profile& profile) {
  std::vector<MotionItem> items;
  if (mode == kCommandMode) {
    for (int motion = 0; motion < 10; ++motion) items.push_back(MoveItem(motion, motion, profile));
  } else if (mode == kMixedMode) {
    for (int motion = 0; motion < 6; ++motion) items.push_back(MoveItem(motion, motion + 10, profile));
  }
  if (mode == kMouselook || mode == kMixedMode) {
    items.push_back(AxisItem(kAxisXRotation));
    items.push_back(AxisItem(kAxisYRotation));
  }
  return items;
}

ClearPlan PlanClearMotion(int mode, int item) {
  ClearPlan plan;
  if (mode == kMouselook) {
    plan.refusal = {dt::kClearInMouselook, dt::kCaption};
  } else if (mode == kMixedMode && (item == 6 || item == 7)) {
    plan.refusal = {dt::kClearMixedAxis, dt::kCaption};
  } else if (mode == kCommandMode && item >= 0 && item < 10) {
    plan.map = item;
  } else if (mode == kMixedMode && item >= 0 && item < 6) {
    plan.map = item + 10;
  }
  return plan;
}

void ClearAll(Profile& working) {
  const std::string path = working.GamePath(), directory = working.StartDirectory(),
                    arguments = working.GameArguments();
  working.Reset();  // keeps the mode
  working.SetGamePath(path);
  working.SetStartDirectory(directory);
  working.SetGameArguments(arguments);
}

// A key index no key has (a damaged file) would otherwise show as whichever key shares its
// low byte.
std::string HotKeyText(int key) { return key >= 0 && key < kKeyCount ? KeyIndexToName(key) : dt::kNoHotKey; }

int HotKeyFromDialog(int key) { return key > 0 ? key : kNoKey; }

std::string GameText(const std::string& gamePath) { return gamePath.empty() ? dt::kNoGame : gamePath; }

bool FilterProfileName(std::string& text) {
  // The edit box sends a change for every write-back, so the last character keeps going until
  // nothing forbidden is left; doing it here spares the dialog the round trips.
  bool changed = false;
  while (text.find_first_of("/:\\*?<>|\"") != std::string::npos) {
    text.pop_back();
    changed = true;
  }
  return changed;
}

// The entered name, not the file name: ".cpf" appended to "doom." would hide its dot.
std::string NameRefusal(const std::string& entered) {
  if (FileNameFault(entered) == NameFault::kTrailingDotOrSpace) return dialog_texts::kNameEndsBadly;
  const std::string device = DeviceNameOf(entered);
  if (device.empty()) return "";
  std::string text = dialog_texts::kNameIsDevice;
  return text.replace(text.find("%s"), 2, device);
}
