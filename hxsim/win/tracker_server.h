#pragma once
// The tracker pipe: one message-mode instance and one thread per link, any number of links.
// Each request is answered by the SimDevice; position requests wait for the link's next
// sample, as the driver's do.
#include <windows.h>

#include <mutex>
#include <set>
#include <string>

#include "hxsim/sim_device.h"
#include "winui/handles.h"

class TrackerServer {
 public:
  TrackerServer(SimDevice& device, const std::string& pipeName, unsigned rateHz);

  // Creates the first instance (failing when another simulator owns the name) and starts
  // listening.
  [[nodiscard]] bool Start(std::string* error);
  // Ends every link at once: blocked reads of clients fail. No new link is served after.
  void DisconnectAll();

 private:
  void Serve(HANDLE pipe);

  SimDevice& device_;
  std::string path_;
  int64_t periodTicks_;  // 0: unpaced

  std::mutex mutex_;
  std::set<HANDLE> links_;  // instances with a connected client, for DisconnectAll
  bool stopping_ = false;
};

// The control pipe's name for a tracker pipe name.
inline std::string ControlPipePath(const std::string& pipeName) {
  return "\\\\.\\pipe\\" + pipeName + "-control";
}
inline std::string TrackerPipePath(const std::string& pipeName) { return "\\\\.\\pipe\\" + pipeName; }
