#pragma once
// hxprofiler's own texts: messages, trace lines and registry names, used exactly.
namespace texts {

inline constexpr char kAppTitle[] = "Hxprofiler";
inline constexpr char kCompanyKey[] = "Hxprofiler";
// Its own name, so qmouse can run beside it.
inline constexpr char kMutexName[] = "Hxprofiler.SingleInstance";
inline constexpr char kProgramFolder[] = "C:\\Program Files\\Quellan Mouse";

inline constexpr char kParameters[] = "Parameters";
inline constexpr char kMaxListSize[] = "Max List Size";
inline constexpr int kMaxListSizeDefault = 200;

inline constexpr char kEnableJoystick[] = "Enable Joystick";
inline constexpr char kDisableJoystick[] = "Disable Joystick";
inline constexpr char kJoystickNotAvailable[] = "Joystick not available";
inline constexpr char kRegistrationFailed[] = "Registration for window notification failed!";

inline constexpr char kTraceInitCreating[] = "<Interface/OnInitDialog()>:  Creating CHxMouse object.\n";
inline constexpr char kTraceInitTerminating[] = "<Interface/OnInitDialog()>:  CHxMouse object should terminate.\n";
inline constexpr char kTraceJoystickCreating[] = "<Interface/OnJoystick()>:  Creating CHxMouse object.\n";
inline constexpr char kTraceJoystickTerminating[] = "<Interface/OnJoystick()>:  CHxMouse object should terminate.\n";
inline constexpr char kTraceCalibrateCreating[] = "<Interface/OnCalibrate()>:  Creating CHxMouse object.\n";
inline constexpr char kTraceCalibrateTerminating[] = "<Interface/OnCalibrate()>:  CHxMouse object should terminate.\n";
inline constexpr char kTraceSetZeroCreating[] = "<Interface/OnSetZero()>:  Creating CHxMouse object.\n";
inline constexpr char kTraceSetZeroTerminating[] = "<Interface/OnSetZero()>:  CHxMouse object should terminate.\n";
inline constexpr char kTraceEmitterCreating[] = "<Interface/OutputEmitter()>:  Creating CHxMouse object.\n";
inline constexpr char kTraceReadFailed[] =
    "<Interface/Emitter()>:  Hx.GetPosition() returned FALSE!  Ending thread with code -1.\n";
inline constexpr char kTraceLoopEnded[] =
    "<Interface/Emitter()>:  Main while() loop terminated!  Ending thread with code 0.\n";
inline constexpr char kTraceEmitterTerminating[] = "<Interface/Emitter()>:  CHxMouse object should terminate.\n";
inline constexpr char kTraceUnplugged[] =
    "<Interface>:  Warning!  Hardware unplugged during runtime.  Killing worker thread.\n";
inline constexpr char kTracePluggedIn[] = "<Interface>:  Hardware plugged in.  Restarting worker thread.\n";

}  // namespace texts
