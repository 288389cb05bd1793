#include "hxsim/win/sim_client.h"

#include <atomic>
#include <cstdlib>
#include <vector>

namespace {

constexpr DWORD kStartTimeoutMs = 10000;
constexpr DWORD kConnectTimeoutMs = 5000;
// Longer than any request takes, a stall of the simulator's readings included.
constexpr DWORD kAnswerTimeoutMs = 30000;

std::string ControlPath(const std::string& pipe) { return "\\\\.\\pipe\\" + pipe + "-control"; }

}  // namespace

std::string WindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  using ToDos = WCHAR*(CDECL*)(const char*);
  auto toDos = reinterpret_cast<ToDos>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
  if (!toDos) return path;
  WCHAR* wide = toDos(path.c_str());
  if (!wide) return path;
  char narrow[MAX_PATH * 2] = {};
  WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof narrow, nullptr, nullptr);
  HeapFree(GetProcessHeap(), 0, wide);
  return narrow;
}


std::string SimProcess::ExePath() {
  if (const char* fromEnv = std::getenv("HXSIM_EXE"); fromEnv && *fromEnv) return WindowsPath(fromEnv);
  char self[MAX_PATH * 2] = {};
  DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
  std::string path(self, length);
  size_t slash = path.find_last_of("\\/");
  return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "hxsim.exe";
}

SimProcess::~SimProcess() {
  if (Running()) Quit();
}

bool SimProcess::Start(const Options& options) {
  if (Running()) return false;
  static std::atomic<unsigned> counter{0};
  pipe_ = options.pipe.empty()
              ? "hxsim-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter)
              : options.pipe;
  std::string exe = ExePath();
  std::string commandLine = "\"" + exe + "\" --pipe " + pipe_ + " --rate " + std::to_string(options.rateHz);
  const std::string scriptPrefix = "--script ";
  if (options.motion.compare(0, scriptPrefix.size(), scriptPrefix) == 0)
    commandLine += " --script \"" + options.motion.substr(scriptPrefix.size()) + "\"";
  else if (!options.motion.empty())
    commandLine += " " + options.motion;
  if (options.window) commandLine += " --window";

  std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
  mutableLine.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(exe.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return false;
  process_.Reset(info.hProcess);
  KernelHandle thread(info.hThread);

  // Ready once the control pipe answers; give up early if the simulator already exited.
  const std::string control = ControlPath(pipe_);
  const ULONGLONG deadline = GetTickCount64() + kStartTimeoutMs;
  while (GetTickCount64() < deadline) {
    if (!Running()) return false;
    if (WaitNamedPipeA(control.c_str(), 100) && Control("pose?").compare(0, 2, "ok") == 0) return true;
    Sleep(10);
  }
  Kill();
  return false;
}

namespace {

// One read or write on the control pipe, given up after the deadline: a simulator that stopped
// answering must fail the caller's check, never hang it.
bool Transfer(HANDLE pipe, bool write, char* data, DWORD size, DWORD& done, ULONGLONG deadline) {
  KernelHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!event) return false;
  OVERLAPPED o = {};
  o.hEvent = event.Get();
  const BOOL started = write ? WriteFile(pipe, data, size, nullptr, &o) : ReadFile(pipe, data, size, nullptr, &o);
  if (!started && GetLastError() != ERROR_IO_PENDING) return false;
  const ULONGLONG now = GetTickCount64();
  const DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
  if (WaitForSingleObject(o.hEvent, left) != WAIT_OBJECT_0) CancelIoEx(pipe, &o);
  return GetOverlappedResult(pipe, &o, &done, TRUE) && (write ? done == size : done > 0);
}

}  // namespace

std::string SimProcess::Control(const std::string& line) {
  const std::string path = ControlPath(pipe_);
  const ULONGLONG deadline = GetTickCount64() + kConnectTimeoutMs;
  KernelHandle pipe;
  for (;;) {
    pipe.Reset(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED, nullptr));
    if (pipe) break;
    ULONGLONG now = GetTickCount64();
    // Busy: every instance is taken for a moment; anything else means no simulator.
    if (GetLastError() != ERROR_PIPE_BUSY || now >= deadline) return "error no simulator";
    WaitNamedPipeA(path.c_str(), static_cast<DWORD>(deadline - now));
  }
  const ULONGLONG answerBy = GetTickCount64() + kAnswerTimeoutMs;
  std::string request = line + "\n";
  DWORD written = 0;
  if (!Transfer(pipe.Get(), true, request.data(), static_cast<DWORD>(request.size()), written, answerBy))
    return "error no simulator";
  std::string reply;
  char chunk[512];
  DWORD read = 0;
  while (reply.find('\n') == std::string::npos) {
    if (!Transfer(pipe.Get(), false, chunk, sizeof chunk, read, answerBy)) return "error no answer";
    reply.append(chunk, read);
  }
  reply.erase(reply.find('\n'));
  if (!reply.empty() && reply.back() == '\r') reply.pop_back();
  return reply;
}

bool SimProcess::Quit(DWORD timeoutMs) {
  if (!process_) return false;
  if (Running()) Control("quit");
  if (WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0) {
    Kill();
    return false;
  }
  DWORD code = 1;
  GetExitCodeProcess(process_.Get(), &code);
  process_.Reset();
  return code == 0;
}

void SimProcess::Kill() {
  if (!process_) return;
  TerminateProcess(process_.Get(), 1);
  WaitForSingleObject(process_.Get(), 5000);
  process_.Reset();
}

bool SimProcess::Running() const {
  return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}
