#include "profiles/win/profile_folder.h"

#include <windows.h>
#include <shlobj.h>

namespace {

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Writing is the only sure test: rights, virtualisation and read-only media all decide it.
bool CanWriteIn(const std::string& folder) {
  if (!IsFolder(folder)) return false;
  const std::string probe = folder + "\\~write-check-" + std::to_string(GetCurrentProcessId()) + ".tmp";
  const HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

}  // namespace

std::string ChooseProfileFolder(const std::string& fixed, const std::string& personal) {
  if (CanWriteIn(fixed)) return fixed;
  if (personal.empty()) return "";
  CreateDirectoryA(personal.c_str(), nullptr);  // may exist already
  return IsFolder(personal) ? personal : "";
}

std::string PersonalProfileFolder() {
  char documents[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, documents)))
    return "";
  return std::string(documents) + "\\Quellan Mouse";
}

bool EnterProfileFolder(const char* fixed) {
  const std::string folder = ChooseProfileFolder(fixed, PersonalProfileFolder());
  return !folder.empty() && SetCurrentDirectoryA(folder.c_str());
}
