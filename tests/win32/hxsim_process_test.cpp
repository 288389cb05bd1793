// The simulator's life as a process: command line, motion, quitting and being killed.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "device/ioctl.h"
#include "hxsim/win/sim_client.h"
#include "tests/win32/hxsim_test_link.h"

namespace {

// Runs hxsim.exe with `arguments` and returns its exit code (or -1 if it did not end).
long RunSimulator(const std::string& arguments) {
  std::string exe = SimProcess::ExePath();
  std::string line = "\"" + exe + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return -2;
  KernelHandle process(info.hProcess), thread(info.hThread);
  if (WaitForSingleObject(process.Get(), 10000) != WAIT_OBJECT_0) {
    TerminateProcess(process.Get(), 1);
    return -1;
  }
  DWORD code = 0;
  GetExitCodeProcess(process.Get(), &code);
  return static_cast<long>(code);
}

// A script file in the temporary folder, removed again.
class ScriptFile {
 public:
  explicit ScriptFile(const std::string& text) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    path_ = std::string(folder) + "hxsim_test_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(++counter_) + ".txt";
    FILE* file = std::fopen(path_.c_str(), "wb");
    if (file) {
      std::fputs(text.c_str(), file);
      std::fclose(file);
    }
  }
  ~ScriptFile() { DeleteFileA(path_.c_str()); }
  const std::string& Path() const { return path_; }

 private:
  static inline int counter_ = 0;
  std::string path_;
};

TEST(HxsimProcessTest, BadCommandLinesExitWithUsageCode) {
  ScriptFile broken("0 0 0 0 0 0\n100 1 2\n");
  const std::string cases[] = {
      "--bogus",
      "--rate",
      "--rate fast",
      "--rate -5",
      "--rate 100x",
      "--pipe",
      "--pipe a\\b",
      "--demo --still",
      "--script",
      "--script Z:\\no\\such\\hxsim_script.txt",
      "--script \"" + broken.Path() + "\"",
      "--window --window",
      "extra",
  };
  for (const std::string& arguments : cases) EXPECT_EQ(RunSimulator(arguments), 2) << arguments;
}

TEST(HxsimProcessTest, QuitEndsWithZeroAndFailsBlockedLinksAtOnce) {
  SimProcess sim;
  SimProcess::Options options;
  options.rateHz = 1;  // a position request waits up to a second
  ASSERT_TRUE(sim.Start(options));
  RawLink link;
  ASSERT_TRUE(link.Connect(sim.PipeName()));
  ASSERT_TRUE(link.Ask(hx::IOCTL_GET_POSITION, 10).ok);  // starts the link's schedule
  std::atomic<ULONGLONG> failedAt{0};
  std::atomic<bool> failed{false};
  std::thread reader([&] {
    failed = !link.Ask(hx::IOCTL_GET_POSITION, 10).delivered;  // blocked until the next sample
    failedAt = GetTickCount64();
  });
  Sleep(100);
  const ULONGLONG quitAt = GetTickCount64();
  EXPECT_TRUE(sim.Quit());
  reader.join();
  EXPECT_TRUE(failed.load());
  EXPECT_LT(failedAt.load() - quitAt, 600u);  // well before the sample was due
  EXPECT_FALSE(sim.Running());
  EXPECT_EQ(sim.Control("pose?"), "error no simulator");
  RawLink after;
  EXPECT_FALSE(after.Open(sim.PipeName()));
}

TEST(HxsimProcessTest, KilledSimulatorFailsBlockedReadQuickly) {
  SimProcess sim;
  SimProcess::Options options;
  options.rateHz = 1;
  ASSERT_TRUE(sim.Start(options));
  RawLink link;
  ASSERT_TRUE(link.Connect(sim.PipeName()));
  ASSERT_TRUE(link.Ask(hx::IOCTL_GET_POSITION, 10).ok);
  std::atomic<ULONGLONG> failedAt{0};
  std::atomic<bool> failed{false};
  std::thread reader([&] {
    failed = !link.Ask(hx::IOCTL_GET_POSITION, 10).delivered;
    failedAt = GetTickCount64();
  });
  Sleep(100);
  const ULONGLONG killedAt = GetTickCount64();
  sim.Kill();
  reader.join();
  EXPECT_TRUE(failed.load());
  EXPECT_LT(failedAt.load() - killedAt, 600u);
  EXPECT_FALSE(sim.Running());
  EXPECT_FALSE(sim.Quit());
}

TEST(HxsimProcessTest, ScriptMovesTheHeadAndUnplugsOnTime) {
  ScriptFile script(
      "# rises, then the tracker is pulled and put back\n"
      "0 0 0 0 0 0\n"
      "300 10 20 30 100 -100\n"
      "400 unplug\n"
      "700 plug\n");
  SimProcess sim;
  SimProcess::Options options;
  options.rateHz = 0;
  options.motion = "--script " + script.Path();
  ASSERT_TRUE(sim.Start(options));
  // Poll both what the head does and whether new links are accepted, for a while.
  bool sawMiddle = false, sawEnd = false, sawUnplugged = false, sawReplugged = false;
  const ULONGLONG end = GetTickCount64() + 3000;
  while (GetTickCount64() < end && !(sawEnd && sawReplugged)) {
    std::string pose = sim.Control("pose?");
    double x, y, z, rx, ry;
    ASSERT_EQ(std::sscanf(pose.c_str(), "ok %lf %lf %lf %lf %lf", &x, &y, &z, &rx, &ry), 5) << pose;
    if (rx > 5 && rx < 95) sawMiddle = true;
    if (x == 10 && y == 20 && z == 30 && rx == 100 && ry == -100) sawEnd = true;
    RawLink link;
    bool accepted = link.Connect(sim.PipeName());
    if (!accepted) sawUnplugged = true;
    if (accepted && sawUnplugged) sawReplugged = true;
    Sleep(20);
  }
  EXPECT_TRUE(sawMiddle);
  EXPECT_TRUE(sawEnd);
  EXPECT_TRUE(sawUnplugged);
  EXPECT_TRUE(sawReplugged);
  // A test's pose takes the head over from the script.
  ASSERT_EQ(sim.Control("pose 1 1 1 1 1"), "ok");
  Sleep(50);
  EXPECT_EQ(sim.Control("pose?"), "ok 1 1 1 1 1");
  EXPECT_TRUE(sim.Quit());
}

TEST(HxsimProcessTest, DemoKeepsTheHeadMoving) {
  SimProcess sim;
  SimProcess::Options options;
  options.motion = "--demo";
  ASSERT_TRUE(sim.Start(options));
  const std::string first = sim.Control("pose?");
  Sleep(300);
  const std::string later = sim.Control("pose?");
  EXPECT_EQ(first.compare(0, 3, "ok "), 0);
  EXPECT_NE(first, later);  // the demo starts by turning the head
  EXPECT_TRUE(sim.Quit());
}

TEST(HxsimProcessTest, WindowSlidersSetThePose) {
  SimProcess sim;
  SimProcess::Options options;
  options.rateHz = 0;
  options.window = true;
  ASSERT_TRUE(sim.Start(options));
  HWND window = nullptr;
  DWORD pid = 0;
  for (int i = 0; i < 200 && !window; ++i) {
    // The simulator's own window: its class, in its process.
    HWND candidate = FindWindowA("HxSimSliders", nullptr);
    DWORD owner = 0;
    if (candidate) GetWindowThreadProcessId(candidate, &owner);
    if (candidate && owner != GetCurrentProcessId()) {
      window = candidate;
      pid = owner;
    }
    if (!window) Sleep(20);
  }
  ASSERT_NE(window, nullptr);
  EXPECT_NE(pid, 0u);
  // The window may be found while it is still making its sliders.
  HWND sliders[5] = {};
  int found = 0;
  for (int attempt = 0; attempt < 100 && found < 5; ++attempt) {
    found = 0;
    for (HWND child = FindWindowExA(window, nullptr, "msctls_trackbar32", nullptr); child && found < 5;
         child = FindWindowExA(window, child, "msctls_trackbar32", nullptr))
      sliders[found++] = child;
    if (found < 5) Sleep(20);
  }
  ASSERT_EQ(found, 5);
  const int values[5] = {-120, 45, 300, -500, 77};
  for (int i = 0; i < 5; ++i) {
    SendMessageA(sliders[i], TBM_SETPOS, TRUE, values[i]);
    // As a drag would notify: the pose follows every slider.
    SendMessageA(window, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, values[i]), reinterpret_cast<LPARAM>(sliders[i]));
  }
  EXPECT_EQ(sim.Control("pose?"), "ok -120 45 300 -500 77");
  // And the sliders follow a pose set through the control channel.
  ASSERT_EQ(sim.Control("pose 10 20 30 40 50"), "ok");
  bool followed = false;
  for (int i = 0; i < 100 && !followed; ++i) {
    followed = SendMessageA(sliders[4], TBM_GETPOS, 0, 0) == 50;
    if (!followed) Sleep(20);
  }
  EXPECT_TRUE(followed);
  EXPECT_TRUE(sim.Quit());
}

}  // namespace
