#include "hxsim/win/pipe_listener.h"

#include <utility>

#include "hxsim/win/threads.h"
#include "winui/handles.h"

namespace {

HANDLE CreateInstance(const std::string& path, bool messageMode, bool first) {
  const DWORD type = messageMode ? PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE : PIPE_TYPE_BYTE | PIPE_READMODE_BYTE;
  return CreateNamedPipeA(path.c_str(), PIPE_ACCESS_DUPLEX | (first ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0),
                          type | PIPE_WAIT, PIPE_UNLIMITED_INSTANCES, 4096, 4096, 0, nullptr);
}

void Listen(HANDLE first, const std::string& path, bool messageMode, const std::function<void(HANDLE)>& serve) {
  KernelHandle listening(first);
  for (;;) {
    BOOL connected = ConnectNamedPipe(listening.Get(), nullptr) || GetLastError() == ERROR_PIPE_CONNECTED;
    KernelHandle next(CreateInstance(path, messageMode, false));
    if (connected) {
      HANDLE pipe = listening.Release();
      if (!StartThread([serve, pipe] { serve(pipe); })) KernelHandle dropped(pipe);
    }
    while (!next) {
      Sleep(50);  // out of instances for now; try again rather than stop serving
      next.Reset(CreateInstance(path, messageMode, false));
    }
    listening = std::move(next);
  }
}

}  // namespace

bool StartPipeListener(const std::string& path, bool messageMode, std::function<void(HANDLE)> serve,
                       const char* what, std::string* error) {
  HANDLE first = CreateInstance(path, messageMode, true);
  if (first == INVALID_HANDLE_VALUE) {
    *error = "cannot create " + path + " (error " + std::to_string(GetLastError()) + "; another simulator?)";
    return false;
  }
  if (!StartThread([first, path, messageMode, serve] { Listen(first, path, messageMode, serve); })) {
    CloseHandle(first);
    *error = std::string("cannot start the ") + what + " listener";
    return false;
  }
  return true;
}
