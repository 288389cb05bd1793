#pragma once
// The program's own texts: messages, captions, trace lines and registry names, kept in one
// place so they stay exactly as users and tools know them.
namespace texts {
constexpr const char kAppTitle[] = "Quellan Mouse";
constexpr const char kCompanyKey[] = "Korvath";
constexpr const char kProgramFolder[] = "C:\\Program Files\\Quellan Mouse";
constexpr const char kMutexName[] = "QM";
constexpr const char kAlreadyRunning[] = "Quellan Mouse is already running";
constexpr const char kOleFailed[] = "Could not initialize OLE.  Terminating.";
constexpr const char kCloseQuestion[] =
    "Shutting Quellan Mouse down will disable mouse control.  Do you really want to do this?";
constexpr const char kExitQuestion[] = "Are you sure you wish to shut Quellan Mouse down?";
constexpr const char kHideWithNoClick[] =
    "You have chosen to hide the floating panel with 'No Click' selected.  Doing so will automatically switch "
    "the click command to 'Left Click'.  Do you wish to continue?";
constexpr const char kNoClickWhileHidden[] =
    "You have selected 'No Click' while the floating panel is hiding.  If you choose to continue, the floating "
    "panel must be made visible.  Do you wish to continue?";
constexpr const char kPauseFromPanel[] =
    "Pausing Quellan Mouse will disable Quellan Mouse control of the cursor.  Do you really want to do this?";
constexpr const char kPauseFromTray[] =
    "Pausing Quellan Mouse will temporarily disable Quellan Mouse control of the cursor.  Are you sure?";
constexpr const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char kRunValue[] = "Quellan Mouse";

constexpr const char kTracePanelButton[] = "Panel button pressed.\n";
constexpr const char kTraceOnClose[] = "OnClose( ) called.\n";
constexpr const char kTraceOnDestroy[] = "OnDestroy( ) called.\n";
constexpr const char kTraceVerifyQuit[] = "VerifyQuit( ) called.";
constexpr const char kTraceEmitterLink[] = "Creating driver object from NullWindow::Emitter( ).\n";

// Settings pages.
constexpr const char kTraceCalibrationLink[] = "Creating driver object from General::OnCalibration( ).\n";
constexpr const char kTraceCenterLink[] = "Creating driver object from General::OnCenter( ).\n";
constexpr const char kAlignSensors[] =
    "Carefully position the two Quellan Mouse sensors so that they are directly lined up with each other on all "
    "axes and press OK.";
constexpr const char kCalibrationDone[] = "Calibration successful";
constexpr const char kCalibrationMisaligned[] =
    "Calibration was not successful because the sensors weren't properly aligned.  Would you like to calibrate "
    "again?";
constexpr const char kCalibrationNoResponse[] =
    "Calibration was not successful:  no response from hardware.  Please call technical support at "
    "1-800-555-0199.";
constexpr const char kLookAtCenter[] =
    "With Quellan Mouse on your head, look at the center of the screen and press OK.";
constexpr const char kCalibrationNotNeeded[] =
    "opentrack needs no calibration.  Set Center takes where you look now as the middle of the screen.";
constexpr const char kTrackerPortBusy[] =
    "UDP port %d is in use by another program, so Quellan Mouse cannot read opentrack's head poses.  It "
    "uses the tracker's driver instead; choose another port on the Options page, in opentrack too.";
constexpr const char kTrackerDriver[] = "The tracker (its driver)";
constexpr const char kTrackerOpentrack[] = "opentrack (UDP port %d)";
constexpr const char kCenterDone[] = "Centerpoint successfully set.";
constexpr const char kCenterFailed[] = "Error setting center point.  Please contact technical support.";
constexpr const char* const kMousePairNames[] = {"Acceleration", "Smoothing", "Speed"};
constexpr const char* const kSoundEventNames[] = {
    "Left click",         "Right click",        "Double left click", "Double right click",
    "Drag w/left button", "Drop w/left button", "Drag w/right button", "Drop w/right button",
    "Scroll",             "Show menu",          "Hover"};
constexpr const char* const kSoundNames[] = {
    "No Sound", "Bonk",     "Cosmic",     "Cowbell",      "Crystal",   "Dinger",   "DoubleBeep", "DoubleChimes",
    "DragChimes", "DropChimes", "Kissdrum", "LeftChimes", "Machine", "Pop", "SimpleClick", "Sonar"};
// The "Options" page's look away: its directions in the order of the stored value, and the
// times offered, one a second.
constexpr const char* kLookAwayDirections[] = {"down", "up", "left", "right"};
constexpr const char* kLookAwayTimes[] = {"1 second", "2 seconds", "3 seconds", "4 seconds", "5 seconds"};

}  // namespace texts
