#include "hxcpl/shell_extension.h"

#include <new>

#include "device/trace.h"
#include "hxcpl/module.h"
#include "hxcpl/texts.h"
#include "resources/hxcpl/resource.h"

namespace hxcpl {

namespace {

LPWSTR ResourceName(int id) { return reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(id)); }

void FillPage(DIGCPAGEINFO& info, CExternalDialog& page) {
  info.dwSize = sizeof info;
  info.fpPageProc = DummyDlgProc;
  info.hInstance = ModuleInstance();
  info.lpwszTemplate = ResourceName(page.DialogId());
  info.lParam = reinterpret_cast<LPARAM>(&page);
}

}  // namespace

CShellExtension::CShellExtension() {
  signature_ = kShellExtensionSignature;
  Trace(text::kConstructed);
  Trace(text::kEnableAutomation);
  Trace(text::kLockApp);
  LockModule();
  pageInfo_ = nullptr;
  page1_ = new (std::nothrow) CPage1;
  page2_ = new (std::nothrow) CPage2;
  if (page1_ && page2_) {
    page1_->SetSheetPages({page1_, page2_});
    page2_->SetSheetPages({page1_, page2_});
  }
}

CShellExtension::~CShellExtension() {
  Trace(text::kDestructed);
  signature_ = 0;
  delete[] pageInfo_;
  if (page1_) page1_->Release();
  if (page2_) page2_->Release();
  UnlockModule();
}

HRESULT CShellExtension::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
    *out = static_cast<IDispatch*>(this);
  } else if (IsEqualIID(iid, IID_IDIGameCntrlPropSheet)) {
    *out = &xDIGameCntrlPropSheet_;
  } else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG CShellExtension::AddRef() { return ++references_; }

ULONG CShellExtension::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT CShellExtension::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT CShellExtension::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT CShellExtension::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return DISP_E_UNKNOWNNAME; }

HRESULT CShellExtension::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT CShellExtension::XDIGameCntrlPropSheet::GetSheetInfo(LPDIGCSHEETINFO* sheetInfo) {
  Trace(text::kGetSheetInfo);
  if (!sheetInfo) return E_POINTER;
  DIGCSHEETINFO& info = outer_.sheetInfo_;
  info.dwSize = sizeof info;
  info.nNumPages = 2;
  info.lpwszSheetCaption = ResourceName(IDS_SHEET_CAPTION);
  info.fSheetIconFlag = TRUE;
  info.lpwszSheetIcon = ResourceName(IDI_SHEET);
  *sheetInfo = &info;
  return S_OK;
}

// Built once and handed out on every call: the control panel may keep the first pointer.
HRESULT CShellExtension::XDIGameCntrlPropSheet::GetPageInfo(LPDIGCPAGEINFO* pageInfo) {
  Trace(text::kGetPageInfo);
  if (!pageInfo) return E_POINTER;
  if (!outer_.page1_ || !outer_.page2_) return E_OUTOFMEMORY;
  if (!outer_.pageInfo_) {
    DIGCPAGEINFO* pages = new (std::nothrow) DIGCPAGEINFO[2]();
    if (!pages) return E_OUTOFMEMORY;
    FillPage(pages[0], *outer_.page1_);
    FillPage(pages[1], *outer_.page2_);
    outer_.pageInfo_ = pages;
  }
  *pageInfo = outer_.pageInfo_;
  return S_OK;
}

HRESULT CShellExtension::XDIGameCntrlPropSheet::SetID(USHORT id) {
  Trace(text::kSetId);
  outer_.controllerId_ = id;
  return S_OK;
}

USHORT CShellExtension::XDIGameCntrlPropSheet::GetID() {
  Trace(text::kGetId);
  return outer_.controllerId_;
}

}  // namespace hxcpl
