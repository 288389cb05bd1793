#pragma once
// What the Win32 tests share: answering messages while waiting for a condition, counting a
// process's threads, and a tracker that stalls its readers.
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "winui/dpi.h"
#include "hxsim/win/sim_client.h"
#include "winui/dialog.h"
#include "winui/handles.h"

// The height of `list`'s first row as the running list lays it out (a list box, a report
// list view, or the drop-down of a combo box), or -1 without rows.
inline int RowHeight(HWND list) {
  char cls[32] = {};
  GetClassNameA(list, cls, sizeof cls);
  RECT r = {};
  if (lstrcmpiA(cls, WC_LISTVIEWA) == 0)
    return ListView_GetItemCount(list) > 0 && ListView_GetItemRect(list, 0, &r, LVIR_BOUNDS) ? r.bottom - r.top : -1;
  if (lstrcmpiA(cls, WC_COMBOBOXEXA) == 0) {
    list = reinterpret_cast<HWND>(SendMessageA(list, CBEM_GETCOMBOCONTROL, 0, 0));
    lstrcpyA(cls, "ComboBox");
  }
  if (lstrcmpiA(cls, "ComboBox") == 0) {
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(list, &info)) return -1;
    list = info.hwndList;
  }
  return SendMessageA(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)) == LB_ERR ? -1 : r.bottom - r.top;
}
// The least row height a head can hit: 24 pixels at 96 DPI, scaled with the DPI.
inline int HeadRow() { return 24 * winui::SystemDpi() / 96; }
struct SmallestControl {
  int width = 1 << 30, height = 1 << 30;
};
inline BOOL CALLBACK NoteControl(HWND c, LPARAM param) {
  auto& s = *reinterpret_cast<SmallestControl*>(param);
  char cls[32] = {};
  GetClassNameA(c, cls, sizeof cls);
  const LONG style = GetWindowLongA(c, GWL_STYLE);
  const bool button = lstrcmpiA(cls, "Button") == 0 && (style & 0x0F) != BS_GROUPBOX;
  RECT r;
  if (IsWindowVisible(c) && (button || (style & WS_TABSTOP)) && GetWindowRect(c, &r) && r.bottom - r.top < s.height)
    s.width = r.right - r.left, s.height = r.bottom - r.top;
  return TRUE;
}
// Writes the smallest button, box or list of `dialog` at any depth (what a rest must hit),
// for the record.
inline void WriteSmallestControl(HWND dialog, const char* what) {
  SmallestControl smallest;
  EnumChildWindows(dialog, NoteControl, reinterpret_cast<LPARAM>(&smallest));
  std::printf("measured at %d DPI: smallest control of %s %d x %d px\n", winui::SystemDpi(), what, smallest.width,
              smallest.height);
}
// Checks that `list`'s rows are at least HeadRow high, and writes what it measured.
inline void ExpectHeadRows(HWND list, const char* what) {
  const int height = RowHeight(list);
  std::printf("measured at %d DPI: rows of %s %d px\n", winui::SystemDpi(), what, height);
  EXPECT_GE(height, HeadRow()) << what;
}

// Answers messages until `done` returns true; false after `ms` without it.
inline bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  return true;
}

// A rest on a (horizontal) slider's track as the head makes one: a real left click on the
// channel near its right end, level with it, so the thumb must be left of there. Answers
// messages until the thumb has moved and the slider has let the mouse go again; false if
// another window covers that point or that never happens.
inline bool RestOnTrack(HWND slider) {
  RECT channel = {};
  SendMessageA(slider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  POINT at = {channel.right - 6, (channel.top + channel.bottom) / 2};
  ClientToScreen(slider, &at);
  if (WindowFromPoint(at) != slider) return false;
  const LRESULT before = SendMessageA(slider, TBM_GETPOS, 0, 0);
  SetCursorPos(at.x, at.y);
  INPUT click[2] = {};
  click[0].type = click[1].type = INPUT_MOUSE;
  click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  if (SendInput(2, click, sizeof(INPUT)) != 2) return false;
  return PumpUntil([&] { return SendMessageA(slider, TBM_GETPOS, 0, 0) != before && GetCapture() != slider; });
}

// A dialog of this thread opened modeless and in front (after `prepare`, if given): one rest on
// `slider`'s track moves its thumb exactly one page, then OK ends the dialog.
inline void RestOnTrackThenOk(winui::Dialog& dialog, int slider, const std::function<void(HWND)>& prepare) {
  ASSERT_TRUE(dialog.Create());
  HWND d = dialog.hwnd();
  if (prepare) prepare(d);
  ShowWindow(d, SW_SHOW);
  SetForegroundWindow(d);
  HWND s = GetDlgItem(d, slider);
  const LRESULT page = SendMessageA(s, TBM_GETPAGESIZE, 0, 0), before = SendMessageA(s, TBM_GETPOS, 0, 0);
  ASSERT_TRUE(RestOnTrack(s));
  EXPECT_EQ(SendMessageA(s, TBM_GETPOS, 0, 0), before + page);
  SendMessageA(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
  ASSERT_EQ(dialog.hwnd(), nullptr);
}

// A slider of a dialog made afresh, for one rest on its track: the value the dialog hands back
// after OK, and what that must be.
struct SliderRest {
  const char* what;
  std::function<std::unique_ptr<winui::Dialog>()> make;
  int slider;
  std::function<int(const winui::Dialog&)> kept;
  int after;
};
inline void RestOnEachTrack(const std::vector<SliderRest>& rows, const std::function<void(HWND)>& prepare = {}) {
  for (const SliderRest& row : rows) {
    SCOPED_TRACE(row.what);
    auto dialog = row.make();
    ASSERT_NO_FATAL_FAILURE(RestOnTrackThenOk(*dialog, row.slider, prepare));
    EXPECT_EQ(row.kept(*dialog), row.after);
  }
}

inline int ThreadsOf(DWORD process) {
  KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry))
    count += entry.th32OwnerProcessID == process;
  return count;
}
inline int ThreadsOfThisProcess() { return ThreadsOf(GetCurrentProcessId()); }

// The integer position reads the simulator answered since the last `log`.
inline int PositionReads(SimProcess& sim) {
  const std::string log = sim.Control("log"), name = "IOCTL_GET_POSITION";
  int total = 0;
  for (size_t p = log.find(name); p != std::string::npos; p = log.find(name, p + 1))
    total += log[p + name.size()] == '*' ? std::atoi(log.c_str() + p + name.size() + 1) : 1;
  return total;
}

// Stalls the simulated tracker for ten seconds, as a hung driver would, and waits until
// `readers` position reads wait in the stall, answering messages meanwhile.
inline bool StallReaders(SimProcess& sim, int readers = 1) {
  if (sim.Control("stall 10000") != "ok") return false;
  return PumpUntil([&] { return sim.Control("stalled") == "ok " + std::to_string(readers); }, 5000);
}

// How many milliseconds `act` takes.
inline DWORD MillisecondsFor(const std::function<void()>& act) {
  const DWORD start = GetTickCount();
  act();
  return GetTickCount() - start;
}
