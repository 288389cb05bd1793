// qmouse on the simulated tracker while the tracker is unplugged and plugged in again a
// hundred times at random intervals: after every plug the cursor follows the head again,
// and the program ends where it began in threads and handles.
#include "tests/e2e/qmouse_fixture.h"

#include <winternl.h>

#include <cstdio>
#include <random>
#include <vector>

namespace {

struct Counts {
  long threads = -1, handles = -1;
  bool operator==(const Counts& o) const { return threads == o.threads && handles == o.handles; }
};

// The process's thread and handle counts, as the system's process list gives them.
Counts CountsOf(DWORD pid) {
  using Query = NTSTATUS(WINAPI*)(SYSTEM_INFORMATION_CLASS, void*, ULONG, ULONG*);
  static const auto query =
      reinterpret_cast<Query>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation"));
  std::vector<unsigned char> buffer(1 << 20);
  ULONG needed = 0;
  if (!query || query(SystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed) != 0)
    return {};
  for (size_t at = 0;;) {
    const auto* p = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + at);
    if (reinterpret_cast<uintptr_t>(p->UniqueProcessId) == pid) return {long(p->NumberOfThreads), long(p->HandleCount)};
    if (!p->NextEntryOffset) return {};
    at += p->NextEntryOffset;
  }
}

TEST_F(Qmouse, HundredUnplugsAndPlugsLeaveItFollowingTheHeadAndLeakNothing) {
  StartQmouse();
  WaitForHeadControl();
  Pose(4, 0);
  ASSERT_TRUE(CursorAt(kCentre.x + 4, kCentre.y, 3000)) << CursorText();

  const unsigned seed = std::random_device{}();
  SCOPED_TRACE(testing::Message() << "seed " << seed);
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> pause(0, 200);
  Counts first;
  for (int i = 0; i < 100; ++i) {
    SCOPED_TRACE(testing::Message() << "plug " << i + 1);
    ASSERT_EQ(sim_.Control("unplug"), "ok");
    Sleep(pause(random));
    ASSERT_EQ(sim_.Control("plug"), "ok");
    // A new cursor thread centres the cursor and then follows the head from the last
    // reading the old one took: turning by 4 to the other side lands 4 beside the centre.
    const bool right = i % 2 == 1;
    Pose(right ? 4 : 0, 0);
    ASSERT_TRUE(CursorAt(kCentre.x + (right ? 4 : -4), kCentre.y, 5000)) << "at " << CursorText();
    if (i == 0) {
      first = CountsOf(qmouse_.Id());
      ASSERT_GT(first.threads, 0);
      ASSERT_GT(first.handles, 0);
    }
    Sleep(pause(random));
  }
  // The old cursor thread may still be on its way out when the new one already moves.
  Counts last;
  EXPECT_TRUE(WaitFor([&] { return (last = CountsOf(qmouse_.Id())) == first; }, 5000))
      << "threads " << last.threads << " (" << first.threads << " after the first plug), handles " << last.handles
      << " (" << first.handles << ")";
  std::printf("after the first plug: %ld threads, %ld handles; after the last: %ld, %ld\n", first.threads,
              first.handles, last.threads, last.handles);
  EXPECT_TRUE(qmouse_.Running());
}

}  // namespace
