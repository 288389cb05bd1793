#pragma once
// An input sink that writes down what it is asked to inject. Key state follows the injected
// key and button events, as the system's does, unless a script answers for the key; a stop
// request can be raised after a number of sleeps.
#include <array>
#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "commands/input_sink.h"

class RecordingSink : public InputSink {
 public:
  std::vector<std::string> events;
  // Per virtual key, the answers KeyDown gives, one per question, ahead of the injected state.
  std::map<int, std::deque<bool>> keyScript;
  int sleptMs = 0, sleeps = 0;
  // The stop request is raised once this many sleeps have passed; never while negative.
  int stopAfterSleeps = -1;
  // Sleeping on long after the stop request is the fault under test: it throws, so that the
  // fault fails the test instead of hanging it. Button clicks may still sleep 1 ms each.
  static constexpr int kSleepsAfterStop = 64;

  bool Stopped() const { return stopAfterSleeps >= 0 && sleeps >= stopAfterSleeps; }
  std::function<bool()> StopRequest() {
    return [this] { return Stopped(); };
  }

  void Button(MouseButton b, bool down, Via via = Via::SendInput) override {
    static const char* names[] = {"L", "R", "M", "X1", "X2"};
    static const int keys[] = {0x01, 0x02, 0x04, 0x05, 0x06};  // where the system reports them
    held_[keys[static_cast<int>(b)]] = down;
    events.push_back(std::string(names[static_cast<int>(b)]) + (down ? "down" : "up") + Suffix(via));
  }
  void Key(int vk, int code, bool down, Via via = Via::SendInput) override {
    held_[vk & 0xFF] = down;
    events.push_back("K" + std::to_string(vk) + "/" + std::to_string(code) + (down ? "down" : "up") + Suffix(via));
  }
  void Wheel(int delta, Via via = Via::SendInput) override {
    events.push_back("wheel" + std::to_string(delta) + Suffix(via));
  }
  void Move(int dx, int dy) override { events.push_back("move" + std::to_string(dx) + "," + std::to_string(dy)); }
  bool KeyDown(int vk) override {
    auto it = keyScript.find(vk);
    if (it == keyScript.end() || it->second.empty()) return held_[vk & 0xFF];
    bool down = it->second.front();
    it->second.pop_front();
    return down;
  }
  void Sleep(int ms) override {
    sleptMs += ms;
    ++sleeps;
    if (stopAfterSleeps >= 0 && sleeps > stopAfterSleeps + kSleepsAfterStop)
      throw std::runtime_error("still sleeping long after the stop request");
  }

  std::string Joined() const {
    std::string s;
    for (const auto& e : events) s += (s.empty() ? "" : " ") + e;
    return s;
  }
  void Clear() { events.clear(); }

 private:
  static std::string Suffix(Via via) { return via == Via::Legacy ? "*" : ""; }
  std::array<bool, 256> held_{};
};
