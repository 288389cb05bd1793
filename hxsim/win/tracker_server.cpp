#include "hxsim/win/tracker_server.h"

#include <cstring>

#include "device/ioctl.h"
#include "device/sim_wire.h"
#include "hxsim/win/pipe_listener.h"
#include "hxsim/win/threads.h"

namespace {

constexpr bool AnswersFitWire() {
  for (const hx::RequestInfo& r : hx::kRequests)
    if (r.outputSize > simwire::kMaxOutput) return false;
  return true;
}
// SimDevice writes at most the request's answer size, whatever size the client asks for;
// this keeps that within the reply buffer.
static_assert(AnswersFitWire(), "every answer must fit one reply message");

}  // namespace

TrackerServer::TrackerServer(SimDevice& device, const std::string& pipeName, unsigned rateHz)
    : device_(device),
      path_(TrackerPipePath(pipeName)),
      periodTicks_(rateHz ? TicksPerSecond() / rateHz : 0) {}

bool TrackerServer::Start(std::string* error) {
  return StartPipeListener(path_, true, [this](HANDLE pipe) { Serve(pipe); }, "tracker", error);
}

void TrackerServer::DisconnectAll() {
  std::lock_guard<std::mutex> lock(mutex_);
  stopping_ = true;
  for (HANDLE pipe : links_) DisconnectNamedPipe(pipe);
}

namespace {

// Reads one message. False when the link is gone; `malformed` when it was not one request.
bool ReadRequest(HANDLE pipe, simwire::Request* request, bool* malformed) {
  unsigned char message[64];
  DWORD read = 0;
  *malformed = false;
  if (!ReadFile(pipe, message, sizeof message, &read, nullptr)) {
    if (GetLastError() != ERROR_MORE_DATA) return false;
    // Longer than any request: drop the rest of it and say no.
    *malformed = true;
    while (!ReadFile(pipe, message, sizeof message, &read, nullptr))
      if (GetLastError() != ERROR_MORE_DATA) return false;
    return true;
  }
  if (read != sizeof *request) {
    *malformed = true;
    return true;
  }
  std::memcpy(request, message, sizeof *request);
  return true;
}

}  // namespace

void TrackerServer::Serve(HANDLE rawPipe) {
  KernelHandle pipe(rawPipe);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return;
    links_.insert(rawPipe);
  }
  // The link becomes a device client at its first message; opened while unplugged, it
  // stays without one, as a failed open would.
  bool opened = false;
  int client = 0;
  int64_t nextSample = 0;
  unsigned char reply[simwire::kMaxReply];
  simwire::Request request;
  bool malformed = false;
  while (ReadRequest(rawPipe, &request, &malformed)) {
    simwire::ReplyHeader header = {0, 0};
    if (!opened && !malformed) {
      opened = true;
      client = device_.Connect();
    }
    if (malformed || client == 0) {
      // header stays "failed, no bytes"
    } else if (request.code == simwire::kHello) {
      header.ok = device_.Plugged();
    } else {
      // A client that went away meanwhile ends the wait: its link ends with the answer.
      if (SimDevice::IsPositionRequest(request.code))
        device_.WaitOutStall([rawPipe] { return !PeekNamedPipe(rawPipe, nullptr, 0, nullptr, nullptr, nullptr); });
      if (periodTicks_ && SimDevice::IsPositionRequest(request.code)) {
        int64_t now = NowTicks();
        // After a pause the schedule starts again rather than answering a burst.
        if (nextSample < now - periodTicks_) nextSample = now;
        SleepUntil(nextSample);
        nextSample += periodTicks_;
      }
      uint32_t bytes = 0;
      header.ok = device_.Answer(client, request.code, request.outputSize, reply + sizeof header, &bytes);
      header.bytes = bytes;
    }
    std::memcpy(reply, &header, sizeof header);
    DWORD written = 0;
    if (!WriteFile(rawPipe, reply, sizeof header + header.bytes, &written, nullptr)) break;
  }
  if (client) device_.Disconnect(client);
  std::lock_guard<std::mutex> lock(mutex_);
  links_.erase(rawPipe);
  // Closed under the lock, so DisconnectAll never touches a handle value already reused.
  pipe.Reset();
}
