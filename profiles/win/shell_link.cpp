#include "profiles/win/shell_link.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <utility>
#include <vector>

#include "device/trace.h"
#include "profiles/manager_rules.h"
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
constexpr char kTooLong[] =
    "The shortcut that you dropped cannot be used: its program, start folder or arguments are too long.";

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

// Room for the longest command line Windows takes; a field that fills it may have been cut.
constexpr int kFieldChars = 32768;

// A result is text up to its zero, whatever the buffer holds after it; false when it filled
// the buffer, since the shell cuts what does not fit without saying so.
bool Take(const std::vector<char>& buffer, std::string& into, bool recastTraces) {
  if (recastTraces) Trace(kTraceRecast);
  const size_t length = strnlen(buffer.data(), buffer.size());
  if (length + 1 >= buffer.size()) return false;
  into.assign(buffer.data(), length);
  return true;
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

  std::wstring wide(file.size() + 1, L'\0');  // a character never takes more than a byte's place
  MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  if (FAILED(persist->Load(wide.c_str(), STGM_READ))) return Fail(owner, kNoData);
  if (FAILED(link->Resolve(owner, 0))) return Fail(owner, kNotResolved);

  ShortcutTarget read = target;
  std::vector<char> buffer(kFieldChars, '\0');
  WIN32_FIND_DATAA found = {};
  bool whole = true;
  if (SUCCEEDED(link->GetPath(buffer.data(), kFieldChars, &found, SLGP_UNCPRIORITY)))
    whole = Take(buffer, read.path, recastTraces);
  char description[MAX_PATH + 1] = {};
  link->GetDescription(description, MAX_PATH);  // asked for, never used
  buffer.assign(kFieldChars, '\0');
  if (whole && SUCCEEDED(link->GetWorkingDirectory(buffer.data(), kFieldChars)))
    whole = Take(buffer, read.directory, recastTraces);
  buffer.assign(kFieldChars, '\0');
  if (whole && SUCCEEDED(link->GetArguments(buffer.data(), kFieldChars)))
    whole = Take(buffer, read.arguments, recastTraces);
  if (!whole) return Fail(owner, kTooLong);
  target = std::move(read);
  Trace(kTraceResolved);
  return true;
}

bool ResolveDroppedFile(const std::string& file, HWND owner, ShortcutTarget& target, bool recastTraces) {
  if (!IsProgramFile(file)) return ResolveShortcut(file, owner, target, recastTraces);
  target = {file, FolderOf(file), ""};
  return true;
}

std::string FirstDroppedFile(HDROP drop) {
  const UINT length = DragQueryFileA(drop, 0, nullptr, 0);
  if (length == 0) return "";
  std::string name(length + 1, '\0');
  name.resize(DragQueryFileA(drop, 0, name.data(), length + 1));
  return name;
}
