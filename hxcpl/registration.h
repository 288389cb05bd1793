#pragma once
// The class's entries in the registry: class key, in-process server, handler and approval.
#include <windows.h>

#include <string>

namespace hxcpl {

// "{58347d7f-...}": the class id as the system's UUID conversion writes it, in braces.
std::string ClassKeyName();
// S_OK, or E_FAIL when the class key cannot be created; later failures are not reported.
HRESULT RegisterShellExtension();
// Removes whatever of the entries is there.
void UnregisterShellExtension();

}  // namespace hxcpl
