#include "device/win/pipe_driver_port.h"

#include <windows.h>

#include <cstring>
#include <utility>

#include "device/sim_wire.h"

PipeDriverPort::PipeDriverPort(std::string pipeName) : pipePath_("\\\\.\\pipe\\" + std::move(pipeName)) {}

bool PipeDriverPort::FindInterface(uint32_t memberIndex, std::string& path) {
  if (memberIndex != 0) return false;  // the simulator is one tracker
  path = pipePath_;
  return true;
}

bool PipeDriverPort::Open(const std::string& path) {
  openedPath_ = path;
  return Connect(path);
}

bool PipeDriverPort::Connect(const std::string& path) {
  // Every instance may be taken until the simulator listens on a new one, and clients that
  // waited together race for it: the losers wait again, within one bounded time.
  const DWORD start = GetTickCount();
  constexpr DWORD kBusyWaitMs = 2000;
  HANDLE pipe;
  for (;;) {
    pipe = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (pipe != INVALID_HANDLE_VALUE || GetLastError() != ERROR_PIPE_BUSY) break;
    const DWORD spent = GetTickCount() - start;
    if (spent >= kBusyWaitMs) break;
    WaitNamedPipeA(path.c_str(), kBusyWaitMs - spent);
  }
  {
    std::lock_guard<std::mutex> lock(handleMutex_);
    handle_.Reset(pipe);
  }
  answerPending_ = false;
  if (!handle_) return false;
  DWORD mode = PIPE_READMODE_MESSAGE;
  uint32_t bytes = 0;
  if (!SetNamedPipeHandleState(handle_.Get(), &mode, nullptr, nullptr) ||
      !Request(simwire::kHello, nullptr, 0, &bytes)) {
    Close();  // simulator up but tracker unplugged: no device to open
    return false;
  }
  return true;
}

bool PipeDriverPort::Close() {
  std::lock_guard<std::mutex> lock(handleMutex_);
  return handle_.Reset();
}

void PipeDriverPort::CancelRequest() {
  std::lock_guard<std::mutex> lock(handleMutex_);
  // Also ends a synchronous request of another thread (measured under Wine: about 1-20 ms).
  if (handle_) CancelIoEx(handle_.Get(), nullptr);
}

bool PipeDriverPort::Request(uint32_t code, void* output, uint32_t outputSize, uint32_t* bytesReturned) {
  *bytesReturned = 0;
  if (answerPending_ && !Connect(openedPath_)) return false;
  if (!handle_ || outputSize > simwire::kMaxOutput) return false;
  simwire::Request request = {code, outputSize};
  unsigned char reply[simwire::kMaxReply];
  DWORD read = 0;
  // One call for the write and the read: a third less CPU per request than two calls.
  if (!TransactNamedPipe(handle_.Get(), &request, sizeof request, reply, sizeof reply, &read, nullptr)) {
    answerPending_ = GetLastError() == ERROR_OPERATION_ABORTED;
    return false;
  }
  if (read < sizeof(simwire::ReplyHeader)) return false;
  simwire::ReplyHeader header;
  std::memcpy(&header, reply, sizeof header);
  uint32_t bytes = header.bytes;
  if (bytes > outputSize || bytes > read - sizeof header) return false;  // malformed answer
  if (bytes) std::memcpy(output, reply + sizeof header, bytes);
  *bytesReturned = bytes;
  return header.ok == 1;
}
