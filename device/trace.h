#pragma once
// Diagnostics: single lines to the debugger output channel. Tests capture them.
#include <string>
#include <vector>

void Trace(const char* line);

// While one exists, traced lines are also collected here (from any thread).
class TraceCapture {
 public:
  TraceCapture();
  ~TraceCapture();
  TraceCapture(const TraceCapture&) = delete;
  TraceCapture& operator=(const TraceCapture&) = delete;

  std::vector<std::string> Lines() const;
  bool Contains(const std::string& line) const;
  int Count(const std::string& line) const;
  void Clear();
};
