// The Win32 side of dwell clicking: button events into the input queue, the progress
// indicators driven from another thread, and the click sounds in the program's resources.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "qmouse/win/progress_bar.h"
#include "qmouse/win/sounds.h"
#include "commands/win/win32_input.h"
#include "tests/win32/win_test_support.h"

namespace {

// Pumps this thread's messages until `done` holds or `ms` pass.
// Runs `work` on a second thread while this one pumps, as the cursor thread works on the
// UI thread's windows.
void OnWorkerThread(const std::function<void()>& work) {
  std::atomic<bool> finished{false};
  std::thread worker([&] {
    work();
    finished = true;
  });
  EXPECT_TRUE(PumpUntil([&] { return finished.load(); }, 10000));
  worker.join();
}

// A top-level window of this process that records the button messages it receives.
class Probe {
 public:
  struct Event {
    UINT message;
    int x, y;
    bool operator==(const Event& o) const { return message == o.message && x == o.x && y == o.y; }
  };

  explicit Probe(const RECT& r) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "QmouseDwellProbe";
    RegisterClassA(&wc);
    window_ = CreateWindowExA(0, wc.lpszClassName, "probe", WS_POPUP | WS_VISIBLE, r.left, r.top,
                              r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~Probe() { DestroyWindow(window_); }
  HWND Get() const { return window_; }
  std::vector<Event> events;

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<Probe*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    if (self && msg >= WM_LBUTTONDOWN && msg <= WM_MBUTTONDBLCLK)
      self->events.push_back({msg, static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
    return DefWindowProcA(w, msg, wp, lp);
  }
  HWND window_;
};

TEST(Win32InputSink, ButtonsLandWhereTheCursorIs) {
  GetSystemMetrics(SM_CXSCREEN);  // a first window-system call; see the Wine notes
  Probe probe({100, 100, 300, 250});
  ASSERT_NE(probe.Get(), nullptr);
  PumpUntil([] { return false; }, 100);
  ASSERT_TRUE(SetCursorPos(137, 141));

  Win32InputSink sink;
  const MouseButton buttons[] = {MouseButton::Left, MouseButton::Right, MouseButton::Middle};
  for (MouseButton b : buttons) {
    sink.Button(b, true);
    sink.Button(b, false);
  }
  const std::vector<Probe::Event> expected = {
      {WM_LBUTTONDOWN, 37, 41}, {WM_LBUTTONUP, 37, 41}, {WM_RBUTTONDOWN, 37, 41},
      {WM_RBUTTONUP, 37, 41},   {WM_MBUTTONDOWN, 37, 41}, {WM_MBUTTONUP, 37, 41},
  };
  PumpUntil([&] { return probe.events.size() >= expected.size(); }, 3000);
  PumpUntil([] { return false; }, 100);  // anything extra would arrive now
  EXPECT_EQ(probe.events, expected);  // any movement in the events would shift them
}

TEST(Win32SoundPlayer, EveryIdNamesAWaveResourceAndPlaysAsynchronously) {
  const char* const names[] = {
      "BONK",       "COSMIC",       "COWBELL",    "CRYSTAL",    "DINGER",
      "DOUBLEBEEP", "DOUBLECHIMES", "DRAGCHIMES", "DROPCHIMES", "KISSDRUM",
      "LEFTCHIMES", "MACHINE",      "POP",        "SIMPLECLICK", "SONAR"};
  HMODULE module = GetModuleHandleA(nullptr);
  for (int id = 1; id <= 15; ++id) {
    const char* name = SoundResourceName(id);
    ASSERT_NE(name, nullptr) << id;
    EXPECT_STREQ(name, names[id - 1]) << id;
    HRSRC found = FindResourceA(module, names[id - 1], "WAVE");
    ASSERT_NE(found, nullptr) << names[id - 1];
    // A playable file: 16-bit mono PCM, not a stand-in.
    const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
    ASSERT_GT(SizeofResource(module, found), 44u);
    EXPECT_EQ(std::memcmp(data, "RIFF", 4), 0) << names[id - 1];
    EXPECT_EQ(std::memcmp(data + 8, "WAVEfmt ", 8), 0) << names[id - 1];
    EXPECT_EQ(data[20] | data[21] << 8, 1) << names[id - 1];  // PCM
    EXPECT_EQ(data[22] | data[23] << 8, 1) << names[id - 1];  // mono
    EXPECT_EQ(data[34] | data[35] << 8, 16) << names[id - 1];
  }
  for (int id : {-1, 0, 16}) EXPECT_EQ(SoundResourceName(id), nullptr) << id;

  // Wine has no audio device here, so this shows only that no call waits for its sound.
  Win32SoundPlayer player;
  const DWORD start = GetTickCount();
  for (int id : {0, 16, -1}) player.Play(id);
  for (int id = 1; id <= 15; ++id) player.Play(id);
  EXPECT_LT(GetTickCount() - start, 1000u);
}

// Created on this thread as on the UI thread; shown, painted and hidden from a worker as
// from the cursor thread.
TEST(Win32Indicators, ShowFillAndHideFromAnotherThread) {
  GetSystemMetrics(SM_CXSCREEN);
  Win32Indicators indicators;
  ASSERT_TRUE(indicators.Create(nullptr));
  Probe user({600, 600, 800, 700});
  SetForegroundWindow(user.Get());
  PumpUntil([] { return false; }, 100);
  ASSERT_EQ(GetForegroundWindow(), user.Get());

  const COLORREF colour = RGB(200, 30, 60);
  // A 58-pixel bar with dwell time 50 fills 2.5 pixels a reading, rounded.
  const struct {
    int elapsed, remaining;
  } rows[] = {{0, 58}, {1, 55}, {10, 33}, {22, 3}, {23, 0}, {40, 0}};

  for (Indicator which : {Indicator::Horizontal, Indicator::Vertical}) {
    const bool horizontal = which == Indicator::Horizontal;
    ProgressBar& bar = indicators.Bar(which);
    ASSERT_NE(bar.hwnd(), nullptr);
    EXPECT_FALSE(IsWindowVisible(bar.hwnd()));  // created hidden
    // Bounds whose client is 58 pixels along the bar, whatever the frame.
    RECT r, client;
    GetWindowRect(bar.hwnd(), &r);
    GetClientRect(bar.hwnd(), &client);
    const int frameX = r.right - r.left - client.right, frameY = r.bottom - r.top - client.bottom;
    const Rect bounds = {200, 300, 200 + (horizontal ? 58 : 12) + frameX,
                         300 + (horizontal ? 12 : 58) + frameY};

    OnWorkerThread([&] { indicators.Show(which, bounds, static_cast<int32_t>(colour)); });
    PumpUntil([] { return false; }, 100);  // let the UI thread erase the new window first
    GetWindowRect(bar.hwnd(), &r);
    EXPECT_EQ((Rect{r.left, r.top, r.right, r.bottom}), bounds);
    EXPECT_TRUE(IsWindowVisible(bar.hwnd()));
    EXPECT_TRUE(GetWindowLongA(bar.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetForegroundWindow(), user.Get());
    GetClientRect(bar.hwnd(), &client);
    ASSERT_EQ(horizontal ? client.right : client.bottom, 58);

    for (const auto& row : rows) {
      int remaining = -1;
      OnWorkerThread([&] { remaining = indicators.Progress(which, row.elapsed, 50); });
      EXPECT_EQ(remaining, row.remaining) << horizontal << " elapsed " << row.elapsed;
      if (row.elapsed != 22) continue;

      // 55 of 58 pixels from the start (left, or bottom): the last three stay unfilled.
      HDC dc = GetDC(bar.hwnd());
      const int middle = horizontal ? client.bottom / 2 : client.right / 2;
      auto pixel = [&](int along) {
        return horizontal ? GetPixel(dc, along, middle) : GetPixel(dc, middle, 57 - along);
      };
      EXPECT_EQ(pixel(0), colour) << horizontal;
      EXPECT_EQ(pixel(54), colour) << horizontal;
      EXPECT_NE(pixel(55), colour) << horizontal;
      EXPECT_NE(pixel(57), colour) << horizontal;
      ReleaseDC(bar.hwnd(), dc);
    }
    EXPECT_EQ(bar.Filled(), 58);

    // Shown again, the bar starts empty.
    OnWorkerThread([&] {
      indicators.Hide(which);
      indicators.Show(which, bounds, static_cast<int32_t>(colour));
    });
    EXPECT_EQ(bar.Filled(), 0) << horizontal;
    OnWorkerThread([&] { indicators.Hide(which); });
    EXPECT_FALSE(IsWindowVisible(bar.hwnd()));
  }
  indicators.Destroy();
}

}  // namespace
