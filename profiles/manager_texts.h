#pragma once
// Messages, labels and traces of the profile manager, its chooser and its details view, kept in
// one place so they stay exactly as users know them.
namespace manager_texts {
inline constexpr char kCaption[] = "Hxprofiler";
inline constexpr char kNewProfile[] = "New profile.";
inline constexpr char kNewProfileAfterDelete[] = "New profile";
inline constexpr char kLaunch[] = "Launch";
inline constexpr char kEngage[] = "Engage";
inline constexpr char kDisengage[] = "Disengage";
inline constexpr char kWebAddress[] = "http://www.korvath.example/";

inline constexpr char kSelectToEdit[] = "Please select a profile to edit.";
inline constexpr char kSelectToDelete[] = "Please select a profile to delete.";
inline constexpr char kSelectToRename[] = "Please select a profile to rename.";
inline constexpr char kSelectToLaunch[] = "Please select a profile before attempting to launch.";
inline constexpr char kSelectToEngage[] = "Please select a profile before attempting to engage.";
inline constexpr char kSelectToCopy[] = "Please select a profile to save under another name.";
inline constexpr char kSelectToView[] = "Please select a profile to view.";
// %s: the profile's name as the list shows it.
inline constexpr char kReplaceQuestion[] = "A profile named \"%s\" already exists.  Do you want to replace it?";
inline constexpr char kProfileGone[] =
    "The profile \"%s\" is no longer in the profile folder.  The list now shows the folder as it is.";
inline constexpr char kDeleteQuestion[] =
    "You are about to delete a profile.  Profiles cannot be recovered after they are deleted.  Are you sure?";
inline constexpr char kDeleteFailed[] = "Error deleting profile.";
inline constexpr char kRenameFailed[] = "Error renaming profile.";
inline constexpr char kSaveFailed[] = "Error saving profile.";
inline constexpr char kUnreadable[] = "This profile could not be read.";
inline constexpr char kNoMatchQuestion[] = "No profile for this game could be found.  Do you wish to make one?";
inline constexpr char kGameNotStarted[] =
    "Could not start the game.  Make sure that the game setting in your profile is the same as where the game is "
    "installed.";

inline constexpr char kAlignSensors[] =
    "Position the two Hxmouse sensors two feet apart and align them so they are lined up on all axes.  Once they "
    "are aligned, click on OK.";
inline constexpr char kCalibrationError[] = "Calibration error.  Please contact technical support.";
inline constexpr char kCalibrationMisaligned[] =
    "Calibration error.  The sensors need to be better aligned for proper calibration.  Hxmouse will use the "
    "default calibration values.";
inline constexpr char kCalibrationDone[] = "Calibration successful.";
inline constexpr char kCalibrationNotNeeded[] =
    "opentrack needs no calibration.  \"Set center point\" takes where you look now as the center.";
inline constexpr char kLookAtCenter[] = "With Hxmouse on your head look at the center of the screen and press OK.";
inline constexpr char kCenterDone[] = "Hxmouse center point has been successfully set.";
inline constexpr char kCenterFailed[] = "Error setting your zero position.  Please contact technical support.";

// Chooser.
inline constexpr char kChooserPrompt[] =
    "Multiple profiles available.  Please choose one or click New to make a new profile.";
inline constexpr int kChooserNew = 420;  // the code "New" ends the chooser with

// Details view.
inline constexpr char kNoneSet[] = "None set";
inline constexpr char kNone[] = "None";
inline constexpr char kSelectMotion[] = "Select a motion to view its command.";

// Registry.
inline constexpr char kParameters[] = "Parameters";
inline constexpr char kMaxProfiles[] = "Max Profiles";
inline constexpr int kMaxProfilesDefault = 200;
inline constexpr char kProfilesSection[] = "Profiles";

// Traces.
inline constexpr char kTraceOpeningEditor[] = "Opening Editor...";
inline constexpr char kTraceDropBegins[] = "Beginning dropfile process.\n";
inline constexpr char kTraceFileQueried[] = "File queried, resolving...\n";
inline constexpr char kTraceResolved[] = "Resolved.  Checking results against profile list...\n";
inline constexpr char kTraceChecked[] = "Results checked, processing results.\n";
inline constexpr char kTraceCancelled[] = "Cancelled\n";
inline constexpr char kTraceCreating[] = "Could not find profile for dropped file, creating new...\n";
inline constexpr char kTraceSpawningName[] = "Spawning name query...\n";
inline constexpr char kTraceProcessingName[] = "Processing name query.\n";
inline constexpr char kTraceValidating[] = "Validating length of string...\n";
inline constexpr char kTraceLengthBad[] = "Length bad!\n";
inline constexpr char kTraceLengthGood[] = "Length good!\n";
inline constexpr char kTraceNameObtained[] =
    "Profile name information obtained, setting option screen parameters.\n";
inline constexpr char kTraceCallingOptions[] = "Calling options screen...\n";
inline constexpr char kTraceMatchLoop[] = "Beginning profile to path cross reference loop...\n";
inline constexpr char kTraceFoundMatch[] = "Found matching profile from drop.  Processing...\n";
inline constexpr char kTraceAddedToLists[] = "Added to both lists successfully.  Incrementing counter...\n";
inline constexpr char kTraceCounterIncremented[] = "Counter incremented.  Updating match status...\n";
inline constexpr char kTracePreparing[] =
    "Preparing return results of LoadMatchingProfile( CString strGameEXE )...\n";
inline constexpr char kTraceOneMatch[] = "Total profiles found for the dropped EXE:  1.  Setting return...\n";
inline constexpr char kTraceNoMatch[] = "Profile not found.  Querying the user about new profile creation...\n";
inline constexpr char kTraceSeveral[] = "Found multiple profiles.  Preparing list for user query...\n";
inline constexpr char kTraceQuerying[] = "Querying the user...\n";
inline constexpr char kTraceQueried[] = "User query successful.  Processing results...\n";
inline constexpr char kTraceReturning[] = "Return results prepared.  Returning now...\n";
inline constexpr char kTraceCalibrateLink[] = "Creating driver object from Interface::OnCalibrate( ).\n";
inline constexpr char kTraceSetZeroLink[] = "Creating driver object from Interface::OnSetZero( ).\n";
}  // namespace manager_texts
