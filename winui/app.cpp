#include "winui/app.h"

namespace winui {

bool Application::ClaimSingleInstance(const char* mutexName) {
  mutex_.Reset(CreateMutexA(nullptr, TRUE, mutexName));
  return mutex_.Valid() && GetLastError() != ERROR_ALREADY_EXISTS;
}

void Application::SetRegistryKey(const std::string& company, const std::string& application) {
  company_ = company;
  application_ = application;
}

int32_t Application::GetProfileInt(const char* section, const char* name, int32_t defaultValue) const {
  RegKey key;
  HKEY raw = nullptr;
  std::string path = RegistryPath() + "\\" + section;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) return defaultValue;
  key.Reset(raw);
  DWORD type = 0, value = 0, size = sizeof value;
  if (RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value)
    return defaultValue;
  return static_cast<int32_t>(value);
}

bool Application::WriteProfileInt(const char* section, const char* name, int32_t value) const {
  RegKey key;
  HKEY raw = nullptr;
  std::string path = RegistryPath() + "\\" + section;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) !=
      ERROR_SUCCESS)
    return false;
  key.Reset(raw);
  DWORD data = static_cast<DWORD>(value);
  return RegSetValueExA(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data) ==
         ERROR_SUCCESS;
}

KernelHandle StartThread(LPTHREAD_START_ROUTINE proc, void* arg, int priority) {
  KernelHandle thread(CreateThread(nullptr, 0, proc, arg, CREATE_SUSPENDED, nullptr));
  if (thread) {
    SetThreadPriority(thread.Get(), priority);
    ResumeThread(thread.Get());
  }
  return thread;
}

void JoinThread(KernelHandle& thread, const std::function<void()>& cancel) {
  if (!thread) return;
  constexpr DWORD kCancelAgainMs = 20;
  HANDLE handle = thread.Get();
  DWORD lastCancel = GetTickCount();
  cancel();
  for (;;) {
    const DWORD r = MsgWaitForMultipleObjects(1, &handle, FALSE, kCancelAgainMs, QS_SENDMESSAGE);
    if (r == WAIT_OBJECT_0) break;
    if (r == WAIT_OBJECT_0 + 1) {
      MSG msg;  // only sent messages are dispatched by peeking; posted ones stay queued
      PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    } else if (r == WAIT_FAILED) {
      WaitForSingleObject(handle, INFINITE);  // cannot happen with a valid handle; still never leave early
      break;
    }
    if (GetTickCount() - lastCancel >= kCancelAgainMs) {
      lastCancel = GetTickCount();
      cancel();
    }
  }
  thread.Reset();
}

std::string SystemErrorText(DWORD error) {
  char* text = nullptr;
  DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                           reinterpret_cast<char*>(&text), 0, nullptr);
  std::string s = n && text ? std::string(text, n) : "Error " + std::to_string(error);
  if (text) LocalFree(text);
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
  return s;
}

UINT CloseRequestMessage() {
  static const UINT message = RegisterWindowMessageA(kCloseRequestName);
  return message;
}

namespace {
BOOL CALLBACK CloseIfOpenBox(HWND w, LPARAM except) {
  char cls[16] = {};
  GetClassNameA(w, cls, sizeof cls);
  const bool box = lstrcmpA(cls, "#32770") == 0 && (GetWindowLongA(w, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
  if (box && w != reinterpret_cast<HWND>(except) && IsWindowVisible(w)) PostMessageA(w, WM_CLOSE, 0, 0);
  return TRUE;
}
}  // namespace

void CloseOpenBoxes(HWND except) {
  EnumThreadWindows(GetCurrentThreadId(), CloseIfOpenBox, reinterpret_cast<LPARAM>(except));
}

}  // namespace winui
