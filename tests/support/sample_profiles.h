#pragma once
// A profile with every field set, shared by the profile tests and the fuzzer's seed corpus.
#include <memory>
#include <string>

#include "profiles/profile.h"

// Every field set to a value of its own, labels of many lengths, long strings in all three
// prefix forms, and the list longer than the creation length with a map past the sixteenth.
inline Profile Populated() {
  Profile p;
  for (int i = 0; i < kMapCount; ++i) p.deadZone[i] = 100 + i * 7;
  int v = 20;
  for (auto& mode : p.axis)
    for (auto& a : mode) a = {v++, v++ % 11 + 1, v++ % 11 + 1};
  p.operatingMode = kMixedMode;
  p.pauseHotKey = 3;
  p.recenterHotKey = 4;
  p.mouselookHotKey = 5;
  p.commandHotKey = 100;
  p.mixedHotKey = 0;
  p.freelookHold = 302;
  p.SetReservedText(std::string(300, 'r'));
  p.SetGamePath(std::string(70000, 'p'));
  p.SetStartDirectory(std::string(255, 'd'));
  p.SetGameArguments(std::string(254, 'a'));
  p.maps.resize(24);
  p.maps[20] = std::make_unique<Command>();
  for (size_t m = 0; m < p.maps.size(); ++m) {
    Command* c = p.Map(m);
    if (!c) continue;
    const int32_t b = static_cast<int32_t>(m) * 1000;
    c->usesKeys = 1, c->usesButtons = 1, c->usesWheel = 1, c->usesPowerCommand = 1;
    c->keyAction = 2, c->keyPulseRate = b + 1, c->buttonAction = 3, c->buttonPulseRate = b + 2;
    c->wheelDirection = 1, c->wheelMethod = 2, c->wheelRate = b + 3, c->repeatWhileOut = 1;
    c->powerCount = kPowerEntries;
    for (int k = 0; k < kCommandKeys; ++k) c->keys[k] = b + 10 + k;
    for (int k = 0; k < kCommandButtons; ++k) c->buttons[k] = b + 20 + k;
    for (int e = 0; e < kPowerEntries; ++e) {
      const int32_t eb = b + 100 + e * 16;
      for (int k = 0; k < kCommandKeys; ++k) c->powerKeys[e][k] = eb + k;
      for (int k = 0; k < kCommandButtons; ++k) c->powerButtons[e][k] = eb + 4 + k;
      c->powerType[e] = e % 3;
      c->powerWheelDirection[e] = eb + 12;
      c->powerDelay[e] = eb + 13;
      c->powerDuration[e] = eb + 14;
      c->powerLabels[e] = "Press the following keys: " + std::string(static_cast<size_t>((m * 50 + e) % 280), 'x');
    }
  }
  return p;
}
