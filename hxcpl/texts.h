#pragma once
// hxcpl's fixed texts: messages the user sees and the lines traced to the debugger.
namespace hxcpl::text {

// Messages.
constexpr char kNoHardware[] = "No hardware detected.  Please plug the device in and try again.";
constexpr char kCalibratePrompt[] =
    "Position the two Hxmouse sensors two feet apart and align them so they are lined up on all axes.";
constexpr char kCalibrationError[] = "Calibration error.  Please contact technical support.";
constexpr char kCalibrationSuccess[] = "Calibration successful.";
constexpr char kCalibrationRetry[] =
    "Calibration error.  The sensors need to be better aligned for proper calibration.  Try again?";
constexpr char kZeroPrompt[] = "With Hxmouse on your head look at the center of the screen and press OK.";
constexpr char kZeroSuccess[] = "Hxmouse center point has been successfully set.";
constexpr char kZeroError[] = "Error setting your zero position.  Please contact technical support.";

// Registry.
constexpr char kShortName[] = "HXCPL";
constexpr char kThreadingModel[] = "Apartment";
constexpr char kHandler[] = "GCHAND.DLL";
constexpr char kApprovedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

// Traces.
constexpr char kInitInstance[] = "CShellxApp::InitInstance( ).\n";
constexpr char kExitInstance[] = "CShellxApp::ExitInstance( ).\n";
constexpr char kDllGetClassObject[] = "DllGetClassObject( ).\n";
constexpr char kDllCanUnloadNow[] = "DllCanUnloadNow( ).\n";
constexpr char kDllRegisterServer[] = "DllRegisterServer( ).\n";
constexpr char kDllUnregisterServer[] = "DllUnregisterServer( ).\n";
constexpr char kRegisterServer[] = "RegisterServer( ).\n";
constexpr char kUnregisterServer[] = "UnregisterServer( ).\n";
constexpr char kConstructed[] = "CShellExtension::CShellExtension( ).\n";
constexpr char kEnableAutomation[] = "EnableAutomation( ).\n";
constexpr char kLockApp[] = "AfxOleLockApp( ).\n";
constexpr char kDestructed[] = "CShellExtension::~CShellExtension( ).\n";
constexpr char kGetSheetInfo[] =
    "CShellExtension::XDIGameCntrlPropSheet::GetSheetInfo(LPDIGCSHEETINFO* psheetinfo).\n";
constexpr char kGetPageInfo[] = "CShellExtension::XDIGameCntrlPropSheet::GetPageInto(LPDIGCPAGINFO* ppageinfo).\n";
constexpr char kSetId[] = "CShellExtension::XDIGameCntrlPropSheet::SetID(USHORT nID).\n";
constexpr char kGetId[] = "CShellExtension::XDIGameCntrlPropSheet::GetID( ).\n";
constexpr char kDummyDlgProc[] = "DummyDlgProc( ) running.\n";
constexpr char kExternalConstructed[] = "CExternalDialog::CExternalDialog( ).\n";
constexpr char kExternalDestructed[] = "CExternalDialog::~CExternalDialog( ).\n";
constexpr char kPage1Init[] = "Property page initializing.\n";
constexpr char kPage1Checked[] = "Device queried & calibration has been checked.\n";
constexpr char kStartingThread[] = "Starting emitter thread.\n";
constexpr char kPage1Destroy[] = "CPage1::OnDestroy( ).\n";
constexpr char kReadFailure[] = "GetPositionDouble( ) failure.\n";
constexpr char kKillswitchInside[] = "Killswitch detected from within routine...shutting thread down.\n";
constexpr char kKillswitch[] = "Killswitch detected...shutting thread down.\n";
constexpr char kPage2Init[] = "Property page 2 initializing...\n";

}  // namespace hxcpl::text
