// The whole road with the head alone: after start-up only poses of the simulated tracker
// drive qmouse. From No Click: the settings sheet from the panel, a slider moved by a rest on
// its track, "Look away" on, OK; Left Click on the panel; "Game options" from the tray icon's
// menu; New with the offered name; Command mode, "Look left", Keypress, W on the picture,
// Hold, OK, OK, OK; Engage, which hands the keyboard to the game on top; a turn holds W in the
// stand-in game; a look away disengages; Pause from the panel; a look away ends the pause.
// With no taskbar on the display, Wine shows tray icons in a small window of its own at the
// screen's top-left corner, under our panel; the test moves it to the top-right corner and
// keeps it on top, as a taskbar's tray, and puts it back afterwards. Not to the bottom: with no taskbar the work
// area is the whole screen, and the menu, opened at its bottom-right corner, would cover the
// icon and take the rest's click as a choice. (A Wine desktop with a
// taskbar cannot be used: there the pointer warps of one program come back to the others as
// stale motion, and the cursor jumps.)
#include "tests/e2e/qmouse_fixture.h"

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "qmouse/texts.h"
#include "resources/profiles/resource.h"
#include "tests/e2e/game_steps.h"
#include "tests/e2e/probe.h"
#include "tests/e2e/remote.h"
#include "tests/e2e/screenshot.h"

namespace {

class HeadRoad : public Qmouse {
 protected:
  void SetUp() override {
    Qmouse::SetUp();
    CreateDirectoryA("C:\\Program Files", nullptr);
    CreateDirectoryA(texts::kProgramFolder, nullptr);
    DeleteFileA(profile_.c_str());
  }
  void TearDown() override {
    Qmouse::TearDown();
    DeleteFileA(profile_.c_str());
    if (HWND tray = FindWindowA(kTrayClass, nullptr); tray && moved_)
      SetWindowPos(tray, HWND_NOTOPMOST, trayWas_.x, trayWas_.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  }
  // Wine's tray window and its icons' class names.
  static constexpr char kTrayClass[] = "__winex11_standalone_tray", kIconClass[] = "__winex11_tray_icon";
  // Moves the tray to the top-right corner once qmouse's icon shows in it; gives the middle
  // of the icon, or {-1, -1} without one.
  POINT TrayIconAtTheTopRight() {
    HWND tray = nullptr, icon = nullptr;
    if (!WaitFor([&] {
          tray = FindWindowA(kTrayClass, nullptr);
          icon = tray ? FindWindowExA(tray, nullptr, kIconClass, nullptr) : nullptr;
          return icon && IsWindowVisible(tray);
        }, 5000))
      return {-1, -1};
    RECT r = {};
    GetWindowRect(tray, &r);
    if (!moved_) trayWas_ = {r.left, r.top};
    moved_ = true;
    SetWindowPos(tray, HWND_TOPMOST, GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left), 0, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE);
    RECT i = {};  // the move is done when SetWindowPos returns, in Wine's process too
    GetWindowRect(icon, &i);
    return {(i.left + i.right) / 2, (i.top + i.bottom) / 2};
  }
  POINT trayWas_ = {};
  bool moved_ = false;
  POINT trayIcon_ = {-1, -1};
  // Turns the head until the cursor is within two pixels of `to`. A turn of up to 6 units a
  // reading moves the cursor as many pixels, one of 12 sixty; each waits for the cursor.
  bool HeadTo(POINT to) {
    for (int i = 0; i < 600; ++i) {
      const POINT at = Cursor();
      const LONG dx = to.x - at.x, dy = to.y - at.y;
      if (labs(dx) <= 2 && labs(dy) <= 2) return true;
      auto step = [](LONG d) {
        const LONG a = labs(d);
        const double s = a >= 60 ? 12 : a >= 6 ? 6 : static_cast<double>(a);
        return d < 0 ? -s : s;
      };
      rx_ += step(dx);
      ry_ -= step(dy);  // a rising RY moves the cursor up
      Pose(rx_, ry_);
      WaitFor([&] { const POINT p = Cursor(); return p.x != at.x || p.y != at.y; }, 500);
    }
    return false;
  }
  // Rests on `at` until `done`; the step fails after ten seconds without it.
  bool RestOn(POINT at, const std::function<bool()>& done, const char* what) {
    EXPECT_TRUE(HeadTo(at)) << "the head could not bring the cursor to " << what;
    const bool ok = WaitFor([&] { game_->Pump(10); return done(); }, 10000);
    EXPECT_TRUE(ok) << "a rest on " << what << " did nothing; cursor at " << CursorText();
    if (!ok) ShootDesktop("road_failed");
    return ok;
  }
  // A control of a dialog of qmouse's once it is there: a dialog just found may still be
  // making its controls.
  static HWND Control(HWND dialog, int id) {
    HWND c = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (c = GetDlgItem(dialog, id)) != nullptr && IsWindowVisible(c); }, 5000))
        << "no control " << id;
    return c;
  }
  static std::string WindowText(HWND w) {
    char cls[64] = {}, text[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, text, sizeof text);
    return std::string(cls) + " \"" + text + "\"";
  }
  static POINT Centre(HWND w) {
    RECT r = {};
    GetWindowRect(w, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  // A rectangle a control of qmouse's writes into its own memory, in screen coordinates.
  RECT RemoteRect(HWND control, UINT msg, WPARAM wp) {
    RECT r = {};
    RemoteCopy copy(qmouse_.Id(), &r, sizeof r);
    SendMessageA(control, msg, wp, reinterpret_cast<LPARAM>(copy.Address()));
    copy.Read(&r, sizeof r);
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  HWND Child(HWND top, int id) {
    HWND found = nullptr;
    auto find = [&](HWND parent, auto& self) -> void {
      for (HWND c = GetWindow(parent, GW_CHILD); c && !found; c = GetWindow(c, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(c) == id && IsWindowVisible(c)) found = c;
        else self(c, self);
      }
    };
    find(top, find);
    return found;
  }
  // With HX_SHOTS set, a picture of the whole screen for people to look at.
  static void ShootDesktop(const char* name) {
    if (const std::string shots = ShotsFolder(); !shots.empty()) {
      Sleep(300);  // let it paint: a picture for people, not a condition
      EXPECT_TRUE(SaveWindowPicture(GetDesktopWindow(), shots + name + ".bmp")) << name;
    }
  }
  // A rest on the tray icon opens its menu; gives the middle of its item `index`, which has
  // `separators` before it; items are equal, separators half as high.
  POINT MenuItem(int index, int separators, const char* shot) {
    HWND menu = nullptr;
    // Shown in its place, right-aligned at the work area's corner.
    RECT work = {}, m = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(RestOn(trayIcon_, [&] {
      menu = OwnWindow("#32768", [](HWND w) { return IsWindowVisible(w) != FALSE; });
      return menu && GetWindowRect(menu, &m) && m.right >= work.right - 2;
    }, "the tray icon"));
    ShootDesktop(shot);
    const LONG border = GetSystemMetrics(SM_CYEDGE) + 1;
    const double unit = (m.bottom - m.top - 2 * border) / 17.5;  // 15 items and 5 separators
    return {(m.left + m.right) / 2, static_cast<LONG>(m.top + border + unit * (index + separators / 2.0) + unit / 2)};
  }
  const std::string profile_ = std::string(texts::kProgramFolder) + "\\Profile 1.cpf";
  double rx_ = 0, ry_ = 0;
  std::unique_ptr<Probe> game_;
};

TEST_F(HeadRoad, EverythingWithTheHeadAlone) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const DWORD noClick = 32784;
  RegSetValueExA(key, "Dwell Command", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&noClick), sizeof noClick);
  RegCloseKey(key);
  game_ = std::make_unique<Probe>(RECT{860, 560, 1240, 940});  // the stand-in game, out of the way
  StartQmouse();
  WaitForHeadControl();
  HWND panel = qmouse_.FindDialog("Quellan Mouse ", 3000);
  ASSERT_NE(panel, nullptr);
  trayIcon_ = TrayIconAtTheTopRight();
  ASSERT_GE(trayIcon_.x, 0) << "Wine's tray shows no icon of qmouse's";

  // The settings sheet from the panel; the Dwell page; a rest on the hover time's track.
  HWND sheet = nullptr;
  ASSERT_TRUE(RestOn(Centre(Control(panel, IDC_OPTIONS)), [&] {
    return (sheet = qmouse_.FindDialog("Quellan Mouse Settings", 0)) != nullptr;
  }, "the panel's Options"));
  // "Look away" on the Options page the sheet opens with.
  HWND look = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (look = Child(sheet, IDC_LOOK_AWAY)) != nullptr; }, 5000));
  RECT box = {};
  GetWindowRect(look, &box);
  ASSERT_TRUE(RestOn({box.left + 8, (box.top + box.bottom) / 2},
                     [&] { return SendMessageA(look, BM_GETCHECK, 0, 0) == BST_CHECKED; }, "Look away"));
  ShootDesktop("road_1_look_away");
  // The Dwell tab, at its right end: without a window manager the panel covers the tabs' left.
  HWND tabs = FindWindowExA(sheet, nullptr, "SysTabControl32", nullptr);
  ASSERT_NE(tabs, nullptr);
  const RECT dwellTab = RemoteRect(tabs, TCM_GETITEMRECT, 2);
  ASSERT_TRUE(RestOn({dwellTab.right - 8, (dwellTab.top + dwellTab.bottom) / 2},
                     [&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == 2; }, "the Dwell tab"));
  HWND hover = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (hover = Child(sheet, IDC_HOVER_TIME)) != nullptr; }, 5000));
  const LRESULT hoverBefore = SendMessageA(hover, TBM_GETPOS, 0, 0);
  const RECT channel = RemoteRect(hover, TBM_GETCHANNELRECT, 0);
  ASSERT_TRUE(RestOn({channel.right - 8, (channel.top + channel.bottom) / 2},
                     [&] { return SendMessageA(hover, TBM_GETPOS, 0, 0) != hoverBefore; }, "the hover time's track"));
  ShootDesktop("road_2_slider");
  ASSERT_TRUE(RestOn(Centre(Child(sheet, IDC_PAGE_OK)), [&] { return !IsWindow(sheet); }, "OK"));

  // Left Click on the panel; "Game options" from the tray menu.
  ASSERT_TRUE(RestOn(Centre(Control(panel, IDC_LEFTCLICK)),
                     [&] { return IsDlgButtonChecked(panel, IDC_LEFTCLICK) == BST_CHECKED; }, "Left Click"));
  HWND manager = nullptr;
  ASSERT_TRUE(RestOn(MenuItem(11, 3, "road_3_menu"), [&] {
    manager = OwnWindow("#32770", [](HWND w) { return IsWindowVisible(w) && GetDlgItem(w, IDC_MANAGER_ENGAGE); });
    return manager != nullptr;
  }, "Game options"));

  // New, the offered name, Command mode, "Look left", Keypress, W, Hold, OK, OK, OK.
  HWND name = nullptr;
  ASSERT_TRUE(RestOn(Centre(Control(manager, IDC_MANAGER_NEW)),
                     [&] { return (name = qmouse_.FindDialog("Enter profile name", 0)) != nullptr; }, "New"));
  ShootDesktop("road_4_name");
  HWND editor = nullptr;
  ASSERT_TRUE(RestOn(Centre(Control(name, IDOK)),
                     [&] { return (editor = qmouse_.FindDialog("Profile editor", 0)) != nullptr; }, "the name's OK"));
  ASSERT_TRUE(RestOn(Centre(Control(editor, IDC_EDITOR_COMMAND)),
                     [&] { return IsDlgButtonChecked(editor, IDC_EDITOR_COMMAND) == BST_CHECKED; }, "Command"));
  HWND motions = Control(editor, IDC_EDITOR_MOTIONS);
  static_assert(LVIR_BOUNDS == 0, "the rectangle asked for is the zeroed one RemoteRect sends");
  const RECT row = RemoteRect(motions, LVM_GETITEMRECT, 6);
  ASSERT_TRUE(RestOn({(row.left + row.right) / 2, (row.top + row.bottom) / 2},
                     [&] { return ListView_GetNextItem(motions, -1, LVNI_SELECTED) == 6; }, "Look left"));
  HWND mapper = nullptr;
  ASSERT_TRUE(RestOn(Centre(Control(editor, IDC_EDITOR_EDIT)),
                     [&] { return (mapper = qmouse_.FindDialog("Look left command settings", 0)) != nullptr; }, "Edit"));
  HWND keys = nullptr;
  RECT check = {};
  GetWindowRect(Control(mapper, IDC_MAPPER_KEYS), &check);
  ASSERT_TRUE(RestOn({check.left + 8, (check.top + check.bottom) / 2}, [&] {
    keys = qmouse_.FindDialog("Key command", 0);
    return keys || IsDlgButtonChecked(mapper, IDC_MAPPER_KEYS) == BST_CHECKED;
  }, "Keypress"));
  if (!keys) {
    ASSERT_TRUE(RestOn(Centre(Control(mapper, IDC_MAPPER_KEYS_CHANGE)),
                       [&] { return (keys = qmouse_.FindDialog("Key command", 0)) != nullptr; }, "Change"));
  }
  HWND w = Control(keys, IDC_KEY_FIRST + KeyIndexOfVirtualKey('W'));
  ASSERT_TRUE(RestOn(Centre(w), [&] { return SendMessageA(w, BM_GETCHECK, 0, 0) == BST_CHECKED; }, "W"));
  RECT hold = {};
  GetWindowRect(Control(keys, IDC_KEY_HOLD), &hold);
  ASSERT_TRUE(RestOn({hold.left + 8, (hold.top + hold.bottom) / 2},
                     [&] { return IsDlgButtonChecked(keys, IDC_KEY_HOLD) == BST_CHECKED; }, "Hold"));
  ShootDesktop("road_5_keys");
  ASSERT_TRUE(RestOn(Centre(Control(keys, IDOK)), [&] { return !IsWindow(keys); }, "the keys' OK"));
  ASSERT_TRUE(RestOn(Centre(Control(mapper, IDOK)), [&] { return !IsWindow(mapper); }, "the options' OK"));
  const std::string& profile = profile_;
  ASSERT_TRUE(RestOn(Centre(Control(editor, IDOK)), [&] {
    return GetFileAttributesA(profile.c_str()) != INVALID_FILE_ATTRIBUTES;
  }, "the editor's OK"));
  ShootDesktop("road_6_manager");

  // Engage with the head; the manager sinks and the game under it gets the keyboard; a turn
  // holds W.
  ASSERT_TRUE(RestOn(Centre(Control(manager, IDC_MANAGER_ENGAGE)),
                     [&] { return !IsWindowVisible(panel); }, "Engage"));
  EXPECT_TRUE(WaitFor([&] { game_->Pump(10); return GetForegroundWindow() == game_->hwnd(); }, 5000))
      << "Engage left the keyboard with " << WindowText(GetForegroundWindow());
  auto keysAre = [&](const std::vector<std::string>& want) {
    return WaitFor([&] { game_->Pump(20); return FoldedKeys(game_->Events()) == want; }, 5000);
  };
  Pose(-1300, 0);  // past the dead zone of 1000 from rest, wherever the road left the head
  EXPECT_TRUE(keysAre({kWDown})) << game_->Joined();
  ShootDesktop("road_7_engaged");

  // Look away (down, two seconds) to leave the game.
  Pose(-1300, -2600);
  EXPECT_TRUE(keysAre({kWDown, kWUp})) << "the look away did not let go of W: " << game_->Joined();
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == manager; }, 5000)) << "the manager is not in front";
  rx_ = 0, ry_ = 0;
  Pose(0, 0);

  // Pause from the panel; the head answers the question; a look away ends the pause.
  // The panel stays hidden after a game until the menu brings it back.
  char text[32] = {};
  ASSERT_TRUE(RestOn(MenuItem(10, 2, "road_8_menu"), [&] { return IsWindowVisible(panel) != FALSE; },
                     "Bring floating panel to top"));
  HWND question = nullptr;
  ASSERT_TRUE(RestOn(Centre(Control(panel, IDC_PAUSE)), [&] {
    return (question = qmouse_.FindDialog("Pausing Quellan Mouse will disable", 0)) != nullptr;
  }, "Pause"));
  ASSERT_TRUE(RestOn(Centre(Control(question, IDOK)), [&] {
    GetDlgItemTextA(panel, IDC_PAUSE, text, sizeof text);
    return std::string(text) == "Unpause";
  }, "the question's OK"));
  ShootDesktop("road_9_paused");
  Pose(0, -2600);
  EXPECT_TRUE(WaitFor([&] {
    GetDlgItemTextA(panel, IDC_PAUSE, text, sizeof text);
    return std::string(text) == "Pause";
  }, 8000)) << "the look away did not end Pause";
}

}  // namespace
