#include "hxsim/win/options.h"

#include <cstdint>
#include <utility>

#include "hxsim/motion_script.h"

const char kSimUsage[] =
    "usage: hxsim.exe [--pipe NAME] [--rate HZ] [--script FILE | --demo | --still] [--window]\n"
    "control pipe \\\\.\\pipe\\NAME-control, one line per request: pose X Y Z RX RY | pose? | unplug | plug |\n"
    "  answer calibrate|status|calibrated|joystick N | fail NAME [COUNT] | pass NAME | stall MS | stalled | log | quit\n";

bool ParseSimOptions(int argc, char** argv, SimOptions* options, std::string* error) {
  bool pipeSeen = false, rateSeen = false, motionSeen = false, windowSeen = false;
  auto once = [&](bool& seen, const std::string& what) {
    if (seen) *error = what + " given twice";
    return !std::exchange(seen, true);
  };
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](std::string* out) {
      if (i + 1 >= argc) {
        *error = arg + " needs a value";
        return false;
      }
      *out = argv[++i];
      return true;
    };
    std::string text;
    if (arg == "--pipe") {
      if (!once(pipeSeen, "--pipe") || !value(&text)) return false;
      // The name becomes part of \\.\pipe\NAME and \\.\pipe\NAME-control.
      if (text.empty() || text.size() > 200 || text.find_first_of("\\/") != std::string::npos) {
        *error = "bad pipe name '" + text + "'";
        return false;
      }
      options->pipe = text;
    } else if (arg == "--rate") {
      if (!once(rateSeen, "--rate") || !value(&text)) return false;
      uint32_t rate = 0;
      if (!ParseUint32(text, &rate) || rate > 100000) {
        *error = "bad rate '" + text + "' (0..100000 answers per second)";
        return false;
      }
      options->rateHz = rate;
    } else if (arg == "--script" || arg == "--demo" || arg == "--still") {
      if (!once(motionSeen, "--script, --demo or --still")) return false;
      if (arg == "--script") {
        if (!value(&options->scriptFile)) return false;
        options->motion = SimOptions::Motion::Script;
      } else {
        options->motion = arg == "--demo" ? SimOptions::Motion::Demo : SimOptions::Motion::Still;
      }
    } else if (arg == "--window") {
      if (!once(windowSeen, "--window")) return false;
      options->window = true;
    } else {
      *error = "unknown argument '" + arg + "'";
      return false;
    }
  }
  return true;
}
