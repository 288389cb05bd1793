#pragma once
// Messages and captions of the profile editor, the command options dialog and the Power Command
// editor, kept in one place so they stay exactly as users know them (misspellings included).
namespace dialog_texts {
inline constexpr char kCaption[] = "Hxprofiler";
inline constexpr char kErrorCaption[] = "Hxprofiler - ERROR";
inline constexpr char kInternalErrorCaption[] = "Hxprofiler - INTERNAL ERROR";

// Profile editor.
inline constexpr char kNoGame[] = "No game selected.";
inline constexpr char kNoHotKey[] = "None set";
inline constexpr char kEditWithoutMotion[] = "You must first select a motion before attempting to edit.";
inline constexpr char kClearInMouselook[] = "Nothing to clear in mouse look mode.";
inline constexpr char kClearMixedAxis[] = "Noting to clear in mouse look mode.";
inline constexpr char kClearMotionQuestion[] = "This will clear all commands from the motion.  Are you sure?";
inline constexpr char kClearAllQuestion[] =
    "This will clear all motions of any commands currently set.  Are you sure?";

// Name dialog.
inline constexpr int kNameMaxLength = 256;
inline constexpr char kNameTooLong[] = "Please enter no more than 256 characters.";
// %s: the device, "CON".
inline constexpr char kNameIsDevice[] =
    "Windows keeps the name \"%s\" for a device, so no file can have it.  Please choose another name.";
inline constexpr char kNameEndsBadly[] =
    "Windows drops a dot or a space at the end of a file name.  Please choose a name that does not end in one.";
// The system's on-screen keyboard, for naming without a keyboard.
inline constexpr char kKeyboardProgram[] = "osk.exe";
inline constexpr char kKeyboardFailed[] = "The on-screen keyboard could not be started.";

// Power Command editor.
inline constexpr char kNoCommandSet[] = "No command set";
inline constexpr char kChangeWithoutType[] =
    "Please select a command type from the drop down list before attempting to set a command.";
inline constexpr char kAddWithoutCommand[] =
    "Please select a command type from the drop down list and/or set a command bafore attempting to add.";
inline constexpr char kInsertWithoutCommand[] =
    "Please select a command type from the drop down list and/or set a command before attempting to insert.";
inline constexpr char kReplaceWithoutCommand[] =
    "Please select a command type from the drop down list and/or set a command before attempting to replace.";
inline constexpr char kCannotAddMore[] = "You cannot add more than 50 commands to the Power Command list.";
inline constexpr char kCannotHaveMore[] = "You cannot have more than 50 commands in the Power Command list.";
inline constexpr char kInsertWithoutLine[] =
    "Please select a command in the Power Command list before attempting to insert.";
inline constexpr char kReplaceWithoutLine[] =
    "Please select a command in the Power Command list before attempting to replace.";
inline constexpr char kRemoveWithoutLine[] =
    "Please select a command in the Power Command list before attempting to remove.";
inline constexpr char kLineMismatch[] = "Strings do not match";
inline constexpr char kNullEntrySet[] = "Strings lengths do not match, command set for null entry in list";
inline constexpr char kOutOfSyncAfterOperation[] = "The last command has caused the lists to go out of sync.";
inline constexpr char kOutOfSyncOnClose[] = "Power Command lists out of sync.";
}  // namespace dialog_texts

// A message box to show: text and caption, both null when there is nothing to show.
struct Notice {
  const char* text = nullptr;
  const char* caption = nullptr;
  explicit operator bool() const { return text != nullptr; }
};
