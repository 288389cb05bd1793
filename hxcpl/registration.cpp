#include "hxcpl/registration.h"

#include <rpc.h>

#include <cstring>

#include "hxcpl/module.h"
#include "hxcpl/shell_extension.h"
#include "hxcpl/texts.h"
#include "winui/handles.h"

namespace hxcpl {

namespace {

// Under the class key; a null name is the key's default value.
struct ClassEntry {
  const char* subkey;
  const char* name;
  const char* data;  // null: the DLL's own path
};
constexpr ClassEntry kClassEntries[] = {
    {"InprocServer32", nullptr, nullptr},
    {"InprocServer32", "ThreadingModel", text::kThreadingModel},
    {"InProcHandler32", nullptr, text::kHandler},
};

RegKey CreateKey(HKEY parent, const std::string& path) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(parent, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return RegKey();
  return RegKey(key);
}

void SetString(HKEY key, const char* name, const std::string& data) {
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>(data.size() + 1));
}

std::string LowerCaseModulePath() {
  char path[MAX_PATH * 2] = {};
  GetModuleFileNameA(ModuleInstance(), path, sizeof path - 1);
  CharLowerA(path);
  return path;
}

}  // namespace

std::string ClassKeyName() {
  UUID id = CLSID_ShellExtension;
  RPC_CSTR text = nullptr;
  if (UuidToStringA(&id, &text) != RPC_S_OK) return std::string();
  std::string name = "{" + std::string(reinterpret_cast<const char*>(text)) + "}";
  RpcStringFreeA(&text);
  return name;
}

HRESULT RegisterShellExtension() {
  const std::string classKeyName = ClassKeyName();
  RegKey classKey = CreateKey(HKEY_CLASSES_ROOT, "CLSID\\" + classKeyName);
  if (!classKey) return E_FAIL;
  SetString(classKey.Get(), nullptr, text::kShortName);
  const std::string path = LowerCaseModulePath();
  for (const ClassEntry& entry : kClassEntries) {
    RegKey key = CreateKey(classKey.Get(), entry.subkey);
    if (key) SetString(key.Get(), entry.name, entry.data ? entry.data : path);
  }
  classKey.Reset();
  if (RegKey approved = CreateKey(HKEY_LOCAL_MACHINE, text::kApprovedKey))
    SetString(approved.Get(), classKeyName.c_str(), text::kShortName);
  return S_OK;
}

void UnregisterShellExtension() {
  const std::string classKeyName = ClassKeyName();
  HKEY approved = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, text::kApprovedKey, 0, KEY_ALL_ACCESS, &approved) == ERROR_SUCCESS) {
    RegKey owner(approved);
    RegDeleteValueA(owner.Get(), classKeyName.c_str());
  }
  const std::string classPath = "CLSID\\" + classKeyName;
  for (const char* subkey : {"\\InprocServer32", "\\InprocHandler32", ""})
    RegDeleteKeyA(HKEY_CLASSES_ROOT, (classPath + subkey).c_str());
}

}  // namespace hxcpl
