#pragma once
// The one class the control panel creates: it describes the sheet and its two pages and
// holds the page objects for as long as the control panel holds it.
#include <windows.h>
#include <oleauto.h>

#include <atomic>
#include <cstdint>

#include "hxcpl/game_controller_sheet.h"
#include "hxcpl/page1.h"
#include "hxcpl/page2.h"

namespace hxcpl {

// {58347D7F-6CB8-4E5E-B6B2-A451FD817C98}
constexpr CLSID CLSID_ShellExtension = {
    0x58347D7F, 0x6CB8, 0x4E5E, {0xB6, 0xB2, 0xA4, 0x51, 0xFD, 0x81, 0x7C, 0x98}};

constexpr uint32_t kShellExtensionSignature = 0x584C4853;  // "SHLX"

// IUnknown and an automation interface without members of its own, as the class is
// automation-enabled; the control panel's interface is the nested part.
class CShellExtension final : public IDispatch {
 public:
  CShellExtension();
  ~CShellExtension();
  CShellExtension(const CShellExtension&) = delete;
  CShellExtension& operator=(const CShellExtension&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

 private:
  class XDIGameCntrlPropSheet final : public IDIGameCntrlPropSheet {
   public:
    explicit XDIGameCntrlPropSheet(CShellExtension& outer) : outer_(outer) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override { return outer_.QueryInterface(iid, out); }
    ULONG STDMETHODCALLTYPE AddRef() override { return outer_.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return outer_.Release(); }
    HRESULT STDMETHODCALLTYPE GetSheetInfo(LPDIGCSHEETINFO* sheetInfo) override;
    HRESULT STDMETHODCALLTYPE GetPageInfo(LPDIGCPAGEINFO* pageInfo) override;
    HRESULT STDMETHODCALLTYPE SetID(USHORT id) override;
    USHORT STDMETHODCALLTYPE GetID() override;

   private:
    CShellExtension& outer_;
  };

  std::atomic<ULONG> references_{1};
  uint32_t signature_ = 0;
  DIGCSHEETINFO sheetInfo_ = {};
  DIGCPAGEINFO* pageInfo_ = nullptr;
  USHORT controllerId_ = 0;
  // Held by reference: the page windows may outlive this object.
  CPage1* page1_;
  CPage2* page2_;
  XDIGameCntrlPropSheet xDIGameCntrlPropSheet_{*this};
};

}  // namespace hxcpl
