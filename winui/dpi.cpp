#include "winui/dpi.h"

namespace winui {

namespace {

using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

// Looked up once; a library that is missing stays missing for the life of the process.
GetDpiForMonitorFn DpiForMonitor() {
  static const GetDpiForMonitorFn fn = [] {
    HMODULE shcore = LoadLibraryA("shcore.dll");
    return shcore ? reinterpret_cast<GetDpiForMonitorFn>(reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                  : nullptr;
  }();
  return fn;
}

bool Plausible(UINT dpi) { return dpi >= 48 && dpi <= 960; }

}  // namespace

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return Plausible(static_cast<UINT>(dpi)) ? dpi : 96;
}

int MonitorDpi(HMONITOR monitor) {
  UINT x = 0, y = 0;
  constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI: the user's scale setting
  if (monitor && DpiForMonitor() && SUCCEEDED(DpiForMonitor()(monitor, kEffectiveDpi, &x, &y)) && Plausible(y))
    return static_cast<int>(y);
  return SystemDpi();
}

}  // namespace winui
