#pragma once
// An input sink that writes down what it is asked to inject, and answers key-state
// questions from a script.
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "commands/input_sink.h"

class RecordingSink : public InputSink {
 public:
  std::vector<std::string> events;
  // Per virtual key, the answers KeyDown gives, one per question; empty means up.
  std::map<int, std::deque<bool>> keyScript;
  int sleptMs = 0;

  void Button(MouseButton b, bool down, Via via = Via::SendInput) override {
    static const char* names[] = {"L", "R", "M", "X1", "X2"};
    events.push_back(std::string(names[static_cast<int>(b)]) + (down ? "down" : "up") + Suffix(via));
  }
  void Key(int vk, int code, bool down, Via via = Via::SendInput) override {
    events.push_back("K" + std::to_string(vk) + "/" + std::to_string(code) + (down ? "down" : "up") + Suffix(via));
  }
  void Wheel(int delta, Via via = Via::SendInput) override {
    events.push_back("wheel" + std::to_string(delta) + Suffix(via));
  }
  void Move(int dx, int dy) override { events.push_back("move" + std::to_string(dx) + "," + std::to_string(dy)); }
  bool KeyDown(int vk) override {
    auto it = keyScript.find(vk);
    if (it == keyScript.end() || it->second.empty()) return false;
    bool down = it->second.front();
    it->second.pop_front();
    return down;
  }
  void Sleep(int ms) override { sleptMs += ms; }

  std::string Joined() const {
    std::string s;
    for (const auto& e : events) s += (s.empty() ? "" : " ") + e;
    return s;
  }
  void Clear() { events.clear(); }

 private:
  static std::string Suffix(Via via) { return via == Via::Legacy ? "*" : ""; }
};
