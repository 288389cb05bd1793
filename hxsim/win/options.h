#pragma once
// hxsim.exe [--pipe NAME] [--rate HZ] [--script FILE | --demo | --still] [--window]
#include <string>

struct SimOptions {
  enum class Motion { Still, Demo, Script };
  std::string pipe = "hxsim";
  unsigned rateHz = 100;  // position answers per second per link; 0 answers at once
  Motion motion = Motion::Still;
  std::string scriptFile;
  bool window = false;
};

// False with a reason for anything that is not exactly the command line above.
[[nodiscard]] bool ParseSimOptions(int argc, char** argv, SimOptions* options, std::string* error);

extern const char kSimUsage[];
