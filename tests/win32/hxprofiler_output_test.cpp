// hxprofiler's output thread against hxsim: its owner ends it at once whatever the tracker
// does, and there is never more than one.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "hxprofiler/output.h"
#include "tests/win32/win_test_support.h"

namespace {

class OutputThread : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim_.Start({}));
    _putenv(("HXSIM_PIPE=" + sim_.PipeName()).c_str());
  }
  void TearDown() override { EXPECT_TRUE(sim_.Quit()); }
  int Readings() { return PositionReads(sim_); }
  SimProcess sim_;
};

// The tracker keeps the thread waiting for ten seconds: each way of stopping it ends that
// thread at once, before anything may start the next.
TEST_F(OutputThread, AThreadTheTrackerStallsEndsAtOnce) {
  const Profile profile;
  const struct {
    const char* what;
    std::function<void(std::unique_ptr<Output>&)> act;
    int threads;  // output threads afterwards
  } rows[] = {
      {"Disengage", [](std::unique_ptr<Output>& o) { o->Disengage(); }, 0},
      {"Engage again", [&](std::unique_ptr<Output>& o) { o->Engage(profile); }, 1},
      {"removal", [](std::unique_ptr<Output>& o) { o->OnRemoval(); }, 0},
      {"window gone", [](std::unique_ptr<Output>& o) { o.reset(); }, 0},
  };
  SCOPED_TRACE("stalled");  // gtest's first trace on a thread starts a thread of its own
  const int idle = ThreadsOfThisProcess();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    auto output = std::make_unique<Output>();
    output->Engage(profile);
    ASSERT_TRUE(PumpUntil([&] { return Readings() >= 2; }, 3000));
    ASSERT_TRUE(StallReaders(sim_));
    EXPECT_LT(MillisecondsFor([&] { row.act(output); }), 1000u);
    EXPECT_EQ(ThreadsOfThisProcess(), idle + row.threads);
    ASSERT_EQ(sim_.Control("stall 0"), "ok");
    if (row.threads) EXPECT_TRUE(PumpUntil([&] { return Readings() >= 2; }, 3000)) << "the new thread reads";
    output.reset();
    EXPECT_EQ(ThreadsOfThisProcess(), idle);
  }
}

}  // namespace
