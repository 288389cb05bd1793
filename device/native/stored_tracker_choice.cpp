#include "device/tracker_choice.h"

// Native builds have no registry: the driver (the in-process simulator) unless set.
TrackerChoice StoredTrackerChoice() { return TrackerChoice{}; }
