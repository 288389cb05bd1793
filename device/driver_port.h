#pragma once
// The seam between the device link and whatever answers in the driver's place: the real
// driver, the simulator's pipe, or an in-memory simulator in native tests.
#include <cstdint>
#include <memory>
#include <string>

class DriverPort {
 public:
  virtual ~DriverPort() = default;

  // Path of the tracker interface number `memberIndex` among present devices.
  [[nodiscard]] virtual bool FindInterface(uint32_t memberIndex, std::string& path) = 0;
  // Opens `path` for reading and writing, not shared. Returns whether a handle is now held.
  [[nodiscard]] virtual bool Open(const std::string& path) = 0;
  // Closes the handle if one is held; returns whether a close succeeded.
  virtual bool Close() = 0;
  [[nodiscard]] virtual bool HasHandle() const = 0;
  // One synchronous request without input. On the hot path: must not allocate or lock.
  [[nodiscard]] virtual bool Request(uint32_t code, void* output, uint32_t outputSize,
                                     uint32_t* bytesReturned) = 0;
  // Makes a request under way in another thread return at once, failed; does nothing when
  // none is. Safe from any thread while the port exists, also against Close: this is how a
  // worker's owner ends a read the tracker stalls (see LinkCancel).
  virtual void CancelRequest() = 0;
};

// The port a default-constructed link uses. Windows builds pick the simulator's pipe when
// HXSIM_PIPE is set and the real driver otherwise; native test builds supply their own.
std::unique_ptr<DriverPort> MakeDriverPort();

// Keeps the chosen source's receiver going while the caller holds the result (null for the
// driver, which needs nothing held): a program that watches for the tracker coming back
// holds it, so poses are received, shared and announced while none of its links is open.
std::shared_ptr<void> HoldTrackerSource();
// Whether default links read opentrack's poses rather than a driver or the simulator.
bool TrackerIsOpentrack();
// Whether opentrack's port is chosen but bound by a program not ours (links use the driver).
bool TrackerPortHeldElsewhere();
