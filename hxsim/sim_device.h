#pragma once
// The simulated tracker: what the driver would answer to each request of each link, given
// the head pose, the plug state and the answers and failures tests have chosen. No I/O
// here; the pipe server and the in-memory port both drive this object.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

struct SimPose {
  double x = 0, y = 0, z = 0, rx = 0, ry = 0;  // signed deflection, rest 0
};

class SimDevice {
 public:
  // Answers tests can choose; the defaults are those of a healthy, calibrated tracker.
  struct Answers {
    uint32_t calibrate = 1;
    uint32_t status = 0x00010304;
    uint32_t calibrated = 1;
    uint32_t joystick = 0;
  };

  // A new link. Returns its client number (from 1), or 0 when the tracker is unplugged.
  int Connect();
  void Disconnect(int client);

  // Answers one request of `client` into `output` (at least `outputSize` bytes). Returns
  // the success flag; `bytes` receives the answer's length.
  bool Answer(int client, uint32_t code, uint32_t outputSize, uint8_t* output, uint32_t* bytes);

  void SetPose(const SimPose& pose);
  SimPose Pose() const;

  // Unplugging kills every open link for good; a link opened after plugging works again.
  void Unplug();
  void Plug();
  bool Plugged() const;

  void SetAnswers(const Answers& answers);
  // One answer only, so that a link's joystick switch in the meantime is not undone.
  void SetAnswer(uint32_t Answers::*field, uint32_t value);
  Answers GetAnswers() const;
  // By request name ("IOCTL_SET_ZERO"); false for an unknown name. `times` > 0: only the
  // next so many of these requests fail.
  bool SetFailing(const std::string& name, bool failing, uint32_t times = 0);

  // Position requests answered in the next `ms` milliseconds wait until they are over, as
  // a stalled driver keeps its reader waiting. 0 ends a stall at once for later requests.
  void Stall(uint32_t ms);
  // Waits out the stall for a position request, in steps, so that a stall ended meanwhile
  // ends the wait too; returns early once `givesUp` says the request is cancelled or gone.
  void WaitOutStall(const std::function<bool()>& givesUp);
  // Position requests waiting out a stall now.
  int Stalled() const { return stalled_.load(); }

  // Requests received since the last call: "1:open,IOCTL_GET_VERSION,IOCTL_GET_POSITION*40,close 2:..."
  // Runs of the same request are folded as NAME*count so a long log stays short. Only the
  // newest kLogEntries folded entries are kept; when older ones were dropped the text starts
  // with "dropped:N " (N requests).
  std::string TakeLog();
  static constexpr size_t kLogEntries = 4096;

  // Whether the driver paces this request (the position requests wait for a sample).
  static bool IsPositionRequest(uint32_t code);
  // The integer record's word for a deflection: 2000 plus the truncated deflection.
  static uint16_t IntegerAxis(double deflection);

 private:
  void Note(int client, const std::string& event);

  mutable std::mutex mutex_;
  SimPose pose_;
  bool plugged_ = true;
  int generation_ = 0;
  int nextClient_ = 1;
  std::map<int, int> clientGeneration_;  // open links and the plug generation they belong to
  std::map<uint32_t, uint32_t> failing_;  // request code -> failures left, 0 for all
  std::chrono::steady_clock::time_point stallEnd_;
  std::atomic<int> stalled_{0};
  Answers answers_;
  // Folded entries per client, and the clients in the order their entries were added, so
  // that the oldest entry of all can be dropped first.
  std::map<int, std::deque<std::pair<std::string, int>>> log_;
  std::deque<int> logOrder_;
  long long logDropped_ = 0;
};
