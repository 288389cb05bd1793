#pragma once
// What the Win32 tests share: answering messages while waiting for a condition, counting a
// process's threads, and a tracker that stalls its readers.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "hxsim/win/sim_client.h"
#include "winui/handles.h"

// Answers messages until `done` returns true; false after `ms` without it.
inline bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  return true;
}

inline int ThreadsOf(DWORD process) {
  KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry))
    count += entry.th32OwnerProcessID == process;
  return count;
}
inline int ThreadsOfThisProcess() { return ThreadsOf(GetCurrentProcessId()); }

// The integer position reads the simulator answered since the last `log`.
inline int PositionReads(SimProcess& sim) {
  const std::string log = sim.Control("log"), name = "IOCTL_GET_POSITION";
  int total = 0;
  for (size_t p = log.find(name); p != std::string::npos; p = log.find(name, p + 1))
    total += log[p + name.size()] == '*' ? std::atoi(log.c_str() + p + name.size() + 1) : 1;
  return total;
}

// Stalls the simulated tracker for ten seconds, as a hung driver would, and waits until
// `readers` position reads wait in the stall, answering messages meanwhile.
inline bool StallReaders(SimProcess& sim, int readers = 1) {
  if (sim.Control("stall 10000") != "ok") return false;
  return PumpUntil([&] { return sim.Control("stalled") == "ok " + std::to_string(readers); }, 5000);
}

// How many milliseconds `act` takes.
inline DWORD MillisecondsFor(const std::function<void()>& act) {
  const DWORD start = GetTickCount();
  act();
  return GetTickCount() - start;
}
