#include "commands/engine_traces.h"

EngineTraces HxprofilerEngineTraces() {
  EngineTraces t;
  t.renderingMouseMove = nullptr;
  t.pressingButtons = t.releasingButtons = nullptr;
  t.scrollingWheel = t.trippingScroll = nullptr;
  t.keysReleased = nullptr;
  for (const char*& line : t.buttonReleased) line = nullptr;
  t.navigationHotKey = t.commandHotKey = t.mixedHotKey = t.pauseHotKey = nullptr;
  t.recentreLink = "<Engine/Render()>:  Creating CHxMouse object.\n";
  return t;
}
