// qmouse reading the head from opentrack's "UDP over network" output: a sender in this
// process plays opentrack, qmouse (with no simulator pipe) owns the port.
#include "tests/e2e/pose_sender.h"

#include <commctrl.h>

#include <cmath>
#include <limits>

#include "device/hx_mouse.h"
#include "device/tracker_choice.h"
#include "tests/e2e/broadcast_watch.h"
#include "tests/e2e/qmouse_fixture.h"

namespace {

constexpr int kPort = 47424;  // not opentrack's own, so a user's sender cannot interfere

class QmouseOpentrack : public Qmouse {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(Qmouse::SetUp());
    _putenv("HXSIM_PIPE=");  // the simulator must not stand in for the chosen source
    // Dwell must not click into the settings sheet and its questions while the head turns.
    ASSERT_TRUE(ChooseOpentrack(kPort, true));
  }
  // Moves the head to `pose` and waits for the cursor to travel at least `dx`, `dy` from
  // where it was (signed: the direction counts), the other axis staying within `slack`.
  ::testing::AssertionResult Follows(PoseSender& sender, const OpentrackPose& pose, LONG dx, LONG dy,
                                     LONG slack = 20) {
    const POINT from = Cursor();
    sender.SetPose(pose);
    const bool moved = WaitFor([&] {
      const POINT p = Cursor();
      const bool xOk = dx == 0 ? std::labs(p.x - from.x) <= slack : (dx > 0 ? p.x - from.x >= dx : p.x - from.x <= dx);
      const bool yOk = dy == 0 ? std::labs(p.y - from.y) <= slack : (dy > 0 ? p.y - from.y >= dy : p.y - from.y <= dy);
      return xOk && yOk;
    }, 5000);
    if (moved) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "from " << from.x << "," << from.y << " the cursor is at " << CursorText();
  }
};

}  // namespace

TEST_F(QmouseOpentrack, CursorFollowsTheHeadIsRecentredAndOutlastsSilenceAndBadDatagrams) {
  BroadcastWatch watch;
  PoseSender sender(kPort);
  StartQmouse();
  ASSERT_NO_FATAL_FAILURE(WaitForHeadControl(false));
  SetCursorPos(kCentre.x, kCentre.y);

  // Turning right moves right, looking up moves up (screen Y falls).
  EXPECT_TRUE(Follows(sender, {0, 0, 0, 6, 0, 0}, 100, 0));
  EXPECT_TRUE(Follows(sender, {0, 0, 0, 6, 4, 0}, 0, -100));
  EXPECT_TRUE(Follows(sender, {0, 0, 0, 0, 4, 0}, -100, 0)) << "turning back left";
  EXPECT_TRUE(Follows(sender, {0, 0, 0, 0, 0, 0}, 0, 100)) << "looking down again";

  // On the Options page, Calibrate says nothing is needed and Set Center makes the head held
  // turned the new rest, for every reader: a link of this process sees it too.
  sender.SetPose({0, 0, 0, 8, -3, 0});
  SetTrackerChoice(TrackerChoiceFrom(1, kPort, 0));
  {
    HxMouseLink<LinkVariant::Qmouse> link;
    HxPositionDouble r = {};
    ASSERT_TRUE(WaitFor([&] { return link.GetFloatPosition(r) && std::fabs(r.RX - 80) < 1e-9; }, 5000)) << r.RX;
    EXPECT_DOUBLE_EQ(r.RY, -30);
    PostMessageA(window_, WM_COMMAND, ID_TRAY_OPTIONS, 0);  // as the tray menu does
    HWND sheet = Sheet(5000);
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(SendMessageA(sheet, PSM_SETCURSEL, 0, 0));
    HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    Program::Press(page, IDC_CALIBRATE);
    HWND box = qmouse_.FindDialog("opentrack needs no calibration");
    ASSERT_NE(box, nullptr);
    Program::Press(box, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, 5000));
    SetCursorPos(kCentre.x, kCentre.y);
    Program::Press(page, IDC_SET_CENTER);
    box = qmouse_.FindDialog("look at the center of the screen");
    ASSERT_NE(box, nullptr);
    Program::Press(box, IDOK);
    box = qmouse_.FindDialog("Centerpoint successfully set.");
    ASSERT_NE(box, nullptr) << "Set Center failed";
    Program::Press(box, IDOK);
    ASSERT_TRUE(link.GetFloatPosition(r));
    EXPECT_DOUBLE_EQ(r.RX, 0) << "the pose held at Set Center is the centre";
    EXPECT_DOUBLE_EQ(r.RY, 0);
    Program::Press(page, IDC_PAGE_CANCEL);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(sheet); }, 5000));
  }
  // From turned right and down to the centre: the cursor swings left and up.
  EXPECT_TRUE(WaitFor([&] { return Cursor().x < kCentre.x - 50 && Cursor().y < kCentre.y - 20; }, 5000))
      << "qmouse saw the head come back to the centre: " << CursorText();

  // A second of silence unplugs the tracker (the cursor stays); the next datagram plugs it in.
  const int broadcasts = watch.Seen();
  sender.Pause(true);
  ASSERT_TRUE(watch.WaitCount(broadcasts + 1, 5000)) << "no removal after the sender went quiet";
  SetCursorPos(kCentre.x, kCentre.y);
  sender.SetPose({0, 0, 0, 8, -3, 0});
  EXPECT_TRUE(CursorAt(kCentre.x, kCentre.y, 1)) << "the cursor moved while no pose came";
  sender.Pause(false);
  ASSERT_TRUE(watch.WaitCount(broadcasts + 2, 5000)) << "no arrival when poses came again";
  EXPECT_TRUE(Follows(sender, {0, 0, 0, 14, -3, 0}, 100, 0)) << "the cursor thread started again";

  // Malformed datagrams and a flood of them, then the head turns: the cursor still follows.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  uint8_t bad[kOpentrackDatagramSize];
  for (int i = 0; i < 20000; ++i) {
    switch (i % 4) {
      case 0:
        sender.SendBytes(bad, 40);
        break;
      case 1:
        EncodeOpentrackDatagram({0, 0, 0, nan, 0, 0}, bad);
        sender.SendBytes(bad, sizeof bad);
        break;
      case 2:
        EncodeOpentrackDatagram({0, 0, 0, 1e6, 0, 0}, bad);
        sender.SendBytes(bad, sizeof bad);
        break;
      default:
        sender.Send(sender.Pose());
    }
  }
  EXPECT_TRUE(Follows(sender, {0, 0, 0, 8, -3, 0}, -100, 0)) << "after the flood";
  EXPECT_TRUE(Follows(sender, {0, 0, 0, 8, 3, 0}, 0, -100)) << "after the flood";
  EXPECT_TRUE(qmouse_.Running());
}

// Another program holds the port: qmouse says so (its links then use the tracker's driver).
TEST_F(QmouseOpentrack, PortHeldByAnotherProgramIsReportedAndQmouseRunsOn) {
  WSADATA data;
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  SOCKET other = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = htons(kPort);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(other, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  StartQmouse();
  HWND box = qmouse_.FindDialog("is in use by another program", 10000);
  EXPECT_NE(box, nullptr) << "no word about the port";
  if (box) {
    char text[512] = {};
    GetDlgItemTextA(box, IDC_CONFIRM_TEXT, text, sizeof text);
    EXPECT_NE(std::string(text).find("UDP port 47424"), std::string::npos) << text;
    Program::Press(box, IDOK);
  }
  EXPECT_TRUE(qmouse_.Running());
  closesocket(other);
  WSACleanup();
}

// Choosing opentrack on the Options page of a running qmouse: Apply is enough, and the choice
// is in the registry at once for hxprofiler and the control panel.
TEST_F(QmouseOpentrack, ChoosingTheSourceTakesEffectWithoutARestart) {
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
  const DWORD driver = 0;
  RegSetValueExA(key, "Tracker", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&driver), sizeof driver);
  RegCloseKey(key);
  PoseSender sender(kPort);
  StartQmouse();
  ASSERT_NO_FATAL_FAILURE(WaitForHeadControl(false));
  SetCursorPos(kCentre.x, kCentre.y);
  sender.SetPose({0, 0, 0, 6, 0, 0});
  EXPECT_FALSE(WaitFor([&] { const POINT p = Cursor(); return p.x != kCentre.x || p.y != kCentre.y; }, 500))
      << "poses moved the cursor while the driver was chosen";

  PostMessageA(window_, WM_COMMAND, ID_TRAY_OPTIONS, 0);
  HWND sheet = Sheet(5000);
  ASSERT_NE(sheet, nullptr);
  ASSERT_TRUE(SendMessageA(sheet, PSM_SETCURSEL, 0, 0));
  HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  HWND list = GetDlgItem(page, IDC_TRACKER);
  SendMessageA(list, CB_SETCURSEL, 1, 0);  // "opentrack (UDP port 47424)", as a pick in the list
  SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_TRACKER, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  Program::Press(page, IDC_PAGE_OK);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(sheet); }, 5000));
  EXPECT_EQ(Setting("Tracker"), 1) << "written at once for the other programs";
  EXPECT_EQ(Setting("Tracker Port"), kPort);

  SetCursorPos(kCentre.x, kCentre.y);
  // The new source's first reading is taken as the rest, and it may come after a turn made as
  // the sheet closed: the head turns on until the cursor follows.
  bool followed = false;
  for (double rx = 12; rx <= 30 && !followed; rx += 6) followed = Follows(sender, {0, 0, 0, rx, 0, 0}, 100, 0);
  EXPECT_TRUE(followed) << "the new source did not take over";
  EXPECT_TRUE(qmouse_.Running());
}
