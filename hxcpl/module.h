#pragma once
// What the whole DLL shares: its module handle and what keeps it loaded (live objects,
// references to the class factory, open page windows, server locks and running page
// threads).
#include <windows.h>

#include "winui/handles.h"

namespace hxcpl {

HINSTANCE ModuleInstance();
void SetModuleInstance(HINSTANCE module);

void LockModule();
void UnlockModule();
void AddServerLock();
void RemoveServerLock();
// True while nothing of ours is alive: no object, factory reference or page window, no
// server lock, no thread.
bool CanUnload();

// Starts a thread that runs our code: it holds a reference on the DLL and counts as alive
// until it leaves through EndModuleThread, so the DLL cannot go from under it.
KernelHandle StartModuleThread(LPTHREAD_START_ROUTINE proc, void* arg);
[[noreturn]] void EndModuleThread(DWORD exitCode);

}  // namespace hxcpl
