#pragma once
// Which source answers in the driver's place: the tracker's own driver, or head poses from
// opentrack's "UDP over network" output. qmouse keeps the choice in its settings; hxprofiler
// and the control panel read the same registry values.
#include <cstdint>

enum class TrackerSource : int32_t { Driver = 0, OpentrackUdp = 1 };

struct TrackerChoice {
  TrackerSource source = TrackerSource::Driver;
  int32_t port = 4242;
  bool acceptNetwork = false;  // bind every address instead of 127.0.0.1 alone
  bool operator==(const TrackerChoice& o) const {
    return source == o.source && port == o.port && acceptNetwork == o.acceptNetwork;
  }
};

// The registry values, in qmouse's "Settings" section.
constexpr const char* kTrackerValue = "Tracker";
constexpr const char* kTrackerPortValue = "Tracker Port";
constexpr const char* kTrackerNetworkValue = "Accept Network Poses";

// From stored values: an unknown source is the driver, a port outside 1..65535 the default.
TrackerChoice TrackerChoiceFrom(int32_t source, int32_t port, int32_t acceptNetwork);

// The program's own choice (qmouse sets it from its settings, so a change takes effect
// without a restart). Until a program sets one, the stored values are read on every call.
void SetTrackerChoice(const TrackerChoice& choice);
TrackerChoice CurrentTrackerChoice();
// The stored values (the registry on Windows; the default elsewhere).
TrackerChoice StoredTrackerChoice();
