#include "device/tracker_choice.h"

#include <mutex>

#include "device/opentrack_pose.h"

namespace {
std::mutex choiceMutex;
bool choiceSet = false;
TrackerChoice ownChoice;
}  // namespace

TrackerChoice TrackerChoiceFrom(int32_t source, int32_t port, int32_t acceptNetwork) {
  TrackerChoice c;
  c.source = source == 1 ? TrackerSource::OpentrackUdp : TrackerSource::Driver;
  c.port = port >= 1 && port <= 65535 ? port : kOpentrackDefaultPort;
  c.acceptNetwork = acceptNetwork != 0;
  return c;
}

void SetTrackerChoice(const TrackerChoice& choice) {
  std::lock_guard<std::mutex> lock(choiceMutex);
  ownChoice = choice;
  choiceSet = true;
}

TrackerChoice CurrentTrackerChoice() {
  {
    std::lock_guard<std::mutex> lock(choiceMutex);
    if (choiceSet) return ownChoice;
  }
  return StoredTrackerChoice();
}
