// The device link against the in-process simulated tracker: result mappings of each
// program's variant, the request sequence of construction and destruction, log lines.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "device/hx_mouse.h"
#include "device/ioctl.h"
#include "device/trace.h"
#include "hxsim/in_memory_port.h"

namespace {

using QLink = HxMouseLink<LinkVariant::Qmouse>;
using PLink = HxMouseLink<LinkVariant::Hxprofiler>;
using CLink = HxMouseLink<LinkVariant::Hxcpl>;

template <typename Link>
std::unique_ptr<Link> OpenLink(SimDevice& device) {
  return std::make_unique<Link>(std::make_unique<InMemoryPort>(device));
}

SimDevice::Answers WithCalibrate(uint32_t answer) {
  SimDevice::Answers a;
  a.calibrate = answer;
  return a;
}

TEST(DeviceLink, CalibrateMapsAnswersPerProgram) {
  struct Case {
    uint32_t answer;
    bool fail;
    int qmouse, hxprofiler, hxcpl;
  } cases[] = {
      {1, false, 1, 1, 1},
      {0, false, 0, 0, 0},
      {2, false, -1, 0, 2},  // no valid answer: qmouse says so, hxprofiler calls it "not aligned"
      {0xFFFF, false, -1, 0, 0xFFFF},
      {1, true, -1, -1, -1},  // request failed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "answer " << c.answer << (c.fail ? " failing" : ""));
    SimDevice device;
    device.SetAnswers(WithCalibrate(c.answer));
    ASSERT_TRUE(device.SetFailing("IOCTL_CALIBRATE", c.fail));
    EXPECT_EQ(OpenLink<QLink>(device)->Calibrate(), c.qmouse);
    EXPECT_EQ(OpenLink<PLink>(device)->Calibrate(), c.hxprofiler);
    EXPECT_EQ(OpenLink<CLink>(device)->Calibrate(), c.hxcpl);
  }
}

TEST(DeviceLink, StatusCalibratedAndJoystickMappings) {
  struct Case {
    uint32_t value;
    bool fail;
    int status;       // GetHardwareStatus
    bool calibrated;  // IsCalibrated
    int joystick;     // IsJoystickEnabled
  } cases[] = {
      {0x00010304, false, 1, true, 1},
      {0x00000304, false, -1, true, 1},  // the other recognised word: still hardware present
      {0, false, 0, false, 0},
      {0x00010305, false, 0, true, 1},
      {0x00010304, true, 0, false, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << "value 0x" << c.value << (c.fail ? " failing" : ""));
    SimDevice device;
    SimDevice::Answers a;
    a.status = a.calibrated = a.joystick = c.value;
    device.SetAnswers(a);
    for (const char* name : {"IOCTL_GET_HARDWARE_STATUS", "IOCTL_GET_CALIBRATED", "IOCTL_GET_JOYSTICK_STATE"})
      ASSERT_TRUE(device.SetFailing(name, c.fail));
    auto link = OpenLink<CLink>(device);
    EXPECT_EQ(link->GetHardwareStatus(), c.status);
    EXPECT_EQ(link->IsCalibrated(), c.calibrated);
    EXPECT_EQ(OpenLink<PLink>(device)->IsJoystickEnabled(), c.joystick);
  }
}

TEST(DeviceLink, JoystickStateFollowsEnableAndDisable) {
  SimDevice device;
  PLink link(std::make_unique<InMemoryPort>(device));
  EXPECT_EQ(link.IsJoystickEnabled(), 0);
  link.EnableJoystick();
  EXPECT_EQ(link.IsJoystickEnabled(), 1);
  link.DisableJoystick();
  EXPECT_EQ(link.IsJoystickEnabled(), 0);
}

TEST(DeviceLink, SuccessOnlyRequests) {
  SimDevice device;
  QLink link(std::make_unique<InMemoryPort>(device));
  device.TakeLog();
  EXPECT_TRUE(link.SetZero());
  EXPECT_TRUE(link.RestoreDefaultCalibration());
  link.SaveSettings();
  EXPECT_EQ(device.TakeLog(), "1:IOCTL_SET_ZERO,IOCTL_RESTORE_DEFAULT_CALIBRATION,IOCTL_SAVE_SETTINGS");
  ASSERT_TRUE(device.SetFailing("IOCTL_SET_ZERO", true));
  ASSERT_TRUE(device.SetFailing("IOCTL_RESTORE_DEFAULT_CALIBRATION", true));
  EXPECT_FALSE(link.SetZero());
  EXPECT_FALSE(link.RestoreDefaultCalibration());
}

TEST(DeviceLink, PositionsCarryThePose) {
  SimDevice device;
  device.SetPose({12.9, -3.5, 0.0, -250.75, 1e9});
  QLink link(std::make_unique<InMemoryPort>(device));
  HxPosition p = {};
  ASSERT_TRUE(link.GetPosition(p));
  EXPECT_EQ(p.X, 2012);
  EXPECT_EQ(p.Y, 1997);  // truncated towards zero
  EXPECT_EQ(p.Z, 2000);
  EXPECT_EQ(p.RX, 1750);
  EXPECT_EQ(p.RY, 65535);  // clamped to the word
  HxPositionDouble d = {};
  ASSERT_TRUE(link.GetFloatPosition(d));
  EXPECT_DOUBLE_EQ(d.X, 12.9);
  EXPECT_DOUBLE_EQ(d.RX, -250.75);
}

// Answers as the simulator does, but cuts the position records short, as a faulty driver
// or a damaged pipe message could.
class ShortPositionPort : public InMemoryPort {
 public:
  using InMemoryPort::InMemoryPort;
  bool Request(uint32_t code, void* output, uint32_t outputSize, uint32_t* bytesReturned) override {
    const bool ok = InMemoryPort::Request(code, output, outputSize, bytesReturned);
    if (SimDevice::IsPositionRequest(code) && *bytesReturned > 0) --*bytesReturned;
    return ok;
  }
};

// A failed request and a short answer are both failed reads.
TEST(DeviceLink, FailedReadLeavesRecordAndLogsPerProgram) {
  struct Case {
    LinkVariant variant;
    int positionLines, floatLines;
  } cases[] = {{LinkVariant::Qmouse, 1, 1}, {LinkVariant::Hxprofiler, 0, 1}, {LinkVariant::Hxcpl, 0, 0}};
  for (const bool shortAnswer : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << static_cast<int>(c.variant) << (shortAnswer ? " short" : " failing"));
      SimDevice device;
      device.SetPose({12, 12, 12, 12, 12});
      if (!shortAnswer) {
        ASSERT_TRUE(device.SetFailing("IOCTL_GET_POSITION", true));
        ASSERT_TRUE(device.SetFailing("IOCTL_GET_FLOAD_POSITION", true));
      }
      auto port = [&]() -> std::unique_ptr<DriverPort> {
        if (shortAnswer) return std::make_unique<ShortPositionPort>(device);
        return std::make_unique<InMemoryPort>(device);
      };
      HxPosition p = {1, 2, 3, 4, 5};
      HxPositionDouble d = {1, 2, 3, 4, 5};
      TraceCapture trace;
      auto read = [&](auto&& link) {
        EXPECT_FALSE(link.GetPosition(p));
        EXPECT_FALSE(link.GetFloatPosition(d));
      };
      if (c.variant == LinkVariant::Qmouse) read(QLink(port()));
      if (c.variant == LinkVariant::Hxprofiler) read(PLink(port()));
      if (c.variant == LinkVariant::Hxcpl) read(CLink(port()));
      EXPECT_EQ(p.X, 1);
      EXPECT_EQ(p.RY, 5);
      EXPECT_EQ(d.X, 1.0);
      EXPECT_EQ(d.RY, 5.0);
      EXPECT_EQ(trace.Count("DeviceIoControl:  IOCTL_GET_POSITION failure!\n"), c.positionLines);
      EXPECT_EQ(trace.Count("DeviceIoControl:  IOCTL_GET_FLOAD_POSITION failure!\n"), c.floatLines);
    }
  }
}

TEST(DeviceLink, ConstructionAndDestructionSequenceAndLines) {
  SimDevice device;
  TraceCapture trace;
  auto start = std::chrono::steady_clock::now();
  {
    QLink link(std::make_unique<InMemoryPort>(device));
    EXPECT_TRUE(link.IsOpen());
    EXPECT_TRUE(link.IsCollecting());
    start = std::chrono::steady_clock::now();
  }
  auto destruction = std::chrono::steady_clock::now() - start;
  EXPECT_GE(destruction, std::chrono::milliseconds(64));  // reader gets time to see the stop
  EXPECT_EQ(device.TakeLog(), "1:open,IOCTL_GET_VERSION,IOCTL_START_COLLECTION,IOCTL_STOP_COLLECTION,close");
  std::vector<std::string> expected = {
      "<CHxMouse/CHxMouse()>:  Driver object created.\n",
      "<CHxMouse/~CHxMouse()>:  Collection stopped\n",
      "<CHxMouse/~CHxMouse()>:  Driver object destroyed.\n",
  };
  EXPECT_EQ(trace.Lines(), expected);

  trace.Clear();
  { PLink link(std::make_unique<InMemoryPort>(device)); }
  expected = {"<CHxMouse>:  Collection started\n", "<CHxMouse>:  Collection stopped\n",
              "<CHxMouse>:  Driver closed\n"};
  EXPECT_EQ(trace.Lines(), expected);

  trace.Clear();
  { CLink link(std::make_unique<InMemoryPort>(device)); }
  EXPECT_TRUE(trace.Lines().empty());
}

TEST(DeviceLink, NoTrackerSendsNothing) {
  SimDevice device;
  device.Unplug();
  TraceCapture trace;
  {
    QLink link(std::make_unique<InMemoryPort>(device));
    EXPECT_FALSE(link.IsOpen());
    HxPosition p = {};
    EXPECT_FALSE(link.GetPosition(p));
    EXPECT_EQ(link.Calibrate(), -1);
    EXPECT_EQ(link.GetHardwareStatus(), 0);
    EXPECT_EQ(link.IsJoystickEnabled(), -1);
    EXPECT_FALSE(link.SetZero());
  }
  EXPECT_EQ(device.TakeLog(), "");
  std::vector<std::string> expected = {"DeviceIoControl:  IOCTL_GET_POSITION failure!\n"};
  EXPECT_EQ(trace.Lines(), expected);
}

TEST(DeviceLink, FailedVersionLeavesLinkOpenButNotCollecting) {
  SimDevice device;
  ASSERT_TRUE(device.SetFailing("IOCTL_GET_VERSION", true));
  TraceCapture trace;
  auto start = std::chrono::steady_clock::now();
  {
    QLink link(std::make_unique<InMemoryPort>(device));
    EXPECT_TRUE(link.IsOpen());
    EXPECT_FALSE(link.IsCollecting());
    start = std::chrono::steady_clock::now();
  }
  // No reader can be waiting, so no 64 ms pause; the stop is still sent.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(64));
  EXPECT_EQ(device.TakeLog(), "1:open,IOCTL_GET_VERSION,IOCTL_STOP_COLLECTION,close");
  EXPECT_FALSE(trace.Contains("<CHxMouse/CHxMouse()>:  Driver object created.\n"));
  EXPECT_TRUE(trace.Contains("<CHxMouse/~CHxMouse()>:  Driver object destroyed.\n"));
}

TEST(DeviceLink, OnlyTheFirstOfTwoTrackersIsOpened) {
  SimDevice device;
  auto port = std::make_unique<InMemoryPort>(device, std::vector<std::string>{"tracker-0", "tracker-1"});
  InMemoryPort* raw = port.get();
  QLink link(std::move(port));
  EXPECT_EQ(raw->OpenedPath(), "tracker-0");
  EXPECT_EQ(link.DevicePath(), "tracker-0");
}

TEST(DeviceLink, DieClosesAndNothingFollows) {
  SimDevice device;
  TraceCapture trace;
  {
    QLink link(std::make_unique<InMemoryPort>(device));
    device.TakeLog();
    link.Die();
    HxPosition p = {};
    EXPECT_FALSE(link.GetPosition(p));
  }
  EXPECT_EQ(device.TakeLog(), "1:close");  // the Die's close only: no stop, no second close
  EXPECT_TRUE(trace.Contains("<CHxMouse/Die()>:  Dying.\n"));
  EXPECT_FALSE(trace.Contains("<CHxMouse/~CHxMouse()>:  Driver object destroyed.\n"));

  trace.Clear();
  { PLink link(std::make_unique<InMemoryPort>(device)); link.Die(); }
  EXPECT_TRUE(trace.Contains("<CHxMouse/Die()>:  Dying...\n"));
}

TEST(DeviceLink, UnplugKillsOpenLinksAndANewLinkReadsAfterPlug) {
  SimDevice device;
  QLink before(std::make_unique<InMemoryPort>(device));
  HxPosition p = {};
  ASSERT_TRUE(before.GetPosition(p));
  device.Unplug();
  EXPECT_FALSE(before.GetPosition(p));
  EXPECT_FALSE(QLink(std::make_unique<InMemoryPort>(device)).IsOpen());
  device.Plug();
  EXPECT_FALSE(before.GetPosition(p));  // a handle to the removed device stays dead
  QLink after(std::make_unique<InMemoryPort>(device));
  EXPECT_TRUE(after.GetPosition(p));
}

// A worker reads its own link back to back until told to stop, as the programs' readers do;
// its owner stops it during a long stall by cancelling its link and waiting for it, as
// winui::JoinThread does: the cancel again and again, since a read may begin just after one.
TEST(DeviceLink, OwnersCancelEndsAReadTheTrackerStalls) {
  using Clock = std::chrono::steady_clock;
  struct Case {
    const char* name;
    bool floatReads;
    bool stallBeforeStart;  // else the stall begins while the worker reads
  } cases[] = {
      {"integer reads, stalled while reading", false, false},
      {"fractional reads, stalled while reading", true, false},
      {"integer reads, stalled from the first read", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SimDevice device;
    LinkCancel cancel;
    std::atomic<bool> stop{false};
    std::atomic<int> reads{0};
    if (c.stallBeforeStart) device.Stall(10000);
    auto worker = std::async(std::launch::async, [&] {
      QLink link(std::make_unique<InMemoryPort>(device), &cancel);
      while (!stop) {
        HxPosition p;
        HxPositionDouble d;
        if (!(c.floatReads ? link.GetFloatPosition(d) : link.GetPosition(p))) return link.Cancelled();
        ++reads;
      }
      return false;
    });
    if (!c.stallBeforeStart) {
      while (reads < 3) std::this_thread::yield();
      device.Stall(10000);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // let the worker block in the stall
    const auto start = Clock::now();
    stop = true;
    do cancel.Cancel();
    while (worker.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
    EXPECT_TRUE(worker.get()) << "the read failed because it was cancelled";
    // The link's own teardown was not cut short, and its reads ended in the stall.
    const std::string log = device.TakeLog();
    EXPECT_NE(log.find("IOCTL_STOP_COLLECTION,close"), std::string::npos) << log;
  }
}

// The page keeps one link for every reader it starts: cancelled reads fail at once without a
// request, and a rearmed link reads again.
TEST(DeviceLink, CancelledLinkFailsReadsUntilRearmed) {
  SimDevice device;
  LinkCancel cancel;
  CLink link(std::make_unique<InMemoryPort>(device), &cancel);
  TraceCapture trace;
  HxPositionDouble d;
  HxPosition p;
  ASSERT_TRUE(link.GetFloatPosition(d));
  device.TakeLog();
  cancel.Cancel();
  EXPECT_FALSE(link.GetFloatPosition(d));
  EXPECT_FALSE(link.GetPosition(p));
  EXPECT_TRUE(link.Cancelled());
  EXPECT_EQ(link.GetHardwareStatus(), 1) << "only reads are refused";
  EXPECT_EQ(device.TakeLog(), "1:IOCTL_GET_HARDWARE_STATUS");
  cancel.Rearm();
  EXPECT_TRUE(link.GetFloatPosition(d));
  EXPECT_FALSE(link.Cancelled());
  EXPECT_TRUE(trace.Lines().empty()) << "a cancel is no tracker failure";
}

}  // namespace
