#include "qmouse/win/run_key.h"

#include <windows.h>

#include "qmouse/texts.h"
#include "winui/app.h"
#include "winui/handles.h"

namespace {

bool Check(LONG status, const ErrorReporter& report) {
  if (status == ERROR_SUCCESS) return true;
  report(winui::SystemErrorText(static_cast<DWORD>(status)));
  return false;
}

bool OpenRunKey(REGSAM access, RegKey& key, const ErrorReporter& report) {
  HKEY raw = nullptr;
  if (!Check(RegOpenKeyExA(HKEY_LOCAL_MACHINE, texts::kRunKey, 0, access, &raw), report)) return false;
  key.Reset(raw);
  return true;
}

bool CloseRunKey(RegKey& key, const ErrorReporter& report) {
  return Check(RegCloseKey(key.Release()), report);
}

}  // namespace

bool ReadStartupAtBoot(const ErrorReporter& report) {
  RegKey key;
  if (!OpenRunKey(KEY_QUERY_VALUE, key, report)) return false;
  const bool present = RegQueryValueExA(key.Get(), texts::kRunValue, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  CloseRunKey(key, report);
  return present;
}

// Quoted, so that a path with spaces ("Program Files") is not cut at the first one.
std::string RunCommand() {
  char path[MAX_PATH * 4] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  return "\"" + std::string(path, n < sizeof path ? n : 0) + "\"";
}

bool WriteStartupAtBoot(bool on, const std::string& command, const ErrorReporter& report) {
  RegKey key;
  if (!OpenRunKey(KEY_ALL_ACCESS, key, report)) return false;
  bool ok;
  if (on) {
    // With its terminating zero, so every reader gets a proper string.
    ok = Check(RegSetValueExA(key.Get(), texts::kRunValue, 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(command.c_str()),
                              static_cast<DWORD>(command.size() + 1)),
               report);
  } else {
    ok = Check(RegDeleteValueA(key.Get(), texts::kRunValue), report);
  }
  return CloseRunKey(key, report) && ok;
}
