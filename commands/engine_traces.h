#pragma once
// The lines the output engine writes to the debugger channel. Both programs run the same
// engine but word its trace differently; each hands its own set to the engine it makes. A null
// line is one that program does not write. "Probing map N...\n" is the same in both.
struct EngineTraces {
  // Every reading: written by a tracing build only (HX_ENGINE_TRACE), like the rest up to
  // the hot keys.
  const char* renderingMouseMove = "Rendering mouse move\n";
  const char* renderingCommand = "Rendering command output\n";
  const char* renderingMixed = "Rendering mixed output\n";
  const char* pressingKeys = "Pressing keys\n";
  const char* pressingButtons = "Pressing mouse buttons\n";
  const char* scrollingWheel = "Scrolling wheel\n";
  const char* releasingKeys = "Releasing keys\n";
  const char* releasingButtons = "Releasing buttons\n";
  const char* trippingScroll = "Tripping scroll engine\n";
  // The freelook hold.
  const char* pressingHoldButton = "Pressing mouse button... \n";
  const char* pressingHoldKey = "Pressing key... \n";
  const char* releasingHoldButton = "Releasing button... \n";
  const char* releasingHoldKey = "Releasing key... \n";
  // Key and button output, the Power Command runner.
  const char* keyDown = "Key Down";
  const char* keyUp = "Key Up";
  const char* keyHeld = "Key Held";
  const char* keyToggledDown = "Key Toggled Down";
  const char* keyToggledUp = "Key Toggled Up";
  const char* keysReleased = "Keys releaased\n";
  const char* buttonReleased[5] = {"Left button released\n", "Right button released\n", "Middle button released\n",
                                   "Mouse button 4 released\n", "Mouse button 5 releaesd\n"};
  const char* blastingKeys = "Blasting keys";
  // Hot keys: rare, so every build writes them.
  const char* navigationHotKey = "Nav Hotkey state changed\n";
  const char* commandHotKey = "Comm Hotkey state changed\n";
  const char* mixedHotKey = "Mixed Hotkey state changed\n";
  const char* pauseHotKey = "Pause Hotkey state changed\n";
  const char* recentreLink = "Creating driver object from Engine::Render( ).\n";
};

// qmouse's engine writes every line above.
inline EngineTraces QmouseEngineTraces() { return {}; }
// hxprofiler's writes none of the mouse-move, button, wheel, hold-release and hot-key lines,
// and names its re-centre link as its other tracker links are named.
EngineTraces HxprofilerEngineTraces();
