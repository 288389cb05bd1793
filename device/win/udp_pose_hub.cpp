#include <winsock2.h>

#include "device/win/udp_pose_hub.h"

#include <map>
#include <mutex>
#include <utility>

#include "device/trace.h"
#include "device/win/monotonic_clock.h"
#include "device/win/device_events.h"

namespace {

// Poses are published at most this often: every reader's pass follows a publication, so a
// flood of tens of thousands of datagrams a second costs what 333 poses a second do (the
// socket's small buffer drops the rest). A sender of up to 333 poses a second is never held
// back.
constexpr double kLeastPublishSpacingMs = 3.0;
constexpr int kMostPerDrain = 16;
constexpr int kReceiveBuffer = 1;  // the system's least: a few datagrams
constexpr DWORD kBusyRetryMs = 1000;
constexpr DWORD kDroppedTraceEveryMs = 1000;

std::string Name(const char* what, int32_t port) {
  return std::string("Local\\QuellanMouseOpentrack") + what + std::to_string(port);
}

KernelHandle NamedEvent(const std::string& name) {
  return KernelHandle(CreateEventA(nullptr, TRUE, FALSE, name.c_str()));
}

// The last link may go on a window's thread while the notifier is sending to that window:
// the wait answers sent messages, so neither waits for the other.
void JoinDispatching(HANDLE thread) {
  while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
    MSG m;
    PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace

std::shared_ptr<UdpPoseHub> UdpPoseHub::Acquire(int32_t port, bool acceptNetwork) {
  static std::mutex mutex;
  static std::map<std::pair<int32_t, bool>, std::weak_ptr<UdpPoseHub>> hubs;
  std::lock_guard<std::mutex> lock(mutex);
  auto& slot = hubs[{port, acceptNetwork}];
  if (auto hub = slot.lock()) return hub;
  std::shared_ptr<UdpPoseHub> hub(new UdpPoseHub(port, acceptNetwork));
  if (!hub->Start()) return nullptr;
  slot = hub;
  return hub;
}

UdpPoseHub::UdpPoseHub(int32_t port, bool acceptNetwork)
    : port_(port), acceptNetwork_(acceptNetwork), socket_(INVALID_SOCKET) {}

bool UdpPoseHub::Start() {
  mapping_.Reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(PoseShare),
                                    Name("Pose", port_).c_str()));
  if (!mapping_) return false;
  share_ = static_cast<PoseShare*>(MapViewOfFile(mapping_.Get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(PoseShare)));
  if (!share_) return false;
  poseEvents_[0] = NamedEvent(Name("Pose0-", port_));
  poseEvents_[1] = NamedEvent(Name("Pose1-", port_));
  ownerMutex_.Reset(CreateMutexA(nullptr, FALSE, Name("Owner", port_).c_str()));
  stop_.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  decided_.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  announce_.Reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  if (!poseEvents_[0] || !poseEvents_[1] || !ownerMutex_ || !stop_ || !decided_ || !announce_) return false;
  notifier_.Reset(CreateThread(nullptr, 0, NotifierThread, this, 0, nullptr));
  pump_.Reset(CreateThread(nullptr, 0, PumpThread, this, 0, nullptr));
  if (!notifier_ || !pump_) return false;
  SetThreadPriority(pump_.Get(), THREAD_PRIORITY_ABOVE_NORMAL);  // as the cursor thread it feeds
  // Whether this program owns the port is known at once; links made before would not know
  // whether to fall back to the driver.
  WaitForSingleObject(decided_.Get(), 2000);
  return true;
}

UdpPoseHub::~UdpPoseHub() {
  if (stop_) SetEvent(stop_.Get());
  if (pump_) JoinDispatching(pump_.Get());
  if (notifier_) JoinDispatching(notifier_.Get());
  if (share_) UnmapViewOfFile(share_);
}

bool UdpPoseHub::PortHeldElsewhere() const {
  return share_ && share_->ownerState.load(std::memory_order_relaxed) == kPortBusy;
}

std::string UdpPoseHub::DeviceName() const { return "\\\\?\\opentrack#udp#" + std::to_string(port_); }

DWORD WINAPI UdpPoseHub::PumpThread(void* self) {
  static_cast<UdpPoseHub*>(self)->Pump();
  return 0;
}

DWORD WINAPI UdpPoseHub::NotifierThread(void* self) {
  static_cast<UdpPoseHub*>(self)->Notify();
  return 0;
}

// Waits to own the port (another program of ours may hold it), then receives until stopped.
void UdpPoseHub::Pump() {
  DWORD r = WaitForSingleObject(ownerMutex_.Get(), 0);
  if (r == WAIT_TIMEOUT) {
    SetEvent(decided_.Get());
    HANDLE waits[] = {stop_.Get(), ownerMutex_.Get()};
    r = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    if (r != WAIT_OBJECT_0 + 1 && r != WAIT_ABANDONED_0 + 1) return;
  } else if (r != WAIT_OBJECT_0 && r != WAIT_ABANDONED) {
    SetEvent(decided_.Get());
    return;
  }
  WSADATA data;
  winsock_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  bool toldBusy = false;
  // A port that another program holds is tried again now and then: when it lets go, ours
  // starts receiving, and links made after that read the head.
  while (winsock_ && !Bind()) {
    share_->ownerState.store(kPortBusy, std::memory_order_relaxed);
    if (!toldBusy) {
      Trace(("<UdpPoseHub>:  UDP port " + std::to_string(port_) +
             " is in use by another program; using the tracker's driver.\n").c_str());
      toldBusy = true;
    }
    SetEvent(decided_.Get());
    if (WaitForSingleObject(stop_.Get(), kBusyRetryMs) == WAIT_OBJECT_0) break;
  }
  if (socket_ != INVALID_SOCKET) {
    share_->ownerState.store(kReceiving, std::memory_order_relaxed);
    Trace(("<UdpPoseHub>:  Receiving head poses on UDP port " + std::to_string(port_) + ".\n").c_str());
    SetEvent(decided_.Get());
    Receive();
    closesocket(socket_);
    socket_ = INVALID_SOCKET;
  }
  share_->ownerState.store(kNoOwner, std::memory_order_relaxed);
  SetEvent(decided_.Get());
  if (winsock_) WSACleanup();
  ReleaseMutex(ownerMutex_.Get());
}

bool UdpPoseHub::Bind() {
  SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (s == INVALID_SOCKET) return false;
  BOOL exclusive = TRUE;
  setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive), sizeof exclusive);
  int buffer = kReceiveBuffer;
  setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&buffer), sizeof buffer);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(port_));
  // Poses from other machines only when the user asked for them.
  address.sin_addr.s_addr = htonl(acceptNetwork_ ? INADDR_ANY : INADDR_LOOPBACK);
  if (bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    closesocket(s);
    return false;
  }
  socket_ = s;
  return true;
}

void UdpPoseHub::Receive() {
  KernelHandle readable(WSACreateEvent());
  if (!readable || WSAEventSelect(socket_, readable.Get(), FD_READ) != 0) return;
  // Taking the port over from a program that ended: while its poses are still recent the
  // readers never noticed. Otherwise their links may have failed on the silence with nobody
  // to say so, so the tracker is announced gone, and back with the next pose.
  OpentrackPose last;
  uint32_t lastArrival = 0;
  const uint32_t seen = ReadPose(*share_, last, lastArrival);
  uint32_t plugged = PoseIsFresh(seen, lastArrival, GetTickCount()) ? 1 : 0;
  if (seen != 0 && !plugged) Announce(false);
  HANDLE waits[] = {stop_.Get(), readable.Get()};
  for (;;) {
    DWORD timeout = INFINITE;
    if (plugged) {
      OpentrackPose pose;
      uint32_t arrival = 0;
      ReadPose(*share_, pose, arrival);
      const uint32_t quiet = GetTickCount() - arrival;
      timeout = quiet >= kSilenceUnpluggedMs ? 0 : kSilenceUnpluggedMs - quiet;
    }
    const DWORD r = WaitForMultipleObjects(2, waits, FALSE, timeout);
    if (r == WAIT_OBJECT_0) break;
    if (r == WAIT_TIMEOUT) {
      plugged = 0;
      Announce(false);
      continue;
    }
    if (r != WAIT_OBJECT_0 + 1) break;
    const double since = MonotonicMs() - lastPublishMs_;
    if (since < kLeastPublishSpacingMs) Sleep(static_cast<DWORD>(kLeastPublishSpacingMs - since) + 1);
    WSAResetEvent(readable.Get());
    Drain(plugged);
  }
  if (plugged) Announce(false);
}

// Reads what is waiting and publishes the newest good pose once.
void UdpPoseHub::Drain(uint32_t& plugged) {
  OpentrackPose newest;
  bool any = false;
  int read = 0;
  for (; read < kMostPerDrain; ++read) {
    uint8_t datagram[kOpentrackDatagramSize + 16];
    const int n = recv(socket_, reinterpret_cast<char*>(datagram), sizeof datagram, 0);
    if (n == SOCKET_ERROR) {
      if (WSAGetLastError() == WSAEMSGSIZE) {  // larger than any pose
        CountDropped(*share_, PoseVerdict::WrongSize);
        continue;
      }
      break;
    }
    OpentrackPose pose;
    const PoseVerdict verdict = DecodeOpentrackDatagram(datagram, static_cast<size_t>(n), pose);
    if (verdict != PoseVerdict::Ok) {
      CountDropped(*share_, verdict);
      continue;
    }
    newest = pose;
    any = true;
  }
  if (any) {
    const uint32_t seen = share_->sequence.load(std::memory_order_relaxed) / 2;
    ResetEvent(PoseEvent(seen + 2));  // the same event as `seen`'s, set since then
    PublishPose(*share_, newest, GetTickCount());
    SetEvent(PoseEvent(seen + 1));
    if (!plugged) {
      plugged = 1;
      Announce(true);
    }
  }
  TraceDropped();
  if (any) lastPublishMs_ = MonotonicMs();
}

void UdpPoseHub::TraceDropped() {
  uint32_t d[3];
  for (int i = 0; i < 3; ++i) d[i] = share_->dropped[i].load(std::memory_order_relaxed);
  const uint32_t total = d[0] + d[1] + d[2];
  const uint32_t now = GetTickCount();
  if (total == droppedTraced_ || now - lastDroppedTraceMs_ < kDroppedTraceEveryMs) return;
  droppedTraced_ = total;
  lastDroppedTraceMs_ = now;
  Trace(("<UdpPoseHub>:  Dropped datagrams: " + std::to_string(d[0]) + " wrong size, " + std::to_string(d[1]) +
         " not a number, " + std::to_string(d[2]) + " out of reach.\n").c_str());
}

void UdpPoseHub::Announce(bool plugged) {
  Trace(plugged ? "<UdpPoseHub>:  Head poses arriving: tracker plugged in.\n"
                : "<UdpPoseHub>:  No head pose for 500 ms: tracker unplugged.\n");
  wantPlugged_.store(plugged ? 1 : 0);
  SetEvent(announce_.Get());
}

// Broadcasts from a thread of its own, so that a slow window never holds the poses up.
void UdpPoseHub::Notify() {
  int32_t told = -1;
  HANDLE waits[] = {stop_.Get(), announce_.Get()};
  while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
    const int32_t want = wantPlugged_.load();
    if (want < 0 || want == told) continue;
    told = want;
    BroadcastTrackerEvent(want == 1, DeviceName());
  }
}
