// hxcpl under Wine, built in both bitnesses. This program plays the game-controller control
// panel: it registers the DLL, creates the class through COM, asks for the sheet and page
// records and builds the property sheet from them, while hxsim moves the head.
#include "tests/e2e/pose_sender.h"  // (first: the sockets API before <windows.h>)

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device/hx_mouse.h"
#include "hxcpl/game_controller_sheet.h"
#include "hxsim/win/sim_client.h"
#include "tests/e2e/screenshot.h"
#include "tests/win32/win_test_support.h"

namespace {

// Written out again, so a changed id or text fails here.
constexpr CLSID kClass = {0x58347D7F, 0x6CB8, 0x4E5E, {0xB6, 0xB2, 0xA4, 0x51, 0xFD, 0x81, 0x7C, 0x98}};
constexpr char kClassKey[] = "CLSID\\{58347d7f-6cb8-4e5e-b6b2-a451fd817c98}";
constexpr char kPrompt[] =
    "Position the two Hxmouse sensors two feet apart and align them so they are lined up on all axes.";
constexpr char kNoHardware[] = "No hardware detected.  Please plug the device in and try again.";
constexpr char kKilled[] = "Killswitch detected...shutting thread down.\n";
constexpr char kKilledInside[] = "Killswitch detected from within routine...shutting thread down.\n";
constexpr int kBarIds[5] = {1030, 1034, 1035, 1036, 1037};
using Bars = std::array<int, 5>;

std::string DllPath() { return std::getenv("HXCPL_DLL") ? WindowsPath(std::getenv("HXCPL_DLL")) : ""; }
std::string DllName() { return DllPath().substr(DllPath().find_last_of("\\/") + 1); }

HRESULT CallExport(const char* name) {
  HMODULE dll = LoadLibraryA(DllPath().c_str());
  auto call = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
      reinterpret_cast<void*>(dll ? GetProcAddress(dll, name) : nullptr));
  const HRESULT result = call ? call() : E_FAIL;
  if (dll) FreeLibrary(dll);
  return result;
}

// The debugger channel of this process: OutputDebugStringA raises an exception for a
// debugger to see, which we look at and pass on.
std::mutex gTraceMutex;
std::vector<std::string> gTraces;
LONG CALLBACK SeeTrace(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* r = info->ExceptionRecord;
  if (r->ExceptionCode == DBG_PRINTEXCEPTION_C && r->NumberParameters >= 2 && r->ExceptionInformation[1]) {
    std::lock_guard<std::mutex> lock(gTraceMutex);
    gTraces.emplace_back(reinterpret_cast<const char*>(r->ExceptionInformation[1]));
  }
  return EXCEPTION_CONTINUE_SEARCH;
}
void ClearTraces() {
  std::lock_guard<std::mutex> lock(gTraceMutex);
  gTraces.clear();
}
int Traced(const std::string& line) {
  std::lock_guard<std::mutex> lock(gTraceMutex);
  int n = 0;
  for (const std::string& seen : gTraces) n += seen == line;
  return n;
}

// Pumps this thread's messages until `done` holds or the time is up.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

struct BoxStep {
  std::string text;
  int button;
  std::function<void()> before = nullptr;  // run before the button is pressed
};

BOOL CALLBACK FindBox(HWND w, LPARAM found) {
  char name[16] = {};
  GetClassNameA(w, name, sizeof name);
  if (std::string(name) != "#32770" || !IsWindowVisible(w) || !GetDlgItem(w, 0xFFFF)) return TRUE;
  *reinterpret_cast<HWND*>(found) = w;  // a message box: its text is control 0xFFFF
  return FALSE;
}

// Runs `action` while another thread answers this thread's message boxes in script order;
// boxes past the script get OK (or No), so a wrong flow ends. Returns the texts of all boxes.
std::vector<std::string> WithBoxes(std::vector<BoxStep> script, const std::function<void()>& action) {
  const DWORD ui = GetCurrentThreadId();
  std::atomic<bool> done{false};
  std::vector<std::string> seen;
  std::thread answerer([&] {
    for (size_t next = 0; !done;) {
      HWND box = nullptr;
      EnumThreadWindows(ui, FindBox, reinterpret_cast<LPARAM>(&box));
      if (!box) {
        Sleep(5);
        continue;
      }
      char text[512] = {};
      GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
      seen.emplace_back(text);
      int button = GetDlgItem(box, IDOK) ? IDOK : IDNO;
      if (next < script.size()) {
        if (script[next].before) script[next].before();
        button = script[next++].button;
      }
      PostMessageA(box, WM_COMMAND, button, 0);
      for (int i = 0; i < 1000 && IsWindowVisible(box); ++i) Sleep(5);
    }
  });
  action();
  done = true;
  answerer.join();
  return seen;
}

// --- registration ---

constexpr REGSAM kOwnView = sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
constexpr REGSAM kOtherView = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;

int RunRegsvr32(const std::string& options) {
  std::string command = "regsvr32.exe " + options + " \"" + DllPath() + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return -1;
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(info.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
  return static_cast<int>(code);
}

// A string value with its stored size (terminating zero included), or "-" when missing.
std::string ReadValue(HKEY root, const std::string& path, const char* name, REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) return "-";
  char data[1024] = {};
  DWORD type = 0, size = sizeof data - 1;
  const LONG r = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  if (r != ERROR_SUCCESS) return "-";
  return std::string(data) + (type == REG_SZ ? "" : " (not REG_SZ)") + " #" + std::to_string(size);
}

TEST(HxcplRegistration, RegistersAndRemovesTwiceInItsOwnViewAndOnlyThere) {
  std::string path = DllPath();
  ASSERT_FALSE(path.empty()) << "HXCPL_DLL names the DLL under test";
  CharLowerA(&path[0]);
  const std::string cls = kClassKey;
  struct Entry {
    HKEY root;
    std::string key;
    const char* name;
    std::string data;
  };
  const Entry entries[] = {
      {HKEY_CLASSES_ROOT, cls, nullptr, "HXCPL"},
      {HKEY_CLASSES_ROOT, cls + "\\InprocServer32", nullptr, path},
      {HKEY_CLASSES_ROOT, cls + "\\InprocServer32", "ThreadingModel", "Apartment"},
      {HKEY_CLASSES_ROOT, cls + "\\InProcHandler32", nullptr, "GCHAND.DLL"},
      {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved",
       "{58347d7f-6cb8-4e5e-b6b2-a451fd817c98}", "HXCPL"},
  };
  // regsvr32 as installers run it, then the two exports that take four ignored arguments.
  auto run = [](const std::string& how) {
    if (how[0] == '/') return RunRegsvr32(how);
    HMODULE dll = LoadLibraryA(DllPath().c_str());
    auto call = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(HWND, HINSTANCE, LPSTR, int)>(
        reinterpret_cast<void*>(GetProcAddress(dll, how.c_str())));
    const int code = call ? static_cast<int>(call(nullptr, nullptr, nullptr, SW_SHOW)) : -1;
    FreeLibrary(dll);
    return code;
  };
  const std::pair<const char*, bool> steps[] = {
      {"/s /u", false},  // nothing registered: still succeeds
      {"/s", true},  {"/s", true}, {"/s /u", false}, {"/s /u", false}, {"RegisterServer", true},
      {"UnregisterServer", false},
  };
  ClearTraces();
  void* traceWatch = AddVectoredExceptionHandler(1, SeeTrace);
  for (size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE(std::to_string(i) + ": " + steps[i].first);
    ASSERT_EQ(run(steps[i].first), 0);
    for (const Entry& e : entries) {
      const std::string stored = steps[i].second ? e.data + " #" + std::to_string(e.data.size() + 1) : "-";
      EXPECT_EQ(ReadValue(e.root, e.key, e.name, kOwnView), stored) << e.key << " " << (e.name ? e.name : "");
    }
    EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, cls + "\\InprocServer32", nullptr, kOtherView).find(path),
              std::string::npos) << "the other bitness's view";
  }
  RemoveVectoredExceptionHandler(traceWatch);
  for (const char* line : {"RegisterServer( ).\n", "DllRegisterServer( ).\n", "UnregisterServer( ).\n",
                           "DllUnregisterServer( ).\n"})
    EXPECT_EQ(Traced(line), 1) << line << " (regsvr32 runs in a process of its own)";
}

// --- the control panel's side ---

Bars ReadBars(HWND page) {
  Bars bars;
  for (int i = 0; i < 5; ++i) bars[i] = static_cast<int>(SendDlgItemMessageA(page, kBarIds[i], PBM_GETPOS, 0, 0));
  return bars;
}

class HxcplHost : public testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    StartSim(100);
    ASSERT_EQ(CallExport("DllRegisterServer"), S_OK);
    ClearTraces();
    traceWatch_ = AddVectoredExceptionHandler(1, SeeTrace);
  }
  void TearDown() override {
    if (sheetWindow_) DestroyWindow(sheetWindow_);
    if (sheet_) sheet_->Release();
    RemoveVectoredExceptionHandler(traceWatch_);
    EXPECT_EQ(CallExport("DllUnregisterServer"), S_OK);
    CoUninitialize();
  }
  // Paced like the driver, so the page's reader waits in the pipe between readings.
  void StartSim(int rateHz) {
    sim_.Quit();
    SimProcess::Options options;
    options.rateHz = rateHz;
    ASSERT_TRUE(sim_.Start(options));
    _putenv(("HXSIM_PIPE=" + sim_.PipeName()).c_str());
  }
  void Control(const std::string& line) { ASSERT_EQ(sim_.Control(line).substr(0, 2), "ok") << line; }
  void Create() {
    ASSERT_EQ(CoCreateInstance(kClass, nullptr, CLSCTX_INPROC_SERVER, IID_IDIGameCntrlPropSheet,
                               reinterpret_cast<void**>(&sheet_)),
              S_OK);
  }
  // As the control panel does: a page per record, the caption and icon from the sheet record.
  void OpenSheet() {
    LPDIGCSHEETINFO info = nullptr;
    LPDIGCPAGEINFO records = nullptr;
    ASSERT_EQ(sheet_->GetSheetInfo(&info), S_OK);
    ASSERT_EQ(sheet_->GetPageInfo(&records), S_OK);
    std::vector<PROPSHEETPAGEW> pages(info->nNumPages);
    for (size_t i = 0; i < pages.size(); ++i) {
      pages[i].dwSize = sizeof pages[i];
      pages[i].hInstance = records[i].hInstance;
      pages[i].pszTemplate = records[i].lpwszTemplate;
      pages[i].pfnDlgProc = records[i].fpPageProc;
      pages[i].lParam = records[i].lParam;
    }
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | (info->fSheetIconFlag ? PSH_USEICONID : 0);
    header.hInstance = records[0].hInstance;
    header.pszCaption = info->lpwszSheetCaption;
    header.pszIcon = info->lpwszSheetIcon;
    header.nPages = info->nNumPages;
    header.ppsp = pages.data();
    sheetWindow_ = reinterpret_cast<HWND>(PropertySheetW(&header));
    ASSERT_NE(sheetWindow_, nullptr);
    char caption[64] = {};
    GetWindowTextA(sheetWindow_, caption, sizeof caption);
    EXPECT_STREQ(caption, "Hxmouse Joystick Support");
  }
  HWND Page(int i) { return reinterpret_cast<HWND>(SendMessageA(sheetWindow_, PSM_INDEXTOHWND, i, 0)); }
  void CloseSheet() {
    DestroyWindow(sheetWindow_);
    sheetWindow_ = nullptr;
  }
  static bool Unloaded() {
    CoFreeUnusedLibrariesEx(0, 0);
    return GetModuleHandleA(DllName().c_str()) == nullptr;
  }

  SimProcess sim_;
  IDIGameCntrlPropSheet* sheet_ = nullptr;
  HWND sheetWindow_ = nullptr;
  void* traceWatch_ = nullptr;
};

// The records' contents are used by every sheet the tests open; here the rest of the contract.
TEST_F(HxcplHost, AnswersTheControlPanelsCalls) {
  Create();
  LPDIGCSHEETINFO info = nullptr;
  LPDIGCPAGEINFO pages = nullptr, again = nullptr;
  ASSERT_EQ(sheet_->GetSheetInfo(&info), S_OK);
  ASSERT_EQ(sheet_->GetPageInfo(&pages), S_OK);
  ASSERT_EQ(sheet_->GetPageInfo(&again), S_OK);
  EXPECT_EQ(pages, again) << "the same array on every call";
  EXPECT_EQ(info->dwSize, sizeof(DIGCSHEETINFO));
  EXPECT_EQ(pages[0].dwSize, sizeof(DIGCPAGEINFO));
  EXPECT_EQ(pages[1].dwSize, sizeof(DIGCPAGEINFO));
  EXPECT_TRUE(info->fSheetIconFlag);
  EXPECT_EQ(info->lpwszSheetIcon, MAKEINTRESOURCEW(301));
  EXPECT_EQ(sheet_->GetID(), 0) << "before any SetID";
  for (USHORT id : {7, 0xFFFF, 0}) {
    EXPECT_EQ(sheet_->SetID(id), S_OK);
    EXPECT_EQ(sheet_->GetID(), id);
  }
  EXPECT_EQ(Traced("CShellExtension::XDIGameCntrlPropSheet::SetID(USHORT nID).\n"), 3);
  EXPECT_EQ(Traced("CShellExtension::XDIGameCntrlPropSheet::GetID( ).\n"), 4);
}

// One sheet object, its sheet opened once per recognised status word: the page window is
// created again and starts its own reader, which closing the sheet waits for.
TEST_F(HxcplHost, BarsFollowTheHeadAndTheDllUnloadsOnceAllIsClosed) {
  StartSim(5);  // slow readings: a reader nobody waited for would still be in the pipe
  ASSERT_TRUE(Unloaded());
  Create();
  const std::pair<const char*, Bars> poses[] = {
      {"123.9 -250.5 500.7 -499.99 100.0", {123, -250, 500, -499, -100}},  // RY shown negated
      {"-20.5 20.5 -20.0 0.9 -0.9", {-20, 20, 0, 0, 0}},  // Z below its range stays at the lower end
      {"900 -900 1500 600 -600", {500, -500, 1000, 500, 500}},
  };
  const char* const statuses[] = {"0x00010304", "0x00000304"};
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(statuses[round]);
    Control(std::string("answer status ") + statuses[round]);
    EXPECT_TRUE(WithBoxes({}, [&] { OpenSheet(); }).empty()) << "a recognised status word is a present tracker";
    for (const auto& [pose, bars] : poses) {
      Control(std::string("pose ") + pose);
      EXPECT_TRUE(WaitUntil([&, &bars = bars] { return ReadBars(Page(0)) == bars; })) << pose;
      if (const std::string shots = ShotsFolder(); !shots.empty() && round == 0 && bars[0] == 123)
        SaveWindowPicture(sheetWindow_, shots + "hxcpl-outputs.bmp");
    }
    if (const std::string shots = ShotsFolder(); !shots.empty() && round == 0) {
      SendMessageA(sheetWindow_, PSM_SETCURSEL, 1, 0);
      WaitUntil([&] { return IsWindowVisible(Page(1)); });
      SaveWindowPicture(sheetWindow_, shots + "hxcpl-options.bmp");
    }
    EXPECT_EQ(CallExport("DllCanUnloadNow"), S_FALSE);
    CloseSheet();
    EXPECT_EQ(Traced(kKilled) + Traced(kKilledInside), round + 1) << "closing returns once the reader ended";
  }
  sheet_->Release();
  sheet_ = nullptr;
  EXPECT_EQ(CallExport("DllCanUnloadNow"), S_OK);
  EXPECT_TRUE(Unloaded());
  const std::pair<const char*, int> traces[] = {
      {"CShellxApp::InitInstance( ).\n", 1}, {"DllGetClassObject( ).\n", 1},
      {"CExternalDialog::CExternalDialog( ).\n", 2}, {"CShellExtension::CShellExtension( ).\n", 1},
      {"EnableAutomation( ).\n", 1}, {"AfxOleLockApp( ).\n", 1},
      {"CShellExtension::XDIGameCntrlPropSheet::GetSheetInfo(LPDIGCSHEETINFO* psheetinfo).\n", 2},
      {"CShellExtension::XDIGameCntrlPropSheet::GetPageInto(LPDIGCPAGINFO* ppageinfo).\n", 2},
      {"Property page initializing.\n", 2}, {"Device queried & calibration has been checked.\n", 2},
      {"Starting emitter thread.\n", 2}, {"CPage1::OnDestroy( ).\n", 2},
      {"CShellExtension::~CShellExtension( ).\n", 1}, {"CExternalDialog::~CExternalDialog( ).\n", 2},
      {"CShellxApp::ExitInstance( ).\n", 1}, {"GetPositionDouble( ) failure.\n", 0},
  };
  for (const auto& [line, count] : traces) EXPECT_EQ(Traced(line), count) << line;
  EXPECT_GE(Traced("DummyDlgProc( ) running.\n"), 2);
  EXPECT_GE(Traced("DllCanUnloadNow( ).\n"), 2);
}

// The control panel's test page on opentrack's poses, chosen in qmouse's settings: the bars
// follow the datagrams, and closing lets the DLL go (the pose receiver's threads ended too).
TEST_F(HxcplHost, BarsFollowOpentracksPosesAndTheDllStillUnloads) {
  constexpr int kPort = 47427;
  _putenv("HXSIM_PIPE=");
  ASSERT_TRUE(ChooseOpentrack(kPort, false));
  struct Cleanup {
    ~Cleanup() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Korvath"); }
  } cleanup;
  {
    PoseSender sender(kPort);
    Create();
    OpenSheet();
    // x -5 cm (right), y 2, z 10 (back), yaw 20, pitch -10: X 100, Y 40, Z 200, RX 200, RY -100.
    sender.SetPose({-5, 2, 10, 20, -10, 0});
    EXPECT_TRUE(WaitUntil([&] { return ReadBars(Page(0)) == Bars{100, 40, 200, 200, 100}; }));
    sender.SetPose({0, 0, 0, -30, 5, 0});
    EXPECT_TRUE(WaitUntil([&] { return ReadBars(Page(0)) == Bars{0, 0, 0, -300, -50}; }));
    CloseSheet();
  }
  sheet_->Release();
  sheet_ = nullptr;
  EXPECT_EQ(CallExport("DllCanUnloadNow"), S_OK);
  EXPECT_TRUE(Unloaded());
}

// The tracker keeps the page's reader waiting for ten seconds: the page ends it at once when
// the sheet closes, also after the host released the sheet object first.
TEST_F(HxcplHost, AReaderTheTrackerStallsEndsAtOnceWithThePage) {
  for (const bool releasedFirst : {false, true}) {
    SCOPED_TRACE(releasedFirst ? "sheet object released first" : "sheet object held");
    ClearTraces();
    const int idle = ThreadsOfThisProcess();
    Create();
    OpenSheet();
    ASSERT_TRUE(StallReaders(sim_));
    if (releasedFirst) {
      sheet_->Release();
      sheet_ = nullptr;
    }
    EXPECT_LT(MillisecondsFor([&] { CloseSheet(); }), 1000u);
    EXPECT_EQ(ThreadsOfThisProcess(), idle);
    EXPECT_EQ(Traced(kKilled) + Traced(kKilledInside), 1);
    EXPECT_EQ(Traced("GetPositionDouble( ) failure.\n"), 0) << "a stop is no tracker failure";
    Control("stall 0");
    if (sheet_) sheet_->Release();
    sheet_ = nullptr;
    EXPECT_TRUE(Unloaded());
  }
}

// Whatever the host still holds keeps the DLL loaded: open pages after the sheet object was
// released (they go on working), or the class factory. Once let go, the DLL unloads.
TEST_F(HxcplHost, PagesAndTheFactoryKeepTheDllLoadedUntilLetGo) {
  ASSERT_TRUE(Unloaded());
  {
    SCOPED_TRACE("pages open after the sheet object's release");
    Create();
    OpenSheet();
    sheet_->Release();
    sheet_ = nullptr;
    EXPECT_EQ(CallExport("DllCanUnloadNow"), S_FALSE);
    EXPECT_FALSE(Unloaded());
    Control("pose 10 20 30 40 50");
    EXPECT_TRUE(WaitUntil([&] { return ReadBars(Page(0)) == Bars{10, 20, 30, 40, -50}; }));
    SendMessageA(sheetWindow_, PSM_SETCURSEL, 1, 0);  // the other page's window is made now
    EXPECT_TRUE(IsWindowVisible(Page(1)));
    CloseSheet();
    EXPECT_EQ(Traced("CShellExtension::~CShellExtension( ).\n"), 1);
    EXPECT_EQ(Traced("CExternalDialog::~CExternalDialog( ).\n"), 2) << "the pages went with their windows";
    EXPECT_TRUE(Unloaded());
  }
  {
    SCOPED_TRACE("class factory held");
    IClassFactory* factory = nullptr;
    ASSERT_EQ(CoGetClassObject(kClass, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    EXPECT_EQ(CallExport("DllCanUnloadNow"), S_FALSE);
    EXPECT_FALSE(Unloaded());
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDIGameCntrlPropSheet, reinterpret_cast<void**>(&sheet_)), S_OK);
    sheet_->Release();
    sheet_ = nullptr;
    EXPECT_FALSE(Unloaded());
    factory->Release();
    EXPECT_TRUE(Unloaded());
  }
}

TEST_F(HxcplHost, NoTrackerShowsTheMessageAndTheBarsStayStill) {
  Control("unplug");
  Create();
  EXPECT_EQ(WithBoxes({{kNoHardware, IDOK}}, [&] { OpenSheet(); }), std::vector<std::string>{kNoHardware});
  EXPECT_TRUE(WaitUntil([] { return Traced("GetPositionDouble( ) failure.\n") == 1; }));
  // The tracker comes back and moves: our own link sees it, the page's bars do not.
  Control("plug");
  Control("pose 100 100 100 100 100");
  HxMouseLink<LinkVariant::Hxcpl> probe;
  HxPositionDouble position = {};
  for (int sample = 0; sample < 3; ++sample) ASSERT_TRUE(probe.GetFloatPosition(position));
  EXPECT_EQ(position.X, 100.0);
  WaitUntil([] { return true; });  // takes in any bar update a live reader would have sent
  EXPECT_EQ(ReadBars(Page(0)), (Bars{0, 0, 0, 0, 0}));
  CloseSheet();
  sheet_->Release();
  sheet_ = nullptr;
  EXPECT_EQ(CallExport("DllCanUnloadNow"), S_OK);
}

// Each row presses a button of the "Options" page and answers the boxes that follow; the press
// returns when the flow has ended.
TEST_F(HxcplHost, OptionsPageFlows) {
  Create();
  OpenSheet();
  SendMessageA(sheetWindow_, PSM_SETCURSEL, 1, 0);
  EXPECT_EQ(Traced("Property page 2 initializing...\n"), 1);
  const char* kRetry = "Calibration error.  The sensors need to be better aligned for proper calibration.  Try again?";
  const char* kZero = "With Hxmouse on your head look at the center of the screen and press OK.";
  auto then = [this](const char* line) { return [this, line] { sim_.Control(line); }; };
  struct Row {
    int button;
    const char* setup;
    std::vector<BoxStep> boxes;
    const char* request;  // as the simulator logs it
    int asked;            // how often the flow asked the tracker
  };
  const Row rows[] = {
      {1033, "answer calibrate 1", {{kPrompt, IDOK}, {"Calibration successful.", IDOK}}, "IOCTL_CALIBRATE", 1},
      {1033, "answer calibrate 0", {{kPrompt, IDOK}, {kRetry, IDYES}, {kPrompt, IDOK}, {kRetry, IDNO}},
       "IOCTL_CALIBRATE", 2},
      {1033, "answer calibrate 2",
       {{kPrompt, IDOK}, {kPrompt, IDOK, then("answer calibrate 1")}, {"Calibration successful.", IDOK}},
       "IOCTL_CALIBRATE", 2},
      {1033, "answer calibrate 1", {{kPrompt, IDCANCEL}}, "IOCTL_CALIBRATE", 0},  // Cancel ends at once
      {1033, "fail IOCTL_CALIBRATE",
       {{kPrompt, IDOK}, {"Calibration error.  Please contact technical support.", IDOK}}, "IOCTL_CALIBRATE", 1},
      {1032, "pass IOCTL_SET_ZERO", {{kZero, IDOK}, {"Hxmouse center point has been successfully set.", IDOK}},
       "IOCTL_SET_ZERO", 1},
      {1032, "pass IOCTL_SET_ZERO", {{kZero, IDCANCEL}}, "IOCTL_SET_ZERO", 0},
      {1032, "fail IOCTL_SET_ZERO",
       {{kZero, IDOK}, {"Error setting your zero position.  Please contact technical support.", IDOK}},
       "IOCTL_SET_ZERO", 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(&row - rows) + ": " + row.setup);
    Control(row.setup);
    sim_.Control("log");
    std::vector<std::string> expected;
    for (const BoxStep& step : row.boxes) expected.push_back(step.text);
    EXPECT_EQ(WithBoxes(row.boxes, [&] { SendDlgItemMessageA(Page(1), row.button, BM_CLICK, 0, 0); }), expected);
    // The log reads like "3:IOCTL_CALIBRATE*2": repeats are counted after a star.
    const std::string log = sim_.Control("log");
    int asked = 0;
    for (size_t at = log.find(row.request); at != std::string::npos; at = log.find(row.request, at + 1)) {
      const size_t end = at + std::strlen(row.request);
      asked += log[end] == '*' ? std::atoi(&log[end + 1]) : 1;
    }
    EXPECT_EQ(asked, row.asked) << log;
  }
}

}  // namespace
