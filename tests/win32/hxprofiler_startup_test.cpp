// hxprofiler's start-up with OLE or Windows Sockets failing: the message comes from the
// program's own string resources (linked in here), the program ends, and OLE is not left
// started.
#include <gtest/gtest.h>

#include <string>

#include "hxprofiler/startup.h"

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
