#include "hxsim/sim_device.h"

#include <algorithm>
#include <cmath>
#include <thread>
#include <cstring>

#include "device/hx_position.h"
#include "device/ioctl.h"
#include "device/sim_wire.h"

using namespace hx;

int SimDevice::Connect() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!plugged_) return 0;
  int client = nextClient_++;
  clientGeneration_[client] = generation_;
  Note(client, "open");
  return client;
}

void SimDevice::Disconnect(int client) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (clientGeneration_.erase(client)) Note(client, "close");
}

bool SimDevice::Answer(int client, uint32_t code, uint32_t outputSize, uint8_t* output,
                       uint32_t* bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  *bytes = 0;
  const RequestInfo* info = FindRequest(code);
  Note(client, info ? info->name : "unknown");
  auto link = clientGeneration_.find(client);
  if (!info || link == clientGeneration_.end()) return false;
  if (!plugged_ || link->second != generation_) return false;  // tracker gone under this link
  if (auto failing = failing_.find(code); failing != failing_.end()) {
    if (failing->second > 0 && --failing->second == 0) failing_.erase(failing);
    return false;
  }
  if (outputSize < info->outputSize) return false;  // the driver's buffer-too-small

  auto put = [&](const void* data, uint32_t size) {
    std::memcpy(output, data, size);
    *bytes = size;
  };
  if (code == IOCTL_GET_VERSION) {
    uint32_t version = (1u << 16) | 0;
    put(&version, 4);
  } else if (code == IOCTL_GET_FLOAD_POSITION) {
    HxPositionDouble p = {pose_.x, pose_.y, pose_.z, pose_.rx, pose_.ry};
    put(&p, sizeof p);
  } else if (code == IOCTL_GET_POSITION) {
    HxPosition p = {IntegerAxis(pose_.x), IntegerAxis(pose_.y), IntegerAxis(pose_.z),
                    IntegerAxis(pose_.rx), IntegerAxis(pose_.ry)};
    put(&p, sizeof p);
  } else if (code == IOCTL_CALIBRATE) {
    uint16_t answer = static_cast<uint16_t>(answers_.calibrate);
    put(&answer, 2);
  } else if (code == IOCTL_GET_HARDWARE_STATUS) {
    put(&answers_.status, 4);
  } else if (code == IOCTL_GET_CALIBRATED) {
    uint16_t answer = static_cast<uint16_t>(answers_.calibrated);
    put(&answer, 2);
  } else if (code == IOCTL_GET_JOYSTICK_STATE) {
    put(&answers_.joystick, 4);
  } else if (code == IOCTL_ENABLE_JOYSTICK) {
    answers_.joystick = 1;
  } else if (code == IOCTL_DISABLE_JOYSTICK) {
    answers_.joystick = 0;
  } else if (code == IOCTL_SET_ZERO) {
    pose_ = SimPose{};  // the current head position becomes the centre
  }
  return true;
}

void SimDevice::SetPose(const SimPose& pose) {
  std::lock_guard<std::mutex> lock(mutex_);
  pose_ = pose;
}

SimPose SimDevice::Pose() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return pose_;
}

void SimDevice::Unplug() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!plugged_) return;
  plugged_ = false;
  ++generation_;
}

void SimDevice::Plug() {
  std::lock_guard<std::mutex> lock(mutex_);
  plugged_ = true;
}

void SimDevice::SetAnswers(const Answers& answers) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_ = answers;
}

void SimDevice::SetAnswer(uint32_t Answers::*field, uint32_t value) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.*field = value;
}

SimDevice::Answers SimDevice::GetAnswers() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return answers_;
}

void SimDevice::Stall(uint32_t ms) {
  std::lock_guard<std::mutex> lock(mutex_);
  stallEnd_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
}

void SimDevice::WaitOutStall(const std::function<bool()>& givesUp) {
  ++stalled_;
  for (;;) {
    std::chrono::steady_clock::duration left;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      left = stallEnd_ - std::chrono::steady_clock::now();
    }
    if (left <= left.zero() || givesUp()) break;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(left, std::chrono::milliseconds(10)));
  }
  --stalled_;
}

bool SimDevice::Plugged() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return plugged_;
}

bool SimDevice::SetFailing(const std::string& name, bool failing, uint32_t times) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const RequestInfo& r : kRequests) {
    if (name != r.name) continue;
    if (failing)
      failing_[r.code] = times;
    else
      failing_.erase(r.code);
    return true;
  }
  return false;
}

std::string SimDevice::TakeLog() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::string text;
  if (logDropped_) text = "dropped:" + std::to_string(logDropped_);
  for (const auto& [client, events] : log_) {
    if (!text.empty()) text += ' ';
    text += std::to_string(client) + ':';
    for (size_t i = 0; i < events.size(); ++i) {
      if (i) text += ',';
      text += events[i].first;
      if (events[i].second > 1) text += '*' + std::to_string(events[i].second);
    }
  }
  log_.clear();
  logOrder_.clear();
  logDropped_ = 0;
  return text;
}

bool SimDevice::IsPositionRequest(uint32_t code) {
  return code == IOCTL_GET_POSITION || code == IOCTL_GET_FLOAD_POSITION;
}

uint16_t SimDevice::IntegerAxis(double deflection) { return HxIntegerAxis(deflection); }

void SimDevice::Note(int client, const std::string& event) {
  auto& events = log_[client];
  if (!events.empty() && events.back().first == event) {
    ++events.back().second;
    return;
  }
  events.emplace_back(event, 1);
  logOrder_.push_back(client);
  if (logOrder_.size() <= kLogEntries) return;
  // Nobody has asked for a long time: forget the oldest entry rather than grow for ever.
  const int oldest = logOrder_.front();
  logOrder_.pop_front();
  auto& theirs = log_[oldest];
  logDropped_ += theirs.front().second;
  theirs.pop_front();
  if (theirs.empty()) log_.erase(oldest);
}
