#include "hxcpl/module.h"

#include <atomic>

#include "winui/app.h"

namespace hxcpl {

namespace {
HINSTANCE gModule = nullptr;
std::atomic<int> gObjects{0};
std::atomic<int> gLocks{0};
std::atomic<int> gThreads{0};
}  // namespace

HINSTANCE ModuleInstance() { return gModule; }
void SetModuleInstance(HINSTANCE module) { gModule = module; }

void LockModule() { ++gObjects; }
void UnlockModule() { --gObjects; }
void AddServerLock() { ++gLocks; }
void RemoveServerLock() { --gLocks; }

bool CanUnload() { return gObjects == 0 && gLocks == 0 && gThreads == 0; }

KernelHandle StartModuleThread(LPTHREAD_START_ROUTINE proc, void* arg) {
  HMODULE self = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&ModuleInstance), &self))
    return KernelHandle();
  ++gThreads;
  KernelHandle thread = winui::StartThread(proc, arg, THREAD_PRIORITY_NORMAL);
  if (!thread) {
    --gThreads;
    FreeLibrary(self);
  }
  return thread;
}

// The count drops before the reference does: once DllCanUnloadNow says yes, the last
// instructions still run on the reference this thread holds.
void EndModuleThread(DWORD exitCode) {
  --gThreads;
  FreeLibraryAndExitThread(gModule, exitCode);
}

}  // namespace hxcpl
