#pragma once
// Dots per inch of a monitor. The programs are per-monitor DPI aware by their manifests;
// the function that tells a monitor's own scale came with Windows 8.1 (and Wine may lack
// it), so it is looked up at run time, and without it the answer is the system DPI, which
// is then every monitor's.
#include <windows.h>

namespace winui {

int SystemDpi();
int MonitorDpi(HMONITOR monitor);

}  // namespace winui
