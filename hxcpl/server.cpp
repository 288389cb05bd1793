// The DLL's entry points: its start and end, the class factory and the six exports.
#include <windows.h>
#include <objbase.h>

#include <atomic>
#include <new>

#include "device/trace.h"
#include "hxcpl/module.h"
#include "hxcpl/registration.h"
#include "hxcpl/shell_extension.h"
#include "hxcpl/texts.h"
#include "winui/dialog.h"

namespace hxcpl {
namespace {

class ClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  // One static factory for the life of the DLL; a client that holds it keeps the DLL loaded.
  ULONG STDMETHODCALLTYPE AddRef() override {
    LockModule();
    return ++references_;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    UnlockModule();
    return --references_;
  }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* object = new (std::nothrow) CShellExtension;
    if (!object) return E_OUTOFMEMORY;
    const HRESULT result = object->QueryInterface(iid, out);
    object->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock)
      AddServerLock();
    else
      RemoveServerLock();
    return S_OK;
  }

 private:
  std::atomic<ULONG> references_{0};
};

ClassFactory gFactory;

}  // namespace
}  // namespace hxcpl

using namespace hxcpl;

// CShellxApp: the DLL's application object holds nothing; its start and end are these.
extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    SetModuleInstance(module);
    winui::SetResourceModule(module);
    DisableThreadLibraryCalls(module);
    Trace(text::kInitInstance);
  } else if (reason == DLL_PROCESS_DETACH) {
    Trace(text::kExitInstance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
  Trace(text::kDllGetClassObject);
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(clsid, CLSID_ShellExtension)) return CLASS_E_CLASSNOTAVAILABLE;
  return gFactory.QueryInterface(iid, out);
}

STDAPI DllCanUnloadNow() {
  Trace(text::kDllCanUnloadNow);
  return CanUnload() ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
  Trace(text::kDllRegisterServer);
  return RegisterShellExtension();
}

STDAPI DllUnregisterServer() {
  Trace(text::kDllUnregisterServer);
  UnregisterShellExtension();
  return S_OK;
}

// Run by installers with a window, instance, command line and show flag, all unused.
extern "C" HRESULT STDAPICALLTYPE RegisterServer(HWND, HINSTANCE, LPSTR, int) {
  Trace(text::kRegisterServer);
  return DllRegisterServer();
}

extern "C" HRESULT STDAPICALLTYPE UnregisterServer(HWND, HINSTANCE, LPSTR, int) {
  Trace(text::kUnregisterServer);
  return DllUnregisterServer();
}
