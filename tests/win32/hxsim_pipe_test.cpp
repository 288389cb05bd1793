// The simulator as a process: its tracker pipe in the wire format, its control pipe, its
// pacing and its device-change broadcasts.
#include <gtest/gtest.h>
#include <windows.h>
#include <dbt.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "device/hx_mouse.h"
#include "device/hx_position.h"
#include "device/ioctl.h"
#include "hxsim/win/sim_client.h"
#include "tests/win32/hxsim_test_link.h"

namespace {

SimProcess::Options Unpaced() {
  SimProcess::Options options;
  options.rateHz = 0;
  return options;
}

// Position answers one link gets in `ms` milliseconds of back-to-back requests.
int CountAnswers(const std::string& pipe, DWORD ms) {
  RawLink link;
  if (!link.Connect(pipe)) return -1;
  int answers = 0;
  const ULONGLONG end = GetTickCount64() + ms;
  while (GetTickCount64() < end) {
    if (!link.Ask(hx::IOCTL_GET_POSITION, 10).ok) return -1;
    ++answers;
  }
  return answers;
}

TEST(HxsimPipeTest, AnswersEveryRequestWithItsSizeAndLayout) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start(Unpaced()));
  RawLink link;
  ASSERT_TRUE(link.Connect(sim.PipeName()));
  for (const hx::RequestInfo& r : hx::kRequests) {
    RawLink::Reply reply = link.Ask(r.code, r.outputSize);
    EXPECT_TRUE(reply.delivered && reply.ok) << r.name;
    EXPECT_EQ(reply.bytes.size(), r.outputSize) << r.name;
    // A buffer one byte short fails, as the driver's would.
    if (r.outputSize) {
      EXPECT_FALSE(link.Ask(r.code, r.outputSize - 1).ok) << r.name;
    }
  }
  // After the table: its IOCTL_SET_ZERO re-centres the head.
  ASSERT_EQ(sim.Control("pose 12.5 -3.25 40 -7.9 250"), "ok");
  RawLink::Reply fractional = link.Ask(hx::IOCTL_GET_FLOAD_POSITION, 40);
  ASSERT_EQ(fractional.bytes.size(), sizeof(HxPositionDouble));
  HxPositionDouble d;
  std::memcpy(&d, fractional.bytes.data(), sizeof d);
  EXPECT_EQ(d.X, 12.5);
  EXPECT_EQ(d.Y, -3.25);
  EXPECT_EQ(d.Z, 40);
  EXPECT_EQ(d.RX, -7.9);
  EXPECT_EQ(d.RY, 250);
  RawLink::Reply integer = link.Ask(hx::IOCTL_GET_POSITION, 10);
  ASSERT_EQ(integer.bytes.size(), sizeof(HxPosition));
  const uint8_t expected[10] = {0xDC, 0x07, 0xCD, 0x07, 0xF8, 0x07, 0xC9, 0x07, 0xCA, 0x08};  // 2012 1997 2040 1993 2250
  EXPECT_EQ(std::memcmp(integer.bytes.data(), expected, 10), 0);
  HxPosition p;
  std::memcpy(&p, integer.bytes.data(), sizeof p);
  EXPECT_EQ(p.X, 2012);
  EXPECT_EQ(p.Y, 1997);
  EXPECT_EQ(p.Z, 2040);
  EXPECT_EQ(p.RX, 1993);
  EXPECT_EQ(p.RY, 2250);

  struct Answer {
    const char* command;
    uint32_t code;
    uint32_t value;
  } answers[] = {
      {"answer calibrate 2", hx::IOCTL_CALIBRATE, 2},
      {"answer status 0x304", hx::IOCTL_GET_HARDWARE_STATUS, 0x304},
      {"answer calibrated 0", hx::IOCTL_GET_CALIBRATED, 0},
      {"answer joystick 7", hx::IOCTL_GET_JOYSTICK_STATE, 7},
  };
  for (const Answer& a : answers) {
    ASSERT_EQ(sim.Control(a.command), "ok") << a.command;
    RawLink::Reply reply = link.Ask(a.code, hx::FindRequest(a.code)->outputSize);
    uint32_t value = 0xDEAD;
    ASSERT_TRUE(reply.ok) << a.command;
    std::memcpy(&value, reply.bytes.data(), reply.bytes.size());
    EXPECT_EQ(value & (reply.bytes.size() == 2 ? 0xFFFF : 0xFFFFFFFF), a.value) << a.command;
  }
  // Version: major 1 in the high word.
  RawLink::Reply version = link.Ask(hx::IOCTL_GET_VERSION, 4);
  uint32_t v = 0;
  std::memcpy(&v, version.bytes.data(), 4);
  EXPECT_EQ(v >> 16, 1u);

  // Unknown codes, failing requests and malformed messages fail without ending the link.
  EXPECT_FALSE(link.Ask(0x00229999, 4).ok);
  ASSERT_EQ(sim.Control("fail IOCTL_GET_POSITION"), "ok");
  EXPECT_FALSE(link.Ask(hx::IOCTL_GET_POSITION, 10).ok);
  ASSERT_EQ(sim.Control("pass IOCTL_GET_POSITION"), "ok");
  const uint8_t shortMessage[3] = {1, 2, 3};
  RawLink::Reply malformed = link.SendRaw(shortMessage, sizeof shortMessage);
  EXPECT_TRUE(malformed.delivered);
  EXPECT_FALSE(malformed.ok);
  const std::vector<uint8_t> longMessage(300, 0x10);
  EXPECT_FALSE(link.SendRaw(longMessage.data(), static_cast<DWORD>(longMessage.size())).ok);
  EXPECT_TRUE(link.Ask(hx::IOCTL_GET_POSITION, 10).ok);
  EXPECT_TRUE(sim.Quit());
}

TEST(HxsimPipeTest, PacesPositionsPerLinkAndRateZeroIsFast) {
  SimProcess paced;
  ASSERT_TRUE(paced.Start(SimProcess::Options{}));
  // Two links at once: each gets the full rate, so pacing is per link, not shared.
  std::atomic<int> other{0};
  std::thread second([&] { other = CountAnswers(paced.PipeName(), 500); });
  int first = CountAnswers(paced.PipeName(), 500);
  second.join();
  // About 50 each; a loaded machine may answer fewer, never more.
  EXPECT_GE(first, 15);
  EXPECT_LE(first, 70);
  EXPECT_GE(other.load(), 15);
  EXPECT_LE(other.load(), 70);
  // Requests other than positions are not paced.
  RawLink link;
  ASSERT_TRUE(link.Connect(paced.PipeName()));
  const ULONGLONG start = GetTickCount64();
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(link.Ask(hx::IOCTL_GET_CALIBRATED, 2).ok);
  EXPECT_LT(GetTickCount64() - start, 950u);  // paced, they would take a second
  EXPECT_TRUE(paced.Quit());

  SimProcess unpaced;
  ASSERT_TRUE(unpaced.Start(Unpaced()));
  EXPECT_GE(CountAnswers(unpaced.PipeName(), 500), 250);  // well above 100 a second
  EXPECT_TRUE(unpaced.Quit());
}

TEST(HxsimPipeTest, ServesConcurrentLinksAndLogsEachOne) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start(Unpaced()));
  constexpr int kLinks = 8;
  std::atomic<int> good{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < kLinks; ++i) {
    threads.emplace_back([&] {
      RawLink link;
      if (!link.Connect(sim.PipeName())) return;
      bool all = true;
      for (int n = 0; n < 50; ++n) {
        all = all && link.Ask(hx::IOCTL_GET_POSITION, 10).bytes.size() == 10;
        all = all && link.Ask(hx::IOCTL_GET_FLOAD_POSITION, 40).bytes.size() == 40;
      }
      if (all) ++good;
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(good.load(), kLinks);
  sim.Control("log");  // drop what the concurrent links left

  RawLink link;
  ASSERT_TRUE(link.Connect(sim.PipeName()));
  ASSERT_TRUE(link.Ask(hx::IOCTL_GET_VERSION, 4).ok);
  ASSERT_TRUE(link.Ask(hx::IOCTL_START_COLLECTION, 0).ok);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(link.Ask(hx::IOCTL_GET_POSITION, 10).ok);
  ASSERT_TRUE(link.Ask(hx::IOCTL_STOP_COLLECTION, 0).ok);
  link.Close();
  // The simulator notices the close on its own thread: wait for it, bounded.
  std::string log;
  for (int i = 0; i < 100 && log.find("close") == std::string::npos; ++i) {
    std::string reply = sim.Control("log");
    ASSERT_EQ(reply.compare(0, 3, "ok "), 0) << reply;
    log += reply.substr(3);
    Sleep(10);
  }
  const std::string client = std::to_string(kLinks + 1);
  EXPECT_EQ(log, client + ":open,IOCTL_GET_VERSION,IOCTL_START_COLLECTION,IOCTL_GET_POSITION*3,"
                          "IOCTL_STOP_COLLECTION,close");
  EXPECT_TRUE(sim.Quit());
}

TEST(HxsimPipeTest, UnplugKillsOpenLinksAndPlugServesNewOnes) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start(Unpaced()));
  RawLink old;
  ASSERT_TRUE(old.Connect(sim.PipeName()));
  ASSERT_TRUE(old.Ask(hx::IOCTL_GET_POSITION, 10).ok);
  ASSERT_EQ(sim.Control("unplug"), "ok");
  EXPECT_FALSE(old.Ask(hx::IOCTL_GET_POSITION, 10).ok);
  RawLink whileUnplugged;
  EXPECT_FALSE(whileUnplugged.Connect(sim.PipeName()));
  EXPECT_FALSE(whileUnplugged.Ask(hx::IOCTL_GET_VERSION, 4).ok);
  ASSERT_EQ(sim.Control("plug"), "ok");
  RawLink fresh;
  ASSERT_TRUE(fresh.Connect(sim.PipeName()));
  EXPECT_TRUE(fresh.Ask(hx::IOCTL_GET_POSITION, 10).ok);
  EXPECT_FALSE(old.Ask(hx::IOCTL_GET_POSITION, 10).ok);  // an old link stays dead
  EXPECT_TRUE(sim.Quit());
}

// A top-level window on its own thread, recording the device changes it is sent.
class DeviceChangeProbe {
 public:
  DeviceChangeProbe() {
    thread_ = std::thread([this] { Run(); });
    while (!ready_) Sleep(5);
  }
  ~DeviceChangeProbe() {
    PostMessageA(window_, WM_CLOSE, 0, 0);
    thread_.join();
  }
  // Events seen so far as "8004:guid" / "8000:guid" ("8004:-" when the header was empty).
  std::vector<std::string> Events() {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
  }
  bool WaitFor(size_t count, DWORD ms) {
    for (DWORD waited = 0; waited < ms; waited += 10) {
      if (Events().size() >= count) return true;
      Sleep(10);
    }
    return false;
  }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<DeviceChangeProbe*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_DEVICECHANGE && self && (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE)) {
      auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
      std::string event = wParam == DBT_DEVICEARRIVAL ? "8000:" : "8004:";
      // The size comes first: a header may arrive empty.
      if (header && header->dbch_size >= sizeof(DEV_BROADCAST_DEVICEINTERFACE_A) &&
          header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
        auto* device = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_A*>(lParam);
        event += std::memcmp(&device->dbcc_classguid, &kTrackerInterfaceGuid, sizeof(GUID)) == 0 ? "tracker"
                                                                                                   : "other";
      } else {
        event += "-";
      }
      std::lock_guard<std::mutex> lock(self->mutex_);
      self->events_.push_back(event);
      return TRUE;
    }
    if (message == WM_CLOSE) {
      DestroyWindow(window);
      PostQuitMessage(0);
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }
  void Run() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "HxsimDeviceChangeProbe";
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, windowClass.lpszClassName, "probe", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                              windowClass.hInstance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ready_ = true;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  }

  std::thread thread_;
  std::atomic<bool> ready_{false};
  HWND window_ = nullptr;
  std::mutex mutex_;
  std::vector<std::string> events_;
};

TEST(HxsimPipeTest, BroadcastsRemovalAndArrivalToTopLevelWindows) {
  DeviceChangeProbe probe;
  SimProcess sim;
  ASSERT_TRUE(sim.Start(Unpaced()));
  ASSERT_EQ(sim.Control("unplug"), "ok");
  ASSERT_EQ(sim.Control("plug"), "ok");
  ASSERT_TRUE(probe.WaitFor(2, 5000));
  std::vector<std::string> events = probe.Events();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].substr(0, 5), "8004:");
  EXPECT_EQ(events[1].substr(0, 5), "8000:");
  // Where the header arrives, it names the tracker's interface.
  for (const std::string& e : events) {
    if (e.substr(5) != "-") {
      EXPECT_EQ(e.substr(5), "tracker");
    }
  }
  std::printf("device change events: %s %s\n", events[0].c_str(), events[1].c_str());
  EXPECT_TRUE(sim.Quit());
}

TEST(HxsimPipeTest, MalformedControlLinesGetErrorsAndServingGoesOn) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start(Unpaced()));
  ASSERT_EQ(sim.Control("pose 1 2 3 4 5"), "ok");
  const char* bad[] = {"", "bogus", "pose 1 2 3 4", "pose 1 2 3 4 x", "answer status -1", "fail IOCTL_NOPE",
                       "unplug now", "quit please"};
  for (const char* line : bad) EXPECT_EQ(sim.Control(line).compare(0, 6, "error "), 0) << line;
  EXPECT_EQ(sim.Control(std::string(10000, 'p')), "error line too long");
  EXPECT_EQ(sim.Control("pose?"), "ok 1 2 3 4 5");
  EXPECT_TRUE(sim.Running());

  // Several lines on one connection, in one write, get one reply line each, in order.
  const std::string path = "\\\\.\\pipe\\" + sim.PipeName() + "-control";
  KernelHandle pipe(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(pipe.Valid());
  const std::string lines = "pose?\nnonsense\r\nanswer joystick 0x1\n";
  DWORD done = 0;
  ASSERT_TRUE(WriteFile(pipe.Get(), lines.data(), static_cast<DWORD>(lines.size()), &done, nullptr));
  std::string replies;
  char chunk[256];
  while (std::count(replies.begin(), replies.end(), '\n') < 3 &&
         ReadFile(pipe.Get(), chunk, sizeof chunk, &done, nullptr))
    replies.append(chunk, done);
  EXPECT_EQ(replies, "ok 1 2 3 4 5\nerror unknown command 'nonsense'\nok\n");
  pipe.Reset();

  RawLink link;
  ASSERT_TRUE(link.Connect(sim.PipeName()));
  RawLink::Reply joystick = link.Ask(hx::IOCTL_GET_JOYSTICK_STATE, 4);
  ASSERT_EQ(joystick.bytes.size(), 4u);
  EXPECT_EQ(joystick.bytes[0], 1);
  EXPECT_TRUE(sim.Quit());
}

}  // namespace
