#pragma once
// A game profile: how head motion becomes game input for one game, its sixteen maps, and its
// ".cpf" file. The engine and the editor read the numeric fields directly.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "commands/command.h"

constexpr const char* kProfileExtension = ".cpf";
constexpr const char* kClearEmptyText = "Error shutting down.";
constexpr const char* kClearEmptyCaption = "Hxprofiler";

constexpr int kAxisModes = 2;  // mouselook, mixed
constexpr int kLookAxes = 2;   // X rotation, Y rotation
enum AxisMode { kAxisMouselook = 0, kAxisMixed = 1 };
enum LookAxis { kAxisXRotation = 0, kAxisYRotation = 1 };

// How one rotation axis behaves in mouselook output.
struct AxisOptions {
  int32_t panningPoint;            // 20 "Center" .. 200 "Edge"
  int32_t nonPanningSensitivity;   // 1 slow .. 10 fast, 11 off
  int32_t panningSensitivity;      // 1 slow .. 10 fast, 11 off
};

// Shows a message with an OK button; Windows fills it with a message box, tests capture it.
using ProfileMessageFn = std::function<void(const char* text, const char* caption)>;
void SetProfileMessageHandler(ProfileMessageFn fn);

// `name`, with ".cpf" appended when it holds no ".cpf" anywhere (case matters).
std::string CompleteProfileName(const std::string& name);

// What ends the name of a save's temporary file beside its target ("x.cpf.<id>.saving"): never
// a profile. Not "~" after ".cpf": the 8.3 short name of "x.cpf~" ends in ".CPF".
constexpr const char* kSaveTempSuffix = ".saving";

// Names Windows cannot give a file in a folder: the device names (CON, PRN, AUX, NUL, COM1-COM9,
// LPT1-LPT9), also with an extension, and names ending in a dot or a space, which it would
// quietly cut. kNone for any other name.
enum class NameFault { kNone, kDeviceName, kTrailingDotOrSpace };
NameFault FileNameFault(const std::string& name);
// The device a name stands for ("CON" for "con.x"), or "" when none.
std::string DeviceNameOf(const std::string& name);

// The file operations of a save, in the order it makes them on one temporary file: create,
// write, flush, close, then rename over the target, or remove after a failure. Tests put their
// own in place to see the order and to fail a step.
class SaveFiles {
 public:
  virtual ~SaveFiles() = default;
  // False with `taken` set when something already has the name.
  virtual bool Create(const std::string& name, bool& taken, std::string& error) = 0;
  virtual bool Write(const std::string& bytes, std::string& error) = 0;
  virtual bool Flush(std::string& error) = 0;
  virtual bool Close(std::string& error) = 0;
  // These two act on the disk unless overridden.
  virtual bool Rename(const std::string& from, const std::string& to, std::string& error);
  virtual void Remove(const std::string& name);
};
// Makes every later save use `files` (null: the disk); returns what was used before.
SaveFiles* SetSaveFiles(SaveFiles* files);

class Profile {
 public:
  static constexpr const char* kClassName = "Profile";

  // Created: sixteen fresh maps followed by sixteen empty slots.
  Profile();
  Profile(const Profile& other);
  Profile& operator=(const Profile& other);
  Profile(Profile&&) noexcept = default;
  Profile& operator=(Profile&&) noexcept = default;

  // Creation values again, except the operating mode and the list's length.
  void Reset();
  // Deletes the maps and empties the list; complains first when it is already empty.
  void Clear();

  // Replaces this profile by the file's only when the whole file reads; otherwise returns
  // false with the reason in `error` and leaves this profile as it was.
  [[nodiscard]] bool Load(const std::string& fileName, std::string* error = nullptr);
  // Writes to the completed name (reported in `savedName`, also on failure) through a
  // temporary file beside it, so a failed save leaves the previous file whole. Refuses, with
  // the reason, a profile whose file Load would refuse.
  [[nodiscard]] bool Save(const std::string& fileName, std::string* savedName = nullptr,
                          std::string* error = nullptr) const;
  // Whether the list is one Load takes back: maps 0-15 all present.
  [[nodiscard]] bool Savable(std::string* error = nullptr) const;

  // The file's bytes, and reading them; Load and Save are these plus the file.
  std::string ToBytes() const;
  [[nodiscard]] bool FromBytes(const uint8_t* data, size_t size, std::string* error = nullptr);

  const std::string& ReservedText() const { return reservedText; }
  void SetReservedText(const std::string& s) { reservedText = s; }
  const std::string& GamePath() const { return gamePath; }
  void SetGamePath(const std::string& s) { gamePath = s; }
  const std::string& StartDirectory() const { return startDirectory; }
  void SetStartDirectory(const std::string& s) { startDirectory = s; }
  const std::string& GameArguments() const { return gameArguments; }
  void SetGameArguments(const std::string& s) { gameArguments = s; }
  int32_t Mode() const { return operatingMode; }
  void SetMode(int32_t mode) { operatingMode = mode; }
  // Map `index`, or null for an empty slot or an index outside the list.
  Command* Map(size_t index) { return index < maps.size() ? maps[index].get() : nullptr; }
  const Command* Map(size_t index) const { return index < maps.size() ? maps[index].get() : nullptr; }
  size_t MapListLength() const { return maps.size(); }

  int32_t deadZone[kMapCount];
  AxisOptions axis[kAxisModes][kLookAxes];
  int32_t operatingMode;
  int32_t pauseHotKey, recenterHotKey, mouselookHotKey, commandHotKey, mixedHotKey;
  int32_t freelookHold;  // key index, 300-304 a mouse button, -1 nothing
  std::string reservedText, gamePath, startDirectory, gameArguments;
  std::vector<std::unique_ptr<Command>> maps;  // null = empty slot

 private:
  struct EmptyTag {};
  // No maps and no values yet: the start of a load, which sets all of them.
  explicit Profile(EmptyTag) {}
  template <typename Ar>
  bool SerializeSection(Ar& ar);
  void ResetValues();
};

// The profile loaded last, which the engine uses, and the copy the editor changes.
Profile& CurrentProfile();
Profile& WorkingProfile();
