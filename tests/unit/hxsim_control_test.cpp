#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <future>
#include <thread>
#include <string>
#include <vector>

#include "device/hx_position.h"
#include "device/ioctl.h"
#include "hxsim/control.h"
#include "hxsim/in_memory_port.h"

namespace {

struct Recorder {
  std::vector<bool> plugChanges;
  int posesSet = 0;
  SimControl::Hooks Hooks() {
    return {[this](bool plugged) { plugChanges.push_back(plugged); }, [this] { ++posesSet; }};
  }
};

// One request of a link, as the pipe server makes it.
bool Ask(SimDevice& device, int client, uint32_t code, uint8_t* out, uint32_t* bytes) {
  return device.Answer(client, code, 64, out, bytes);
}

TEST(SimControlTest, MalformedLinesAnswerErrorAndChangeNothing) {
  struct Case {
    const char* line;
    const char* reply;
  } cases[] = {
      {"", "error empty command"},
      {"   \r\n", "error empty command"},
      {"dance", "error unknown command 'dance'"},
      {"POSE 1 2 3 4 5", "error unknown command 'POSE'"},
      {"pose 1 2 3 4", "error pose needs X Y Z RX RY"},
      {"pose 1 2 3 4 5 6", "error pose needs X Y Z RX RY"},
      {"pose 1 2 3 4 5x", "error bad number '5x'"},
      {"pose nan 2 3 4 5", "error bad number 'nan'"},
      {"pose 1 2 1e999 4 5", "error bad number '1e999'"},
      {"pose? now", "error pose? takes no arguments"},
      {"unplug 1", "error unplug takes no arguments"},
      {"plug please", "error plug takes no arguments"},
      {"answer calibrate", "error answer needs WHICH N"},
      {"answer calibrate 1 2", "error answer needs WHICH N"},
      {"answer color 1", "error unknown answer 'color'"},
      {"answer status -1", "error bad value '-1' (unsigned 32-bit, decimal or 0x hex)"},
      {"answer status 4294967296", "error bad value '4294967296' (unsigned 32-bit, decimal or 0x hex)"},
      {"answer status 0x", "error bad value '0x' (unsigned 32-bit, decimal or 0x hex)"},
      {"answer joystick 1.5", "error bad value '1.5' (unsigned 32-bit, decimal or 0x hex)"},
      {"answer calibrate 65536", "error calibrate answer is 16-bit"},
      {"answer calibrated 0x10000", "error calibrated answer is 16-bit"},
      {"fail", "error fail needs NAME [COUNT]"},
      {"fail IOCTL_SET_ZERO 0", "error fail needs NAME [COUNT]"},
      {"fail IOCTL_SET_ZERO 1 2", "error fail needs NAME [COUNT]"},
      {"pass IOCTL_SET_ZERO 1", "error pass needs a request name"},
      {"fail IOCTL_NOPE", "error unknown request 'IOCTL_NOPE'"},
      {"pass ioctl_set_zero", "error unknown request 'ioctl_set_zero'"},
      {"fail IOCTL_SET_ZERO IOCTL_GET_POSITION", "error fail needs NAME [COUNT]"},
      {"log all", "error log takes no arguments"},
      {"stall", "error stall needs MS (milliseconds)"},
      {"stall -5", "error stall needs MS (milliseconds)"},
      {"stall 10 s", "error stall needs MS (milliseconds)"},
      {"stalled 2", "error stalled takes no arguments"},
      {"quit now", "error quit takes no arguments"},
  };
  SimDevice device;
  device.SetPose(SimPose{1, 2, 3, 4, 5});
  Recorder recorder;
  SimControl control(device, recorder.Hooks());
  const int client = device.Connect();
  device.TakeLog();
  for (const Case& c : cases) {
    bool quit = true;
    EXPECT_EQ(control.Execute(c.line, &quit), c.reply) << c.line;
    EXPECT_FALSE(quit) << c.line;
  }
  bool quit = false;
  EXPECT_EQ(control.Execute("pose?", &quit), "ok 1 2 3 4 5");
  EXPECT_TRUE(device.Plugged());
  const SimDevice::Answers answers = device.GetAnswers();
  const SimDevice::Answers defaults;
  EXPECT_EQ(answers.calibrate, defaults.calibrate);
  EXPECT_EQ(answers.status, defaults.status);
  EXPECT_EQ(answers.calibrated, defaults.calibrated);
  EXPECT_EQ(answers.joystick, defaults.joystick);
  uint8_t out[64];
  uint32_t bytes = 0;
  for (const hx::RequestInfo& r : hx::kRequests) EXPECT_TRUE(Ask(device, client, r.code, out, &bytes)) << r.name;
  EXPECT_TRUE(recorder.plugChanges.empty());
  EXPECT_EQ(recorder.posesSet, 0);
}

TEST(SimControlTest, AnswersReachTheDevice) {
  struct Case {
    const char* line;
    uint32_t code;
    uint32_t expected;
    uint32_t size;
  } cases[] = {
      {"answer calibrate 2", hx::IOCTL_CALIBRATE, 2, 2},
      {"answer calibrate 0xFFFF", hx::IOCTL_CALIBRATE, 0xFFFF, 2},
      {"answer status 0x00000304", hx::IOCTL_GET_HARDWARE_STATUS, 0x304, 4},
      {"answer status 4294967295", hx::IOCTL_GET_HARDWARE_STATUS, 0xFFFFFFFFu, 4},
      {"answer calibrated 0", hx::IOCTL_GET_CALIBRATED, 0, 2},
      {"answer joystick 7", hx::IOCTL_GET_JOYSTICK_STATE, 7, 4},
  };
  SimDevice device;
  SimControl control(device);
  const int client = device.Connect();
  for (const Case& c : cases) {
    bool quit = false;
    ASSERT_EQ(control.Execute(c.line, &quit), "ok") << c.line;
    uint8_t out[64] = {};
    uint32_t bytes = 0;
    ASSERT_TRUE(Ask(device, client, c.code, out, &bytes)) << c.line;
    ASSERT_EQ(bytes, c.size) << c.line;
    uint32_t value = 0;
    std::memcpy(&value, out, bytes);
    EXPECT_EQ(value, c.expected) << c.line;
  }
}

TEST(SimControlTest, PosePlugFailAndLogCommands) {
  SimDevice device;
  Recorder recorder;
  SimControl control(device, recorder.Hooks());
  bool quit = false;

  EXPECT_EQ(control.Execute("pose 12.5 -3.25 40 -7.9 250\r\n", &quit), "ok");
  EXPECT_EQ(recorder.posesSet, 1);
  EXPECT_EQ(control.Execute("pose?", &quit), "ok 12.5 -3.25 40 -7.9 250");
  EXPECT_EQ(control.Execute("pose  0.1\t-0 0 1e3 +2", &quit), "ok");
  EXPECT_EQ(control.Execute("pose?", &quit), "ok 0.1 -0 0 1000 2");

  const int client = device.Connect();
  uint8_t out[64];
  uint32_t bytes = 0;
  EXPECT_EQ(control.Execute("fail IOCTL_SET_ZERO", &quit), "ok");
  EXPECT_FALSE(Ask(device, client, hx::IOCTL_SET_ZERO, out, &bytes));
  EXPECT_TRUE(Ask(device, client, hx::IOCTL_GET_POSITION, out, &bytes));
  EXPECT_EQ(control.Execute("pass IOCTL_SET_ZERO", &quit), "ok");
  EXPECT_TRUE(Ask(device, client, hx::IOCTL_SET_ZERO, out, &bytes));
  EXPECT_EQ(control.Execute("fail IOCTL_SET_ZERO 2", &quit), "ok");  // the next two only
  EXPECT_FALSE(Ask(device, client, hx::IOCTL_SET_ZERO, out, &bytes));
  EXPECT_FALSE(Ask(device, client, hx::IOCTL_SET_ZERO, out, &bytes));
  EXPECT_TRUE(Ask(device, client, hx::IOCTL_SET_ZERO, out, &bytes));

  EXPECT_EQ(control.Execute("unplug", &quit), "ok");
  EXPECT_FALSE(device.Plugged());
  EXPECT_FALSE(Ask(device, client, hx::IOCTL_GET_POSITION, out, &bytes));
  EXPECT_EQ(control.Execute("plug", &quit), "ok");
  EXPECT_TRUE(device.Plugged());
  EXPECT_EQ(recorder.plugChanges, (std::vector<bool>{false, true}));

  EXPECT_EQ(control.Execute("log", &quit),
            "ok 1:open,IOCTL_SET_ZERO,IOCTL_GET_POSITION,IOCTL_SET_ZERO*4,IOCTL_GET_POSITION");
  EXPECT_EQ(control.Execute("log", &quit), "ok ");  // taken: nothing new since
  EXPECT_FALSE(quit);
  EXPECT_EQ(control.Execute("quit\n", &quit), "ok");
  EXPECT_TRUE(quit);
}

// A simulator nobody asks for its log keeps only the newest entries and says how many
// requests it forgot; the next log starts afresh.
TEST(SimControlTest, LogKeepsTheNewestEntriesAndCountsTheDropped) {
  SimDevice device;
  SimControl control(device, {});
  bool quit = false;
  const int a = device.Connect(), b = device.Connect();  // two log entries: "open" each
  uint8_t out[64];
  uint32_t bytes = 0;
  const size_t pairs = SimDevice::kLogEntries;  // alternating requests never fold
  for (size_t i = 0; i < pairs; ++i) {
    Ask(device, a, hx::IOCTL_SET_ZERO, out, &bytes);
    Ask(device, a, hx::IOCTL_GET_POSITION, out, &bytes);
  }
  Ask(device, b, hx::IOCTL_GET_VERSION, out, &bytes);
  const std::string log = control.Execute("log", &quit);
  // 2 opens + 2 * pairs + 1 entries, of which kLogEntries stay.
  const size_t dropped = 2 + 2 * pairs + 1 - SimDevice::kLogEntries;
  ASSERT_EQ(log.rfind("ok dropped:" + std::to_string(dropped) + " 1:", 0), 0u) << log.substr(0, 80);
  EXPECT_EQ(log.size() - log.rfind(" 2:"), std::string(" 2:IOCTL_GET_VERSION").size()) << "b's open was dropped";
  size_t kept = 0;
  for (size_t p = log.find("IOCTL_"); p != std::string::npos; p = log.find("IOCTL_", p + 1)) ++kept;
  EXPECT_EQ(kept, SimDevice::kLogEntries);
  EXPECT_EQ(control.Execute("log", &quit), "ok ");
}

TEST(SimControlTest, FormatsDoublesSoTheyReadBackExactly) {
  for (double v : {0.1, -3.25, 1e-300, 123456789.123456789, 2.0 / 3.0, -0.0}) {
    std::string text = SimControl::FormatDouble(v);
    EXPECT_EQ(std::strtod(text.c_str(), nullptr), v) << text;
    EXPECT_LE(text.size(), 24u) << text;
  }
  EXPECT_EQ(SimControl::FormatDouble(250), "250");
}

// A stall holds the position requests only, until it is over or ended; `stalled` counts the
// requests waiting in it.
TEST(SimControlTest, StallHoldsPositionReadsUntilOverOrEnded) {
  using Clock = std::chrono::steady_clock;
  SimDevice device;
  SimControl control(device);
  bool quit = false;
  InMemoryPort port(device);
  ASSERT_TRUE(port.Open("a"));
  uint8_t out[64];
  uint32_t bytes = 0;

  EXPECT_EQ(control.Execute("stall 300", &quit), "ok");
  auto start = Clock::now();
  EXPECT_TRUE(port.Request(hx::IOCTL_GET_HARDWARE_STATUS, out, sizeof out, &bytes));
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(250)) << "other requests are not stalled";
  EXPECT_TRUE(port.Request(hx::IOCTL_GET_POSITION, out, sizeof out, &bytes));
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(300));
  start = Clock::now();
  EXPECT_TRUE(port.Request(hx::IOCTL_GET_FLOAD_POSITION, out, sizeof out, &bytes));
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(250)) << "the stall is over";

  EXPECT_EQ(control.Execute("stall 60000", &quit), "ok");
  EXPECT_EQ(control.Execute("stalled", &quit), "ok 0");
  start = Clock::now();
  auto waiting = std::async(std::launch::async, [&] {
    uint8_t record[64];
    uint32_t n = 0;
    return port.Request(hx::IOCTL_GET_POSITION, record, sizeof record, &n);
  });
  while (control.Execute("stalled", &quit) != "ok 1" && Clock::now() - start < std::chrono::seconds(5))
    std::this_thread::yield();
  EXPECT_EQ(control.Execute("stalled", &quit), "ok 1");
  EXPECT_EQ(control.Execute("stall 0", &quit), "ok");
  EXPECT_TRUE(waiting.get());
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5)) << "stall 0 ends a waiting request's stall";
  EXPECT_EQ(control.Execute("stalled", &quit), "ok 0");
}

}  // namespace
