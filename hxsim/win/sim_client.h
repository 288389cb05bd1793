#pragma once
// Lets tests and benchmarks start the tracker simulator, steer it through its control
// channel and stop (or kill) it.
#include <windows.h>

#include <string>

#include "winui/handles.h"

// Under Wine a build may hand us a Unix path ("/work/.../hxsim.exe"); Wine converts it.
// Windows paths come back unchanged.
std::string WindowsPath(const std::string& path);

class SimProcess {
 public:
  struct Options {
    std::string pipe;        // empty: a name unique to this process and start
    int rateHz = 100;        // 0: unpaced
    std::string motion = "--still";  // "--still", "--demo" or "--script FILE"
    bool window = false;
  };

  SimProcess() = default;
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // Starts hxsim.exe (HXSIM_EXE, or beside the running program) and waits, bounded, until
  // its control pipe answers.
  [[nodiscard]] bool Start(const Options& options);
  // One control request; the reply line without its newline ("ok ...", "error ..."), or
  // "error no simulator" when the control pipe cannot be reached, "error no answer" when the
  // simulator took the request but did not answer within 30 s.
  std::string Control(const std::string& line);
  // Asks the simulator to quit and waits for it; kills it when it does not go in time.
  // Returns whether it exited on its own with code 0.
  bool Quit(DWORD timeoutMs = 5000);
  // Ends the process at once, as a crash would.
  void Kill();

  bool Running() const;
  const std::string& PipeName() const { return pipe_; }
  // The hxsim.exe that Start runs.
  static std::string ExePath();

 private:
  std::string pipe_;
  KernelHandle process_;
};
