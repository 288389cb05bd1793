#include "hxsim/win/control_server.h"

#include "hxsim/win/pipe_listener.h"

#include "hxsim/win/threads.h"
#include "hxsim/win/tracker_server.h"
#include "winui/handles.h"

namespace {
// Longer lines are answered with an error and otherwise ignored.
constexpr size_t kMaxLine = 4096;
}  // namespace

ControlServer::ControlServer(SimControl& control, const std::string& pipeName, HANDLE quitRequested,
                             HANDLE quitterGone)
    : control_(control), path_(ControlPipePath(pipeName)), quitRequested_(quitRequested),
      quitterGone_(quitterGone) {}

bool ControlServer::Start(std::string* error) {
  return StartPipeListener(path_, false, [this](HANDLE pipe) { Serve(pipe); }, "control", error);
}

void ControlServer::Serve(HANDLE rawPipe) {
  KernelHandle pipe(rawPipe);
  std::string pending;
  bool overlong = false;  // dropping the rest of a line that was too long
  bool askedToQuit = false;
  char chunk[512];
  DWORD read = 0;
  while (ReadFile(rawPipe, chunk, sizeof chunk, &read, nullptr) || GetLastError() == ERROR_MORE_DATA) {
    pending.append(chunk, read);
    size_t newline;
    while ((newline = pending.find('\n')) != std::string::npos) {
      std::string line = pending.substr(0, newline);
      pending.erase(0, newline + 1);
      bool quit = false;
      std::string reply;
      if (overlong || line.size() > kMaxLine) {
        reply = "error line too long";
        overlong = false;
      } else {
        reply = control_.Execute(line, &quit);
      }
      reply += '\n';
      DWORD written = 0;
      if (!WriteFile(rawPipe, reply.data(), static_cast<DWORD>(reply.size()), &written, nullptr)) return;
      if (quit && !askedToQuit) {
        askedToQuit = true;
        SetEvent(quitRequested_);
      }
    }
    if (pending.size() > kMaxLine) {
      overlong = true;
      pending.clear();
    }
  }
  // The asker has read its "ok" and hung up; the process may end now without losing it.
  if (askedToQuit) SetEvent(quitterGone_);
}
