#include "qmouse/win/progress_bar.h"

#include "resources/qmouse/resource.h"
#include "winui/handles.h"

namespace {

// The window DC of another thread's window, released on every path.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Keeps an object selected into a DC for one scope.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~Selection() { SelectObject(dc_, previous_); }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace

ProgressBar::ProgressBar(Indicator direction)
    : winui::Dialog(direction == Indicator::Horizontal ? IDD_PROGRESS_HORZ : IDD_PROGRESS_VERT),
      direction_(direction) {}

// Painted from the cursor thread through GetDC rather than in WM_PAINT: the UI thread may be
// busy, and the fill must keep pace with the readings.
int ProgressBar::Progress(int elapsed, int dwellTime) {
  RECT client = {};
  if (!hwnd() || !GetClientRect(hwnd(), &client)) return 0;
  const bool horizontal = direction_ == Indicator::Horizontal;
  const int size = horizontal ? client.right : client.bottom;
  const int fill = ProgressFill(size, elapsed, dwellTime);
  filled_.store(fill, std::memory_order_relaxed);

  WindowDc dc(hwnd());
  if (dc.Get() && fill > 0) {
    const COLORREF color = Color();
    GdiObject pen(CreatePen(PS_SOLID, 1, color));
    GdiObject brush(CreateSolidBrush(color));
    if (pen && brush) {
      Selection usePen(dc.Get(), pen.Get());
      Selection useBrush(dc.Get(), brush.Get());
      if (horizontal)
        Rectangle(dc.Get(), 0, 0, fill, client.bottom);
      else
        Rectangle(dc.Get(), 0, size - fill, client.right, size);
    }
  }
  return size - fill;
}

// A bar that appears again starts empty; the erase that follows clears what was painted.
// Left unhandled so that the default processing still runs.
bool ProgressBar::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (msg == WM_SHOWWINDOW && wp) filled_.store(0, std::memory_order_relaxed);
  // Sized in pixels for its monitor at every show (ScreenMeasures): the system's own
  // rescaling on a move to a monitor of another scale would undo that.
  if (msg == WM_DPICHANGED) {
    result = 0;
    return true;
  }
  return false;
}

Win32Indicators::Win32Indicators() : horizontal_(Indicator::Horizontal), vertical_(Indicator::Vertical) {}

bool Win32Indicators::Create(HWND owner) {
  const bool ok = horizontal_.Create(owner) && vertical_.Create(owner);
  if (!ok) Destroy();
  return ok;
}

void Win32Indicators::Destroy() {
  horizontal_.Destroy();
  vertical_.Destroy();
}

void Win32Indicators::Show(Indicator which, const Rect& bounds, int32_t color) {
  ProgressBar& bar = Bar(which);
  if (!bar.hwnd()) return;
  bar.SetColor(static_cast<COLORREF>(color));
  // Never activated: the user is dwelling on someone else's window. Placed first, then shown
  // with ShowWindow, because SWP_SHOWWINDOW sends no WM_SHOWWINDOW and the bar would not
  // start empty.
  SetWindowPos(bar.hwnd(), HWND_TOPMOST, bounds.left, bounds.top, bounds.Width(), bounds.Height(),
               SWP_NOACTIVATE);
  ShowWindow(bar.hwnd(), SW_SHOWNA);
}

void Win32Indicators::Hide(Indicator which) {
  ProgressBar& bar = Bar(which);
  if (bar.hwnd()) ShowWindow(bar.hwnd(), SW_HIDE);
}

int32_t Win32Indicators::Progress(Indicator which, int32_t elapsed, int32_t dwellTime) {
  return Bar(which).Progress(elapsed, dwellTime);
}
