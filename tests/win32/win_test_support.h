#pragma once
// What the Win32 tests share: answering messages while waiting for a condition, and
// counting this process's threads.
#include <windows.h>
#include <tlhelp32.h>

#include <functional>

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

inline int ThreadsOfThisProcess() {
  KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry))
    count += entry.th32OwnerProcessID == GetCurrentProcessId();
  return count;
}
