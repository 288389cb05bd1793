#include "qmouse/win/process_engine.h"

#include <memory>
#include <mutex>

#include "commands/win/win32_input.h"
#include "device/hx_mouse.h"

namespace {
std::once_flag gOnce;
std::unique_ptr<Win32InputSink> gSink;
std::unique_ptr<Engine> gEngine;
}  // namespace

Engine& ProcessEngine() {
  std::call_once(gOnce, [] {
    gSink = std::make_unique<Win32InputSink>();
    gEngine = std::make_unique<Engine>(
        *gSink,
        [] {
          // A link of its own for one action: the head's position now becomes the centre.
          CHxMouse link;
          link.SetZero();
        },
        QmouseEngineTraces());
  });
  return *gEngine;
}

void ShutdownProcessEngine() {
  if (gEngine) gEngine->ReleaseAll();
}
