// qmouse on opentrack's "UDP over network" poses: the time from a datagram's send to the
// cursor's move, beside the time for a link of this process to read the same pose (the
// shared newest pose alone), at 100 datagrams a second; and stretches at 100/s and under a
// flood, framed by "begin NAME" / "end NAME" lines for tools/bench to read qmouse's CPU.
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "bench/lag.h"
#include "device/hx_mouse.h"
#include "device/opentrack_pose.h"
#include "device/tracker_choice.h"
#include "hxsim/win/sim_client.h"
#include "tests/e2e/pose_sender.h"
#include "tests/e2e/program.h"

namespace {

constexpr int kPort = 47426;

struct Sender {
  SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  sockaddr_in to = {};
  Sender() {
    to.sin_family = AF_INET;
    to.sin_port = htons(kPort);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  }
  ~Sender() { closesocket(s); }
  void Send(double yaw) {
    uint8_t d[kOpentrackDatagramSize];
    EncodeOpentrackDatagram({0, 0, 0, yaw, 0, 0}, d);
    sendto(s, reinterpret_cast<const char*>(d), sizeof d, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
  }
};

POINT Cursor() {
  POINT p = {};
  GetCursorPos(&p);
  return p;
}

void Report(const char* name, std::vector<double>& ms, int of) {
  if (ms.empty()) {
    std::printf("%s: nothing measured\n", name);
    return;
  }
  std::sort(ms.begin(), ms.end());
  std::printf("%s: %zu of %d datagrams, median %.2f ms, 99th percentile %.2f ms\n", name, ms.size(), of,
              ms[ms.size() / 2], ms[std::min(ms.size() - 1, ms.size() * 99 / 100)]);
}

// At 100 datagrams a second the head swings a few degrees left and right; for each datagram
// the time to the cursor's move, and to this process's link answering with the new pose.
void MeasureLag(Sender& sender, int datagrams) {
  SetTrackerChoice(TrackerChoiceFrom(1, kPort, 0));
  std::atomic<double> sentAt{0};
  std::atomic<bool> quit{false};
  std::vector<double> readMs;
  std::thread reader([&] {
    HxMouseLink<LinkVariant::Qmouse> link;
    HxPositionDouble r, last = {};
    while (!quit.load()) {
      if (!link.GetFloatPosition(r)) break;
      if (r.RX != last.RX) readMs.push_back(NowMs() - sentAt.load());
      last = r;
    }
  });
  std::vector<double> cursorMs;
  SetCursorPos(640, 512);
  for (int i = 0; i < datagrams; ++i) {
    const double period = NowMs();
    const POINT before = Cursor();
    sentAt = NowMs();
    sender.Send(i % 2 ? 0 : 3);
    POINT now = before;
    while (now.x == before.x && now.y == before.y && NowMs() - period < 9) now = Cursor();
    if (now.x != before.x || now.y != before.y) cursorMs.push_back(NowMs() - sentAt.load());
    if (i % 50 == 0) SetCursorPos(640, 512);  // keep the swings on the screen
    while (NowMs() - period < 10) Sleep(0);
  }
  quit = true;
  sender.Send(0);
  reader.join();
  Report("opentrack-cursor-lag", cursorMs, datagrams);
  Report("opentrack-read-newest", readMs, datagrams);
}

void Stretch(Sender& sender, const char* name, int seconds, int perSecond) {
  std::printf("begin %s\n", name);
  std::fflush(stdout);
  const double start = NowMs();
  long sent = 0;
  while (NowMs() - start < seconds * 1000.0) {
    const double due = (NowMs() - start) * perSecond / 1000.0;
    for (; sent < due; ++sent) sender.Send((sent / 50) % 2 ? 2 : -2);
    Sleep(perSecond > 1000 ? 0 : 1);
  }
  std::printf("end %s\n", name);
  std::printf("%s: %ld datagrams in %d s\n", name, sent, seconds);
  std::fflush(stdout);
}

}  // namespace

int main() {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  _putenv("HXSIM_PIPE=");
  ChooseOpentrack(kPort, true);
  const char* exe = std::getenv("QMOUSE_EXE");
  Program qmouse;
  Sender sender;
  if (!exe || !qmouse.Start(WindowsPath(exe))) {
    std::fprintf(stderr, "opentrack_bench: could not start qmouse (QMOUSE_EXE)\n");
    return 1;
  }
  for (int i = 0; i < 400; ++i, Sleep(10)) sender.Send(0);  // past the splash: head control is live
  MeasureLag(sender, 1000);
  Stretch(sender, "opentrack-100Hz", 10, 100);
  Stretch(sender, "opentrack-flood-20000Hz", 10, 20000);
  Sleep(1000);  // tools/bench reads qmouse's figures at the end line: it must still be there
  qmouse.Kill();
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Korvath");
  WSACleanup();
  return 0;
}
