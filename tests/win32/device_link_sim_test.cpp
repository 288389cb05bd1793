// The device link through the simulator's pipe, as the programs use it under HXSIM_PIPE,
// and the real-driver port where no tracker is installed.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "device/hx_mouse.h"
#include "hxsim/win/sim_client.h"

namespace {

using QLink = HxMouseLink<LinkVariant::Qmouse>;
using PLink = HxMouseLink<LinkVariant::Hxprofiler>;
using CLink = HxMouseLink<LinkVariant::Hxcpl>;
using Clock = std::chrono::steady_clock;

void UsePipe(const std::string& name) { _putenv(("HXSIM_PIPE=" + name).c_str()); }

// The simulator's log without client numbers, e.g. "open,IOCTL_GET_VERSION,...".
std::string Events(const std::string& reply) {
  std::string events = reply.rfind("ok", 0) == 0 ? reply.substr(2) : reply;
  std::string out;
  size_t pos = 0;
  while ((pos = events.find_first_not_of(' ', pos)) != std::string::npos) {
    size_t end = events.find(' ', pos);
    std::string part = events.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    size_t colon = part.find(':');
    if (!out.empty()) out += ' ';
    out += colon == std::string::npos ? part : part.substr(colon + 1);
    pos = end;
  }
  return out;
}

class SimLink : public testing::Test {
 protected:
  void StartSim(int rateHz = 100) {
    SimProcess::Options options;
    options.rateHz = rateHz;
    ASSERT_TRUE(sim_.Start(options));
    UsePipe(sim_.PipeName());
  }
  void SetUp() override { StartSim(0); }
  void TearDown() override {
    if (sim_.Running()) {
      EXPECT_TRUE(sim_.Quit());
    }
  }
  // Waits, bounded, for the simulator to have seen `count` links close.
  std::string LogUntilClosed(int count) {
    std::string all;
    for (int i = 0; i < 100; ++i) {
      std::string events = Events(sim_.Control("log"));
      // One link's requests may come over several log calls on a loaded machine: they go on
      // the same list.
      if (!events.empty()) all += (all.empty() ? "" : ",") + events;
      int closed = 0;
      for (size_t p = all.find("close"); p != std::string::npos; p = all.find("close", p + 1)) ++closed;
      if (closed >= count) break;
      Sleep(20);
    }
    return all;
  }
  SimProcess sim_;
};

TEST_F(SimLink, ConstructionReadAndDestructionSequence) {
  sim_.Control("log");
  {
    QLink link;
    ASSERT_TRUE(link.IsOpen());
    EXPECT_TRUE(link.IsCollecting());
    HxPosition p = {};
    EXPECT_TRUE(link.GetPosition(p));
    EXPECT_EQ(p.RX, 2000);
  }
  EXPECT_EQ(LogUntilClosed(1),
            "open,IOCTL_GET_VERSION,IOCTL_START_COLLECTION,IOCTL_GET_POSITION,IOCTL_STOP_COLLECTION,close");
}

TEST_F(SimLink, FailedVersionStillStopsAndCloses) {
  EXPECT_EQ(sim_.Control("fail IOCTL_GET_VERSION"), "ok");
  sim_.Control("log");
  {
    QLink link;
    EXPECT_TRUE(link.IsOpen());
    EXPECT_FALSE(link.IsCollecting());
  }
  EXPECT_EQ(LogUntilClosed(1), "open,IOCTL_GET_VERSION,IOCTL_STOP_COLLECTION,close");
}

TEST_F(SimLink, AnswersMapPerProgramOverThePipe) {
  EXPECT_EQ(sim_.Control("answer calibrate 2"), "ok");
  EXPECT_EQ(sim_.Control("answer status 0x00000304"), "ok");
  EXPECT_EQ(sim_.Control("pose 1.5 -2 3 250.25 -99.9"), "ok");
  QLink q;
  PLink p;
  CLink c;
  EXPECT_EQ(q.Calibrate(), -1);
  EXPECT_EQ(p.Calibrate(), 0);
  EXPECT_EQ(c.Calibrate(), 2);
  EXPECT_EQ(c.GetHardwareStatus(), -1);
  p.EnableJoystick();
  EXPECT_EQ(p.IsJoystickEnabled(), 1);
  p.DisableJoystick();
  EXPECT_EQ(p.IsJoystickEnabled(), 0);
  HxPositionDouble d = {};
  ASSERT_TRUE(q.GetFloatPosition(d));
  EXPECT_DOUBLE_EQ(d.RX, 250.25);
  EXPECT_DOUBLE_EQ(d.RY, -99.9);
  HxPosition i = {};
  ASSERT_TRUE(q.GetPosition(i));
  EXPECT_EQ(i.X, 2001);
  EXPECT_EQ(i.RY, 1901);
}

TEST_F(SimLink, SeveralLinksInOneProcessOneClosingWhileOthersRead) {
  sim_.Quit();
  StartSim(100);
  std::atomic<bool> firstClosed{false};
  std::atomic<int> failures{0}, readsAfterClose{0};
  std::vector<std::thread> readers;
  for (int r = 0; r < 3; ++r) {
    readers.emplace_back([&, r] {
      QLink link;
      if (!link.IsOpen()) { ++failures; return; }
      HxPosition p;
      int reads = r == 0 ? 10 : 60;  // the first link goes early
      for (int i = 0; i < reads; ++i) {
        if (!link.GetPosition(p)) ++failures;
        if (r != 0 && firstClosed) ++readsAfterClose;
      }
      if (r == 0) firstClosed = true;  // set before destruction; the others keep going
    });
  }
  for (auto& t : readers) t.join();
  EXPECT_EQ(failures, 0);
  EXPECT_GT(readsAfterClose, 20);
}

TEST_F(SimLink, ManyLinksOpeningAtOnceAllOpen) {
  // qmouse, the profile editor and the control panel may all reach for the tracker at once.
  constexpr int kLinks = 8;
  std::atomic<int> ready{0}, opened{0};
  std::vector<std::thread> openers;
  for (int i = 0; i < kLinks; ++i) {
    openers.emplace_back([&] {
      ++ready;
      while (ready < kLinks) std::this_thread::yield();
      QLink link;
      if (link.IsOpen()) ++opened;
    });
  }
  for (auto& t : openers) t.join();
  EXPECT_EQ(opened, kLinks);
}

// Run as a second process by the test below: reads while the parent's link closes.
TEST(ChildProcess, ReadsPositions) {
  const char* reads = std::getenv("HX_CHILD_READS");
  if (!reads) GTEST_SKIP() << "runs only as the child of AcrossTwoProcesses";
  QLink link;
  ASSERT_TRUE(link.IsOpen());
  HxPosition p;
  for (int i = 0; i < std::atoi(reads); ++i) ASSERT_TRUE(link.GetPosition(p)) << "read " << i;
}

TEST_F(SimLink, AcrossTwoProcesses) {
  sim_.Quit();
  StartSim(100);
  QLink* parent = new QLink;
  ASSERT_TRUE(parent->IsOpen());

  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string cmd = std::string("\"") + exe + "\" --gtest_filter=ChildProcess.ReadsPositions";
  _putenv("HX_CHILD_READS=80");
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  BOOL started = CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
  _putenv("HX_CHILD_READS=");
  ASSERT_TRUE(started);
  KernelHandle process(pi.hProcess), thread(pi.hThread);

  HxPosition p;
  for (int i = 0; i < 20; ++i) EXPECT_TRUE(parent->GetPosition(p));
  delete parent;  // closes while the child is still reading

  ASSERT_EQ(WaitForSingleObject(process.Get(), 20000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(process.Get(), &code);
  EXPECT_EQ(code, 0u);
}

TEST_F(SimLink, UnplugFailsReadsAndANewLinkReadsAfterPlug) {
  QLink before;
  HxPosition p;
  ASSERT_TRUE(before.GetPosition(p));
  EXPECT_EQ(sim_.Control("unplug"), "ok");
  EXPECT_FALSE(before.GetPosition(p));
  {
    QLink during;
    EXPECT_FALSE(during.IsOpen());
  }
  EXPECT_EQ(sim_.Control("plug"), "ok");
  EXPECT_FALSE(before.GetPosition(p));
  QLink after;
  EXPECT_TRUE(after.IsOpen());
  EXPECT_TRUE(after.GetPosition(p));
}

TEST_F(SimLink, KilledSimulatorFailsABlockedReadPromptly) {
  sim_.Quit();
  StartSim(1);  // one answer a second: the reader is blocked in the pipe most of the time
  std::atomic<bool> done{false};
  std::atomic<int> okReads{0};
  Clock::time_point failedAt;
  std::thread reader([&] {
    QLink link;
    HxPosition p;
    while (link.GetPosition(p)) ++okReads;
    failedAt = Clock::now();
    done = true;
  });
  Sleep(1500);
  auto killedAt = Clock::now();
  sim_.Kill();
  for (int i = 0; i < 100 && !done; ++i) Sleep(20);
  ASSERT_TRUE(done) << "reader still blocked 2 s after the simulator died";
  reader.join();
  EXPECT_GE(okReads, 1);
  EXPECT_LT(failedAt - killedAt, std::chrono::milliseconds(1000));
}

TEST(NoTracker, NoSimulatorAndNoDriverFailAtOnce) {
  for (const char* pipe : {"hxsim-nobody-listens", ""}) {  // "" selects the real driver
    SCOPED_TRACE(pipe);
    UsePipe(pipe);
    auto start = Clock::now();
    {
      QLink link;
      EXPECT_FALSE(link.IsOpen());
      HxPosition p = {};
      EXPECT_FALSE(link.GetPosition(p));
      EXPECT_EQ(link.Calibrate(), -1);
    }
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(3000));
  }
}

}  // namespace
