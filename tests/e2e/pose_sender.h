#pragma once
// Plays opentrack for whole-program tests: sends the current head pose to 127.0.0.1:port
// a hundred times a second from a thread of its own, until paused or destroyed. Its
// datagrams go through the host's loopback like any sender's.
#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "device/opentrack_pose.h"

// Stores in qmouse's settings what its Options page stores for "opentrack (UDP port N)", which
// hxprofiler and the control panel read too. With `noDwellClicks` dwell clicks nothing, so a
// turning head cannot click into the windows under test.
inline bool ChooseOpentrack(int port, bool noDwellClicks) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Korvath\\Quellan Mouse\\Settings", 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  const DWORD values[] = {1, static_cast<DWORD>(port), 32784};
  const char* names[] = {"Tracker", "Tracker Port", "Dwell Command"};
  bool ok = true;
  for (int i = 0; i < (noDwellClicks ? 3 : 2); ++i)
    ok = RegSetValueExA(key, names[i], 0, REG_DWORD, reinterpret_cast<const BYTE*>(&values[i]), sizeof values[i]) ==
             ERROR_SUCCESS && ok;
  RegCloseKey(key);
  return ok;
}

class PoseSender {
 public:
  explicit PoseSender(int port) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    socket_ = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    to_.sin_family = AF_INET;
    to_.sin_port = htons(static_cast<u_short>(port));
    to_.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    thread_ = std::thread([this] {
      while (!quit_.load()) {
        if (!paused_.load()) Send(Pose());
        Sleep(10);
      }
    });
  }
  ~PoseSender() {
    quit_ = true;
    thread_.join();
    closesocket(socket_);
    WSACleanup();
  }
  void SetPose(const OpentrackPose& pose) {
    std::lock_guard<std::mutex> lock(mutex_);
    pose_ = pose;
  }
  OpentrackPose Pose() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return pose_;
  }
  void Pause(bool paused) { paused_ = paused; }
  void Send(const OpentrackPose& pose) {
    uint8_t d[kOpentrackDatagramSize];
    EncodeOpentrackDatagram(pose, d);
    SendBytes(d, sizeof d);
  }
  void SendBytes(const void* bytes, size_t size) {
    sendto(socket_, static_cast<const char*>(bytes), static_cast<int>(size), 0,
           reinterpret_cast<const sockaddr*>(&to_), sizeof to_);
  }

 private:
  SOCKET socket_ = INVALID_SOCKET;
  sockaddr_in to_ = {};
  mutable std::mutex mutex_;
  OpentrackPose pose_;
  std::atomic<bool> paused_{false}, quit_{false};
  std::thread thread_;
};
