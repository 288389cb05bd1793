#include "hxsim/win/control_server.h"

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

HANDLE ControlServer::CreateInstance(bool first) {
  return CreateNamedPipeA(path_.c_str(), PIPE_ACCESS_DUPLEX | (first ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0),
                          PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, PIPE_UNLIMITED_INSTANCES,
                          4096, 4096, 0, nullptr);
}

bool ControlServer::Start(std::string* error) {
  HANDLE first = CreateInstance(true);
  if (first == INVALID_HANDLE_VALUE) {
    *error = "cannot create " + path_ + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  if (!StartThread([this, first] { Listen(first); })) {
    CloseHandle(first);
    *error = "cannot start the control listener";
    return false;
  }
  return true;
}

void ControlServer::Listen(HANDLE first) {
  KernelHandle listening(first);
  for (;;) {
    BOOL connected = ConnectNamedPipe(listening.Get(), nullptr) || GetLastError() == ERROR_PIPE_CONNECTED;
    KernelHandle next(CreateInstance(false));
    if (connected) {
      HANDLE pipe = listening.Release();
      if (!StartThread([this, pipe] { Serve(pipe); })) KernelHandle dropped(pipe);
    }
    while (!next) {
      Sleep(50);  // out of instances for now
      next.Reset(CreateInstance(false));
    }
    listening = std::move(next);
  }
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
