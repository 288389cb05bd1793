#pragma once
// Dots per inch of a window or monitor. The programs are per-monitor DPI aware by their
// manifests; the functions that tell a monitor's or a window's own scale came with later
// systems (and Wine may lack them), so they are looked up at run time, and without them the
// answer is the system DPI, which is then every monitor's.
#include <windows.h>

namespace winui {

int SystemDpi();
int MonitorDpi(HMONITOR monitor);
int WindowDpi(HWND window);
// `length` pixels at 96 DPI in pixels at `dpi`, rounded as MulDiv rounds.
inline int Scale(int length, int dpi) { return MulDiv(length, dpi, 96); }

}  // namespace winui
