#pragma once
// The two dwell progress indicators. They belong to the UI thread, which creates them hidden;
// the cursor thread shows, places, paints and hides them.
#include <windows.h>

#include <atomic>

#include "qmouse/dwell_seams.h"
#include "winui/dialog.h"

class ProgressBar : public winui::Dialog {
 public:
  explicit ProgressBar(Indicator direction);

  void SetColor(COLORREF color) { color_.store(color, std::memory_order_relaxed); }
  COLORREF Color() const { return color_.load(std::memory_order_relaxed); }
  // Pixels filled so far; empty again whenever the window is shown.
  int Filled() const { return filled_.load(std::memory_order_relaxed); }

  // Paints the part filled after `elapsed` readings of `dwellTime`; returns the pixels
  // still unfilled along the bar.
  int Progress(int elapsed, int dwellTime);

 protected:
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  Indicator direction_;
  // Written by the cursor thread, reset by the UI thread on WM_SHOWWINDOW.
  std::atomic<COLORREF> color_{0};
  std::atomic<int> filled_{0};
};

class Win32Indicators : public DwellIndicators {
 public:
  Win32Indicators();
  // On the UI thread: creates both indicators hidden, owned by `owner`.
  [[nodiscard]] bool Create(HWND owner);
  void Destroy();

  ProgressBar& Bar(Indicator which) { return which == Indicator::Horizontal ? horizontal_ : vertical_; }

  void Show(Indicator which, const Rect& bounds, int32_t color) override;
  void Hide(Indicator which) override;
  int32_t Progress(Indicator which, int32_t elapsed, int32_t dwellTime) override;

 private:
  ProgressBar horizontal_, vertical_;
};
