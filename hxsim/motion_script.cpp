#include "hxsim/motion_script.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// Deflections are in the driver's units (rest 0); the cursor follows the change of RX/RY, so
// sweeps of a few hundred carry it well across the screen. Gestures move only X or Z, quickly
// out and back, with the head otherwise still.
const char kDemo[] =
    "# Look around: right, left, back; up, down, back.\n"
    "0        0    0    0     0     0\n"
    "1500     0    0    0   250     0\n"
    "4000     0    0    0  -250     0\n"
    "5200     0    0    0     0     0\n"
    "6400     0    0    0     0   180\n"
    "8400     0    0    0     0  -180\n"
    "9400     0    0    0     0     0\n"
    "# Hold still long enough to dwell.\n"
    "12900    0    0    0     0     0\n"
    "# Gestures, each quick out and back: left, right, forward, back.\n"
    "13150 -150    0    0     0     0\n"
    "13400    0    0    0     0     0\n"
    "14400  150    0    0     0     0\n"
    "14650    0    0    0     0     0\n"
    "15650    0    0  150     0     0\n"
    "15900    0    0    0     0     0\n"
    "16900    0    0 -150     0     0\n"
    "17150    0    0    0     0     0\n"
    "# Rest before the next pass.\n"
    "18500    0    0    0     0     0\n";

std::string LineError(int line, const std::string& reason) {
  return "line " + std::to_string(line) + ": " + reason;
}

}  // namespace

std::vector<std::string> SplitWords(const std::string& line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

bool ParseFiniteDouble(const std::string& token, double* value) {
  if (token.empty()) return false;
  // strtod also takes leading blanks, "nan", "inf" and hex floats; only plain numbers count.
  for (char c : token)
    if (!(c >= '0' && c <= '9') && c != '.' && c != '-' && c != '+' && c != 'e' && c != 'E')
      return false;
  errno = 0;
  char* end = nullptr;
  double v = std::strtod(token.c_str(), &end);
  if (end != token.c_str() + token.size() || errno == ERANGE || !std::isfinite(v)) return false;
  *value = v;
  return true;
}

bool ParseUint32(const std::string& token, uint32_t* value) {
  bool hex = token.size() > 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X');
  size_t start = hex ? 2 : 0;
  if (token.size() <= start) return false;
  uint64_t v = 0;
  for (size_t i = start; i < token.size(); ++i) {
    char c = token[i];
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (hex && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return false;
    v = v * (hex ? 16 : 10) + digit;
    if (v > UINT32_MAX) return false;
  }
  *value = static_cast<uint32_t>(v);
  return true;
}

bool MotionScript::Parse(const std::string& text, std::string* error) {
  keyframes_.clear();
  events_.clear();
  double lastTime = 0;
  int lineNumber = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNumber;
    size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> words = SplitWords(line);
    if (words.empty()) continue;

    auto fail = [&](const std::string& reason) {
      keyframes_.clear();
      events_.clear();
      if (error) *error = LineError(lineNumber, reason);
      return false;
    };
    double time = 0;
    if (!ParseFiniteDouble(words[0], &time)) return fail("bad time '" + words[0] + "'");
    if (time < 0) return fail("negative time");
    if (time < lastTime) return fail("time goes backwards");
    lastTime = time;

    if (words.size() == 2 && (words[1] == "unplug" || words[1] == "plug")) {
      events_.push_back({time, words[1] == "unplug" ? Event::Unplug : Event::Plug});
      continue;
    }
    if (words.size() != 6)
      return fail("expected 'T X Y Z RX RY', 'T unplug' or 'T plug'");
    double v[5];
    for (int i = 0; i < 5; ++i)
      if (!ParseFiniteDouble(words[i + 1], &v[i])) return fail("bad number '" + words[i + 1] + "'");
    keyframes_.push_back({time, SimPose{v[0], v[1], v[2], v[3], v[4]}});
  }
  return true;
}

SimPose MotionScript::PoseAt(double timeMs) const {
  if (keyframes_.empty()) return SimPose{};
  auto next = std::upper_bound(keyframes_.begin(), keyframes_.end(), timeMs,
                               [](double t, const Keyframe& k) { return t < k.timeMs; });
  if (next == keyframes_.begin()) return keyframes_.front().pose;
  if (next == keyframes_.end()) return keyframes_.back().pose;
  const Keyframe& a = *(next - 1);
  const Keyframe& b = *next;  // a.timeMs <= timeMs < b.timeMs, so the span is not empty
  double f = (timeMs - a.timeMs) / (b.timeMs - a.timeMs);
  auto mix = [f](double p, double q) { return p + (q - p) * f; };
  return SimPose{mix(a.pose.x, b.pose.x), mix(a.pose.y, b.pose.y), mix(a.pose.z, b.pose.z),
                 mix(a.pose.rx, b.pose.rx), mix(a.pose.ry, b.pose.ry)};
}

std::vector<MotionScript::Event> MotionScript::EventsBetween(double afterMs, double upToMs) const {
  std::vector<Event> crossed;
  for (const TimedEvent& e : events_)
    if (e.timeMs > afterMs && e.timeMs <= upToMs) crossed.push_back(e.event);
  return crossed;
}

double MotionScript::LengthMs() const {
  double length = 0;
  if (!keyframes_.empty()) length = keyframes_.back().timeMs;
  if (!events_.empty()) length = std::max(length, events_.back().timeMs);
  return length;
}

const char* MotionScript::DemoText() { return kDemo; }
