// A stand-in on-screen keyboard for the name dialog's tests: a wide top-level window in the
// middle of the work area, where a dialog in the middle of the screen is. STAND_IN_KEYBOARD
// "stays": it refuses to be moved, as a keyboard running with higher rights does; "hangs": asked
// to move, it stops answering for half a minute. It ends when closed, or by itself after a
// minute should a test not get that far.
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {
bool gStays = false, gHangs = false;

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_WINDOWPOSCHANGING && !(reinterpret_cast<WINDOWPOS*>(lp)->flags & SWP_NOMOVE)) {
    if (gStays) reinterpret_cast<WINDOWPOS*>(lp)->flags |= SWP_NOMOVE;
    if (gHangs) Sleep(30000);
  }
  if (msg == WM_TIMER) DestroyWindow(w);
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(w, msg, wp, lp);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  const char* mode = std::getenv("STAND_IN_KEYBOARD");
  gStays = mode && std::strcmp(mode, "stays") == 0;
  gHangs = mode && std::strcmp(mode, "hangs") == 0;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  wc.lpszClassName = "StandInKeyboard";
  RegisterClassA(&wc);
  RECT work = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int width = 600, height = 220;
  HWND w = CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "Stand-in keyboard", WS_POPUP | WS_CAPTION,
                           (work.left + work.right - width) / 2, (work.top + work.bottom - height) / 2, width, height,
                           nullptr, nullptr, instance, nullptr);
  ShowWindow(w, show);
  SetTimer(w, 1, 60000, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
