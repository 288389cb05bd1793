#include "hxsim/win/threads.h"

#include <windows.h>

#include <memory>

#include "winui/handles.h"

namespace {

DWORD WINAPI RunBody(void* param) {
  std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(param));
  try {
    (*body)();
  } catch (...) {
    // Nothing may cross the thread boundary; the thread's link or connection just ends.
  }
  return 0;
}

}  // namespace

bool StartThread(std::function<void()> body) {
  auto owned = std::make_unique<std::function<void()>>(std::move(body));
  KernelHandle thread(CreateThread(nullptr, 0, RunBody, owned.get(), 0, nullptr));
  if (!thread) return false;
  owned.release();  // the thread deletes it
  return true;
}

int64_t NowTicks() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

int64_t TicksPerSecond() {
  static const int64_t frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  return frequency;
}

void SleepUntil(int64_t deadline) {
  for (;;) {
    int64_t left = deadline - NowTicks();
    if (left <= 0) return;
    int64_t ms = left * 1000 / TicksPerSecond();
    // Sleep rounds up to the next tick, so ask for one less and finish with short sleeps.
    Sleep(ms >= 2 ? static_cast<DWORD>(ms - 1) : 1);
  }
}
