#pragma once
// The game-controller control panel's property-sheet interface and its two records, as the
// control panel calls and reads them. Declared here from their published description; the
// control panel reads the records by layout, so both layouts are pinned below.
#include <windows.h>
#include <objbase.h>

#include <cstddef>

// {7854FB22-8EE3-11D0-A1AC-0000F8026977}
constexpr IID IID_IDIGameCntrlPropSheet = {
    0x7854FB22, 0x8EE3, 0x11D0, {0xA1, 0xAC, 0x00, 0x00, 0xF8, 0x02, 0x69, 0x77}};

// What the sheet looks like: its page count, caption and icon (resource ids in the pages'
// module, passed as MAKEINTRESOURCE values).
struct DIGCSHEETINFO {
  DWORD dwSize;
  USHORT nNumPages;
  LPWSTR lpwszSheetCaption;
  BOOL fSheetIconFlag;
  LPWSTR lpwszSheetIcon;
};
using LPDIGCSHEETINFO = DIGCSHEETINFO*;

// One page: the control panel creates the page window from these.
struct DIGCPAGEINFO {
  DWORD dwSize;
  LPWSTR lpwszPageTitle;
  DLGPROC fpPageProc;
  BOOL fProcFlag;
  DLGPROC fpPrePostProc;
  BOOL fIconFlag;
  LPWSTR lpwszPageIcon;
  LPWSTR lpwszTemplate;
  LPARAM lParam;
  HINSTANCE hInstance;
};
using LPDIGCPAGEINFO = DIGCPAGEINFO*;

struct IDIGameCntrlPropSheet : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetSheetInfo(LPDIGCSHEETINFO* sheetInfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPageInfo(LPDIGCPAGEINFO* pageInfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetID(USHORT id) = 0;
  virtual USHORT STDMETHODCALLTYPE GetID() = 0;
};

// 32-bit: 20 and 40 bytes, every member 4 bytes wide. 64-bit: pointers and LPARAM are 8 bytes
// and align to 8, so the 16- and 32-bit members in front of them are padded.
#if defined(_WIN64)
static_assert(sizeof(DIGCSHEETINFO) == 32 && offsetof(DIGCSHEETINFO, lpwszSheetCaption) == 8 &&
              offsetof(DIGCSHEETINFO, fSheetIconFlag) == 16 && offsetof(DIGCSHEETINFO, lpwszSheetIcon) == 24);
static_assert(sizeof(DIGCPAGEINFO) == 80 && offsetof(DIGCPAGEINFO, lpwszPageTitle) == 8 &&
              offsetof(DIGCPAGEINFO, fpPageProc) == 16 && offsetof(DIGCPAGEINFO, fProcFlag) == 24 &&
              offsetof(DIGCPAGEINFO, fpPrePostProc) == 32 && offsetof(DIGCPAGEINFO, fIconFlag) == 40 &&
              offsetof(DIGCPAGEINFO, lpwszPageIcon) == 48 && offsetof(DIGCPAGEINFO, lpwszTemplate) == 56 &&
              offsetof(DIGCPAGEINFO, lParam) == 64 && offsetof(DIGCPAGEINFO, hInstance) == 72);
#else
static_assert(sizeof(DIGCSHEETINFO) == 20 && offsetof(DIGCSHEETINFO, lpwszSheetCaption) == 8 &&
              offsetof(DIGCSHEETINFO, fSheetIconFlag) == 12 && offsetof(DIGCSHEETINFO, lpwszSheetIcon) == 16);
static_assert(sizeof(DIGCPAGEINFO) == 40 && offsetof(DIGCPAGEINFO, lpwszPageTitle) == 4 &&
              offsetof(DIGCPAGEINFO, fpPageProc) == 8 && offsetof(DIGCPAGEINFO, fProcFlag) == 12 &&
              offsetof(DIGCPAGEINFO, fpPrePostProc) == 16 && offsetof(DIGCPAGEINFO, fIconFlag) == 20 &&
              offsetof(DIGCPAGEINFO, lpwszPageIcon) == 24 && offsetof(DIGCPAGEINFO, lpwszTemplate) == 28 &&
              offsetof(DIGCPAGEINFO, lParam) == 32 && offsetof(DIGCPAGEINFO, hInstance) == 36);
#endif
