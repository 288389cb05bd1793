#include "hxsim/win/motion.h"

#include <windows.h>

#include <cmath>
#include <utility>

#include "hxsim/win/threads.h"

namespace {
constexpr DWORD kStepMs = 5;
}  // namespace

MotionPlayer::MotionPlayer(SimDevice& device, MotionScript script, bool loop,
                           std::function<void(bool plugged)> setPlugged)
    : device_(device), script_(std::move(script)), loop_(loop), setPlugged_(std::move(setPlugged)) {}

bool MotionPlayer::Start() {
  return StartThread([this] { Run(); });
}

void MotionPlayer::Run() {
  const int64_t start = NowTicks();
  const double length = script_.LengthMs();
  double previous = -1;  // events at time 0 happen at the first step
  for (;;) {
    double now = static_cast<double>(NowTicks() - start) * 1000.0 / static_cast<double>(TicksPerSecond());
    double scriptTime = loop_ && length > 0 ? std::fmod(now, length) : now;
    if (script_.HasKeyframes() && !manual_.load(std::memory_order_relaxed))
      device_.SetPose(script_.PoseAt(scriptTime));
    if (!loop_) {
      for (MotionScript::Event event : script_.EventsBetween(previous, now))
        setPlugged_(event == MotionScript::Event::Plug);
      // Past the end the last pose holds by itself.
      if (now > length) return;
    }
    previous = now;
    Sleep(kStepMs);
  }
}
