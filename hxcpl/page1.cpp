#include "hxcpl/page1.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "device/trace.h"
#include "hxcpl/module.h"
#include "hxcpl/texts.h"
#include "resources/hxcpl/resource.h"
#include "winui/app.h"

namespace hxcpl {

namespace {

struct Bar {
  int id;
  int low, high;
};
// In axis order: X, Y, Z, RX, RY (shown negated).
constexpr Bar kBars[5] = {{IDC_BAR_X, -500, 500},
                          {IDC_BAR_Y, -500, 500},
                          {IDC_BAR_Z, 0, 1000},
                          {IDC_BAR_RX, -500, 500},
                          {IDC_BAR_RY, -500, 500}};

// Towards zero. A value no bar can show is cut first: converting it as it is would be undefined.
int32_t Truncate(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<int32_t>(std::clamp(value, -1e9, 1e9));
}

}  // namespace

CPage1::~CPage1() { StopReader(); }

int CPage1::DialogId() const { return IDD_OUTPUTS; }

BOOL CPage1::OnInitDialog() {
  Trace(text::kPage1Init);
  if (link_.GetHardwareStatus() == 0) {
    Box(text::kNoHardware, MB_OK);
    EndDialog(hwnd(), -1);
  }
  calibrated_ = link_.IsCalibrated() ? 1 : 0;
  killswitch_ = 0;
  Trace(text::kPage1Checked);
  for (int i = 0; i < 5; ++i) {
    bars_[i] = Item(kBars[i].id);
    SendMessageA(bars_[i].load(), PBM_SETRANGE32, kBars[i].low, kBars[i].high);
  }
  Trace(text::kStartingThread);
  StartReader();
  return TRUE;
}

bool CPage1::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_DESTROY) {
    Trace(text::kPage1Destroy);
    result = Default(msg, wp, lp);
    StopReader();
    return true;
  }
  if (msg == WM_CLOSE) {
    Trace(text::kPage1Destroy);
    killswitch_ = 1;
    result = Default(msg, wp, lp);
    return true;
  }
  return false;
}

// One reader per page, and the page object outlives it.
void CPage1::StartReader() {
  StopReader();
  cancel_.Rearm();
  killswitch_ = 0;
  reader_ = StartModuleThread(GetPositionDouble, this);
}

// The reader sets the bars with sent messages; JoinThread keeps answering those.
void CPage1::StopReader() {
  killswitch_ = 1;
  winui::JoinThread(reader_, [this] { cancel_.Cancel(); });
}

DWORD WINAPI CPage1::GetPositionDouble(void* page) {
  EndModuleThread(static_cast<CPage1*>(page)->ReadUntilKilled());
}

DWORD CPage1::ReadUntilKilled() {
  while (killswitch_ == 0) {
    HxPositionDouble position;
    if (!link_.GetFloatPosition(position)) {
      if (link_.Cancelled()) break;  // the page's stop
      Trace(text::kReadFailure);
      return static_cast<DWORD>(-1);
    }
    const double values[5] = {position.X, position.Y, position.Z, position.RX, -position.RY};
    for (int i = 0; i < 5; ++i) axes_[i] = Truncate(values[i]);
    if (killswitch_ != 0) {
      Trace(text::kKillswitchInside);
      return 0;
    }
    for (int i = 0; i < 5; ++i) SendMessageA(bars_[i].load(), PBM_SETPOS, static_cast<WPARAM>(axes_[i].load()), 0);
  }
  Trace(text::kKillswitch);
  return 0;
}

}  // namespace hxcpl
