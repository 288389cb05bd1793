#pragma once
// Device-change broadcasts reach every top-level window: volumes, ports and every device
// interface. Only the tracker's own interface may stop or start head control.
#include <windows.h>

// Whether a WM_DEVICECHANGE arrival or removal with this lParam is about the tracker's
// interface class. The header is checked for its size first: it can arrive empty.
bool IsTrackerInterfaceEvent(LPARAM lParam);
