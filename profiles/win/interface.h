#pragma once
// The profile manager window (class `Interface`): lists the profile files of the working
// folder with their games' icons, creates, edits, copies, renames and deletes them, finds or
// makes the profile of a dropped game shortcut, starts games and engages profiles. qmouse
// creates it modeless; hxprofiler builds its main window on it through the options and hooks.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "device/hx_mouse.h"
#include "profiles/manager_rules.h"
#include "profiles/profile.h"
#include "profiles/win/profile_editor.h"
#include "winui/app.h"
#include "winui/dialog.h"
#include "winui/handles.h"

// What the program behind the manager does when a profile is engaged or disengaged.
class EngageHost {
 public:
  virtual ~EngageHost() = default;
  // Takes its own copy of `profile` for the output engine, then sets the program engaged.
  virtual void Engage(const Profile& profile) = 0;
  // Stops the output and lets go of everything the engine holds.
  virtual void Disengage() = 0;
};

// The tracker operations behind "Calibrate" and "Set center point", on a link of the program's
// own kind, opened for one press.
class TrackerLink {
 public:
  virtual ~TrackerLink() = default;
  virtual int Calibrate() = 0;
  virtual bool RestoreDefaultCalibration() = 0;
  virtual bool SetZero() = 0;
  virtual void SaveSettings() = 0;
};

template <LinkVariant V>
class TrackerLinkOf : public TrackerLink {
 public:
  int Calibrate() override { return link_.Calibrate(); }
  bool RestoreDefaultCalibration() override { return link_.RestoreDefaultCalibration(); }
  bool SetZero() override { return link_.SetZero(); }
  void SaveSettings() override { link_.SaveSettings(); }

 private:
  HxMouseLink<V> link_;
};

// Where hxprofiler's window differs from qmouse's.
struct ManagerOptions {
  int dialogId;                     // qmouse's 280; hxprofiler's own window
  bool sinkBeforeEngaging = true;   // qmouse sends the window to the bottom and waits 48 ms
  bool chooserOnEveryMatch = false; // hxprofiler asks also when one profile matches a drop
  bool gameOncePerWindow = false;   // hxprofiler starts a game once while the window lives
  bool dropTraces = true;           // hxprofiler's drop handling writes no traces
};
ManagerOptions QmouseManagerOptions();

class Interface : public winui::Dialog {
 public:
  Interface(EngageHost& host, winui::Application& application);
  Interface(EngageHost& host, winui::Application& application, const ManagerOptions& options);
  // Closing the window while engaged disengages, whoever closes it.
  ~Interface() override;

  // Creation is winui::Dialog::Create(owner); this lists the folder again and brings the
  // window up, to the front.
  void Show();
  // Disengages as the "Disengage" button does, for a way out other than the button.
  void LeaveGame() { Disengage(); }

  bool Engaged() const { return !idle_; }
  int SelectedIndex() const { return selected_; }
  const std::string& CurrentFileName() const { return currentFileName_; }
  const std::vector<ListedProfile>& Profiles() const { return rows_; }
  HANDLE GameProcess() const { return gameProcess_.Get(); }

  // Finds the profile of a dropped game: its index, -1 for nothing to do, -2 for a new one.
  int LoadMatchingProfile(const std::string& strGameEXE);

 protected:
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code) override;
  void OnClose() override;
  void OnDestroy() override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  // Opens the tracker link for `handler` ("OnCalibrate", "OnSetZero") with the program's
  // trace: qmouse's variant here.
  virtual std::unique_ptr<TrackerLink> OpenTrackerLink(const char* handler);
  // Called once engaged (after host.Engage) and once idle again (after host.Disengage).
  virtual void OnEngaged() {}
  virtual void OnDisengaged() {}
  // Starts the game of the current profile; false when it did not start.
  virtual bool StartGame(const Profile& profile, KernelHandle& process);

  // The engaging half of Launch and "Engage" (false when the profile cannot be engaged), and
  // its undoing; each is safe to repeat. A started game takes the keyboard itself; "Engage"
  // gives it to the window on top once the manager has sunk.
  enum class GameFocus { kGameTakesIt, kWindowOnTop };
  bool Engage(GameFocus focus);
  void Disengage();
  // Whether the current profile can be engaged; says why not.
  bool CanEngage();
  EngageHost& Host() { return host_; }
  const ManagerOptions& Options() const { return options_; }

 private:
  // Counts the operations under way, whose dialogs make the window inactive and active again.
  struct Busy {
    explicit Busy(int& depth) : depth_(depth) { ++depth_; }
    ~Busy() { --depth_; }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;
    int& depth_;
  };

  void ListProfiles();
  void Refresh();
  void FillList();
  void Select(int index);
  bool LoadCurrent(ListedProfile& row);
  bool ReadSelected(const char* askToSelect, const char* caption, bool mustRead);
  std::string TakenName(const std::string& entered);
  void EditProfile(bool fromDoubleClick);
  void NewProfile();
  void SaveAs();
  void DeleteProfile();
  void RenameProfile();
  void ShowDetails();
  void Launch();
  void OnCalibrate();
  void OnSetZero();
  void OnDrop(HDROP drop);
  bool AskName(std::string& name, bool forNew, bool traced, bool* replacing = nullptr);
  void CreateFromEditor(const std::string& name, const ProfileEditor& editor, bool replacing);
  bool SaveProfile(const Profile& profile, const std::string& fileName);
  void AddToCounter(int delta);
  void SetActiveText(const std::string& text);
  void EnableLaunchForCurrent();
  void EnableControls(bool enable);
  void Trace(const char* line) const;
  int Message(const char* text, const char* caption, UINT type);

  EngageHost& host_;
  winui::Application& application_;
  ManagerOptions options_;
  std::vector<ListedProfile> rows_;
  ImageList images_;  // the list shares it
  int selected_ = -1;
  std::string currentFileName_;
  bool idle_ = true;
  bool filling_ = false;  // our own changes to the list are no user's clicks
  int busy_ = 0;
  KernelHandle gameProcess_;
};
