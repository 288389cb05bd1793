#pragma once
// Device-change broadcasts reach every top-level window: volumes, ports and every device
// interface. Only the tracker's own interface may stop or start head control.
#include <windows.h>

#include <string>

// Whether a WM_DEVICECHANGE arrival or removal with this lParam is about the tracker's
// interface class. The header is checked for its size first: it can arrive empty.
bool IsTrackerInterfaceEvent(LPARAM lParam);

// Tells every top-level window that the tracker came (`plugged`) or went, as the system does
// for a real one: WM_DEVICECHANGE arrival or removal with a device-interface header that
// carries the tracker's interface GUID and `deviceName`. Blocks while windows answer, each
// bounded: call it from a thread of its own.
void BroadcastTrackerEvent(bool plugged, const std::string& deviceName);
