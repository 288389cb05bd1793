#pragma once
// The control pipe: byte-mode, one text line per request and one reply line, several
// requests per connection and several connections at once.
#include <windows.h>

#include <string>

#include "hxsim/control.h"

class ControlServer {
 public:
  ControlServer(SimControl& control, const std::string& pipeName, HANDLE quitRequested,
                HANDLE quitterGone);
  [[nodiscard]] bool Start(std::string* error);

 private:
  void Serve(HANDLE pipe);

  SimControl& control_;
  std::string path_;
  HANDLE quitRequested_;  // set after the reply to `quit` was written
  HANDLE quitterGone_;    // set when the connection that asked to quit has closed
};
