// hxprofiler's start-up with OLE or Windows Sockets failing: the message comes from the
// program's own string resources (linked in here), the program ends, and OLE is not left
// started.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "device/trace.h"
#include "hxprofiler/main_window.h"
#include "hxprofiler/output.h"
#include "hxprofiler/startup.h"
#include "resources/hxprofiler/resource.h"
#include "winui/app.h"

namespace {

TEST(HxprofilerStartup, AFailedServiceIsExplainedAndEndsTheProgram) {
  const struct {
    bool ole, sockets;
    const char* shown;
    const char* calls;
  } cases[] = {
      {false, true, "Windows OLE initialization failed.", "ole "},
      {true, false, "Windows sockets initialization failed.", "ole sockets ole-stop "},
      {true, true, "", "ole sockets "},
  };
  for (const auto& c : cases) {
    std::string calls, shown;
    StartupCalls start;
    start.startOle = [&] {
      calls += "ole ";
      return c.ole;
    };
    start.startSockets = [&] {
      calls += "sockets ";
      return c.sockets;
    };
    start.stopOle = [&] { calls += "ole-stop "; };
    start.show = [&](const std::string& text) { shown += text; };
    EXPECT_EQ(StartServices(start), c.ole && c.sockets) << c.calls;
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(calls, c.calls);
  }
}

}  // namespace

// hxprofiler's window itself, in this process: the icons it shows and the lines its tracker
// buttons trace. Without a tracker the buttons end in their error messages, answered here.
namespace window_tests {

std::vector<std::string> gAnswered;
HWND gMain = nullptr;
void CALLBACK AnswerMessages(HWND, UINT, UINT_PTR, DWORD) {
  struct Finder {
    static BOOL CALLBACK Each(HWND w, LPARAM main) {
      char cls[16] = {};
      GetClassNameA(w, cls, sizeof cls);
      if (w == reinterpret_cast<HWND>(main) || lstrcmpA(cls, "#32770") || !IsWindowVisible(w)) return TRUE;
      char text[256] = {};
      GetDlgItemTextA(w, 0xFFFF, text, sizeof text);
      gAnswered.push_back(text);
      PostMessageA(w, WM_COMMAND, IDOK, 0);
      return TRUE;
    }
  };
  EnumThreadWindows(GetCurrentThreadId(), Finder::Each, reinterpret_cast<LPARAM>(gMain));
}

int IconWidth(HICON icon) {
  ICONINFO info = {};
  if (!icon || !GetIconInfo(icon, &info)) return 0;
  BITMAP bitmap = {};
  GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

class HxprofilerWindow : public testing::Test {
 protected:
  void SetUp() override {
    _putenv("HXSIM_PIPE=");  // no tracker: the real driver's interface is not there
    app_.SetRegistryKey("KorvathTest", "Hxprofiler window");
    ASSERT_TRUE(window_.Create(nullptr));
    gMain = window_.hwnd();
  }
  void TearDown() override {
    window_.Destroy();
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\KorvathTest");
  }
  // Presses a button and answers every message box that follows with OK.
  void Press(int id) {
    gAnswered.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, AnswerMessages);
    SendDlgItemMessageA(window_.hwnd(), id, BM_CLICK, 0, 0);
    KillTimer(nullptr, timer);
  }

  winui::Application app_;
  Output output_;
  MainWindow window_{output_, app_};
};

TEST_F(HxprofilerWindow, SmallIconIsTheSixteenPixelImage) {
  const HWND w = window_.hwnd();
  EXPECT_EQ(IconWidth(reinterpret_cast<HICON>(SendMessageA(w, WM_GETICON, ICON_SMALL, 0))), 16);
  EXPECT_EQ(IconWidth(reinterpret_cast<HICON>(SendMessageA(w, WM_GETICON, ICON_BIG, 0))), 32);
}

TEST_F(HxprofilerWindow, TrackerButtonsTraceTheirLinkComingAndGoing) {
  const struct {
    int button;
    const char* handler;
    const char* firstQuestion;
  } cases[] = {{IDC_MANAGER_CALIBRATE, "OnCalibrate", "Position the two Hxmouse sensors"},
               {IDC_MANAGER_SET_CENTER, "OnSetZero", "With Hxmouse on your head"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.handler);
    TraceCapture traces;
    Press(c.button);
    ASSERT_FALSE(gAnswered.empty());
    EXPECT_EQ(gAnswered[0].rfind(c.firstQuestion, 0), 0u) << gAnswered[0];
    const std::string prefix = std::string("<Interface/") + c.handler + "()>:  ";
    const std::vector<std::string> expected = {prefix + "Creating CHxMouse object.\n",
                                               prefix + "CHxMouse object should terminate.\n"};
    std::vector<std::string> seen;
    for (const std::string& line : traces.Lines())
      if (line.rfind(prefix, 0) == 0) seen.push_back(line);
    EXPECT_EQ(seen, expected);
  }
}

}  // namespace window_tests
