#include "device/trace.h"

#include <algorithm>
#include <mutex>

#include "device/trace_output.h"

namespace {
std::mutex gCaptureMutex;
bool gCapturing = false;
std::vector<std::string>* gCaptured = nullptr;
}  // namespace

void Trace(const char* line) {
  {
    std::lock_guard<std::mutex> lock(gCaptureMutex);
    if (gCapturing) gCaptured->emplace_back(line);
  }
  WriteTraceOutput(line);
}

TraceCapture::TraceCapture() {
  std::lock_guard<std::mutex> lock(gCaptureMutex);
  gCaptured = new std::vector<std::string>();
  gCapturing = true;
}

TraceCapture::~TraceCapture() {
  std::lock_guard<std::mutex> lock(gCaptureMutex);
  gCapturing = false;
  delete gCaptured;
  gCaptured = nullptr;
}

std::vector<std::string> TraceCapture::Lines() const {
  std::lock_guard<std::mutex> lock(gCaptureMutex);
  return *gCaptured;
}

bool TraceCapture::Contains(const std::string& line) const { return Count(line) > 0; }

int TraceCapture::Count(const std::string& line) const {
  std::lock_guard<std::mutex> lock(gCaptureMutex);
  return static_cast<int>(std::count(gCaptured->begin(), gCaptured->end(), line));
}

void TraceCapture::Clear() {
  std::lock_guard<std::mutex> lock(gCaptureMutex);
  gCaptured->clear();
}
