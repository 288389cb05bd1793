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
