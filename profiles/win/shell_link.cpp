#include "profiles/win/shell_link.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "device/trace.h"
#include "winui/dialog.h"

namespace {

constexpr UINT kProgramTitleString = 57344;  // each program's title string
constexpr char kFallbackTitle[] = "Hxprofiler";

constexpr char kTraceDrop[] = "Drop detected.  Resolving...\n";
constexpr char kTraceRecast[] = "Re-casting results into CStrings...\n";
constexpr char kTraceResolved[] = "Resolution successful.\n";

constexpr char kNoShell[] = "Could not open a link to the shell.";
constexpr char kNoInterface[] = "Cannot query the shell's interface.";
constexpr char kNoData[] = "Cannot obtain data from the shell.";
constexpr char kNotResolved[] = "Could not resolve .exe from the icon that you dropped.";

// The few COM pointers here, released however the resolution ends.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T* operator->() const { return p_; }
  void** Out() { return reinterpret_cast<void**>(&p_); }

 private:
  T* p_ = nullptr;
};

bool Fail(HWND owner, const char* text) {
  MessageBoxA(owner, text, ProgramTitle().c_str(), MB_OK);
  return false;
}

// A result is text up to its zero, whatever the buffer holds after it.
void Take(const char* buffer, std::string& into, bool recastTraces) {
  if (recastTraces) Trace(kTraceRecast);
  into.assign(buffer, strnlen(buffer, MAX_PATH));
}

}  // namespace

std::string ProgramTitle() {
  char title[256] = {};
  if (LoadStringA(winui::ResourceModule(), kProgramTitleString, title, sizeof title) <= 0) return kFallbackTitle;
  return title;
}

bool ResolveShortcut(const std::string& file, HWND owner, ShortcutTarget& target, bool recastTraces) {
  Trace(kTraceDrop);
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.Out())))
    return Fail(owner, kNoShell);
  ComPtr<IPersistFile> persist;
  if (FAILED(link->QueryInterface(IID_IPersistFile, persist.Out()))) return Fail(owner, kNoInterface);

  WCHAR wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
  wide[MAX_PATH - 1] = L'\0';
  if (FAILED(persist->Load(wide, STGM_READ))) return Fail(owner, kNoData);
  if (FAILED(link->Resolve(owner, 0))) return Fail(owner, kNotResolved);

  char buffer[MAX_PATH + 1] = {};
  WIN32_FIND_DATAA found = {};
  if (SUCCEEDED(link->GetPath(buffer, MAX_PATH, &found, SLGP_UNCPRIORITY))) Take(buffer, target.path, recastTraces);
  char description[MAX_PATH + 1] = {};
  link->GetDescription(description, MAX_PATH);  // asked for, never used
  buffer[0] = '\0';
  if (SUCCEEDED(link->GetWorkingDirectory(buffer, MAX_PATH))) Take(buffer, target.directory, recastTraces);
  buffer[0] = '\0';
  if (SUCCEEDED(link->GetArguments(buffer, MAX_PATH))) Take(buffer, target.arguments, recastTraces);
  Trace(kTraceResolved);
  return true;
}
