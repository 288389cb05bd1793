#pragma once
// A tracker link spoken directly in the simulator's wire format, without the device link,
// so the simulator's own answers are what the tests see.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "device/sim_wire.h"
#include "winui/handles.h"

class RawLink {
 public:
  struct Reply {
    bool delivered = false;  // a reply message arrived
    bool ok = false;
    std::vector<uint8_t> bytes;
  };

  // Opens an instance of the tracker pipe (waiting while all are busy) in message mode.
  bool Open(const std::string& pipeName) {
    const std::string path = "\\\\.\\pipe\\" + pipeName;
    for (int attempt = 0; attempt < 50 && !pipe_; ++attempt) {
      pipe_.Reset(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
      if (!pipe_ && GetLastError() == ERROR_PIPE_BUSY) WaitNamedPipeA(path.c_str(), 100);
      else if (!pipe_) return false;
    }
    DWORD mode = PIPE_READMODE_MESSAGE;
    return pipe_ && SetNamedPipeHandleState(pipe_.Get(), &mode, nullptr, nullptr);
  }
  // Open plus the greeting every link starts with; true when the tracker accepted it.
  bool Connect(const std::string& pipeName) { return Open(pipeName) && Ask(simwire::kHello, 0).ok; }

  Reply Ask(uint32_t code, uint32_t outputSize) {
    const simwire::Request request = {code, outputSize};
    return SendRaw(&request, sizeof request);
  }
  Reply SendRaw(const void* message, DWORD size) {
    Reply reply;
    DWORD done = 0;
    if (!WriteFile(pipe_.Get(), message, size, &done, nullptr)) return reply;
    uint8_t buffer[256];
    if (!ReadFile(pipe_.Get(), buffer, sizeof buffer, &done, nullptr) || done < sizeof(simwire::ReplyHeader))
      return reply;
    simwire::ReplyHeader header;
    std::memcpy(&header, buffer, sizeof header);
    reply.delivered = header.bytes == done - sizeof header;
    reply.ok = header.ok == 1;
    reply.bytes.assign(buffer + sizeof header, buffer + done);
    return reply;
  }
  void Close() { pipe_.Reset(); }

 private:
  KernelHandle pipe_;
};
