#pragma once
// The newest head pose as every program on the machine sees it. Only one program can own
// the UDP port; it writes each pose here and the links of every program read it, so
// qmouse, hxprofiler and the control panel follow the same head. On Windows this lives in
// a named shared-memory section; tests use plain memory.
#include <atomic>
#include <cstdint>

#include "device/opentrack_pose.h"

struct PoseShare {
  // Odd while a pose is being written; it grows by two with every pose, so a reader knows
  // whether it has seen the newest one.
  std::atomic<uint32_t> sequence;
  std::atomic<uint32_t> arrivalMs;  // tick count when the newest pose arrived
  std::atomic<uint32_t> poseWords[12];
  // "Set Center" from any program re-zeroes every program's view of the head.
  std::atomic<uint32_t> centerSequence;
  std::atomic<uint32_t> centerWords[12];
  // Datagrams dropped, by PoseVerdict (wrong size, not a number, out of reach).
  std::atomic<uint32_t> dropped[3];
  // What the program holding the port is doing (Windows: UdpPoseHub's states).
  std::atomic<uint32_t> ownerState;
};

// By the port's owner only.
void PublishPose(PoseShare& share, const OpentrackPose& pose, uint32_t nowMs);
void CountDropped(PoseShare& share, PoseVerdict verdict);

// The newest pose and when it arrived; returns its sequence number, 0 while none came.
uint32_t ReadPose(const PoseShare& share, OpentrackPose& pose, uint32_t& arrivalMs);

// From any program: makes `center` the pose the records are measured from.
void SetCenter(PoseShare& share, const OpentrackPose& center);
OpentrackPose ReadCenter(const PoseShare& share);

// How long without a datagram counts as the tracker unplugged.
constexpr uint32_t kSilenceUnpluggedMs = 500;
// Whether the newest pose (sequence `sequence`, arrived at `arrivalMs`) is recent at `nowMs`.
bool PoseIsFresh(uint32_t sequence, uint32_t arrivalMs, uint32_t nowMs);

// The answers of every request but the two position requests, as the tracker would give
// them: it needs no calibration (and says so), has no joystick interface, and SET_ZERO
// takes the newest pose as the centre. Returns the request's success flag.
bool AnswerOpentrackRequest(PoseShare& share, uint32_t code, void* output, uint32_t outputSize,
                            uint32_t* bytesReturned);
// The answer to a position request from `pose`.
bool AnswerPositionRequest(const PoseShare& share, const OpentrackPose& pose, uint32_t code, void* output,
                           uint32_t outputSize, uint32_t* bytesReturned);
