#include "profiles/profile.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

#include "profiles/archive.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr ArchiveClass kCommandClass{Command::kClassName, Command::kSchema};
constexpr size_t kSlotTagBytes = 2;  // the least a list element can take in the file
constexpr size_t kSectionIntegerBytes = 35 * 4;
constexpr size_t kMapIntegerBytes = 825 * 4;  // a map's body besides its 50 labels
constexpr int32_t kAxisDefaults[3] = {175, 7, 7};
constexpr int32_t kDeadZoneDefault = 1000;
// A profile is about 54 KB; anything near this is not one, and a 32-bit program should not
// try to hold it.
constexpr uintmax_t kMaxFileBytes = uintmax_t{64} << 20;
// Names of temporary files tried before a save gives up: each taken one is passed over.
constexpr int kTempNameTries = 8;

ProfileMessageFn& MessageHandler() {
  static ProfileMessageFn handler;
  return handler;
}

// File names reach us in the ANSI code page, as the program's dialogs and file listings give
// them. std::filesystem would take a narrow name for something else, and a name outside
// ASCII would then open or create a file other than the one the user named.
fs::path PathOf(const std::string& name) {
#ifdef _WIN32
  const int size = static_cast<int>(name.size());
  const int n = MultiByteToWideChar(CP_ACP, 0, name.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, name.data(), size, &wide[0], n);
  return fs::path(wide);
#else
  return fs::path(name);
#endif
}

bool Report(std::string* error, std::string text) {
  if (error) *error = std::move(text);
  return false;
}

// The real file system under a save: a file this save created, never one that was there, so a
// link or another program's file under the name is neither followed nor overwritten.
#ifdef _WIN32
class DiskFiles : public SaveFiles {
 public:
  ~DiskFiles() override {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }

  bool Create(const std::string& name, bool& taken, std::string& error) override {
    handle_ = CreateFileW(PathOf(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ != INVALID_HANDLE_VALUE) return true;
    const DWORD code = GetLastError();
    taken = code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS;
    return Failed(error);
  }

  bool Write(const std::string& bytes, std::string& error) override {
    for (size_t done = 0; done < bytes.size();) {
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, size_t{1} << 20));
      DWORD written = 0;
      if (!WriteFile(handle_, bytes.data() + done, chunk, &written, nullptr)) return Failed(error);
      if (written == 0) {  // never expected; a loop that cannot end otherwise
        SetLastError(ERROR_WRITE_FAULT);
        return Failed(error);
      }
      done += written;
    }
    return true;
  }

  bool Flush(std::string& error) override { return FlushFileBuffers(handle_) || Failed(error); }

  bool Close(std::string& error) override {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return CloseHandle(handle) || Failed(error);
  }

 private:
  static bool Failed(std::string& error) {
    error = std::error_code(static_cast<int>(GetLastError()), std::system_category()).message();
    return false;
  }
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

unsigned long ProcessId() { return GetCurrentProcessId(); }
#else
class DiskFiles : public SaveFiles {
 public:
  ~DiskFiles() override {
    if (fd_ >= 0) ::close(fd_);
  }

  bool Create(const std::string& name, bool& taken, std::string& error) override {
    fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) return true;
    taken = errno == EEXIST;
    return Failed(error);
  }

  bool Write(const std::string& bytes, std::string& error) override {
    for (size_t done = 0; done < bytes.size();) {
      const ssize_t written = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (written < 0 && errno == EINTR) continue;
      if (written == 0) errno = EIO;  // never expected; a loop that cannot end otherwise
      if (written <= 0) return Failed(error);
      done += static_cast<size_t>(written);
    }
    return true;
  }

  bool Flush(std::string& error) override { return ::fsync(fd_) == 0 || Failed(error); }

  bool Close(std::string& error) override {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 || Failed(error);
  }

 private:
  static bool Failed(std::string& error) {
    error = std::error_code(errno, std::generic_category()).message();
    return false;
  }
  int fd_ = -1;
};

unsigned long ProcessId() { return static_cast<unsigned long>(::getpid()); }
#endif

SaveFiles*& InstalledFiles() {
  static SaveFiles* files = nullptr;
  return files;
}

// The bytes go to a new file beside the target that, once on the disk, takes the target's
// place in one rename, so a failure at any step leaves the previous file whole and no
// temporary file behind. The process id and a counter keep concurrent saves, of this program
// and the other, apart.
bool ReplaceFile(const std::string& target, const std::string& bytes, std::string* error) {
  static std::atomic<unsigned> serial{0};
  for (int tries = 0; tries < kTempNameTries; ++tries) {
    const std::string temp =
        target + "." + std::to_string(ProcessId()) + "-" + std::to_string(serial++) + kSaveTempSuffix;
    DiskFiles disk;
    SaveFiles& files = InstalledFiles() ? *InstalledFiles() : disk;
    bool taken = false;
    std::string reason;
    if (!files.Create(temp, taken, reason)) {
      if (taken) continue;
      return Report(error, "cannot create \"" + temp + "\": " + reason);
    }
    // On the disk, not only in the cache, before it may replace anything; closed however the
    // writing went, so that a failed one can be removed.
    const bool written = files.Write(bytes, reason) && files.Flush(reason);
    std::string closing;
    const bool closed = files.Close(closing);
    if (!written || !closed) {
      files.Remove(temp);
      return Report(error, "cannot write \"" + temp + "\": " + (written ? closing : reason));
    }
    if (!files.Rename(temp, target, reason)) {
      files.Remove(temp);
      return Report(error, "cannot replace \"" + target + "\": " + reason);
    }
    return true;
  }
  return Report(error, "cannot save \"" + target + "\": " + std::to_string(kTempNameTries) +
                           " names for a temporary file beside it are taken");
}

}  // namespace

// std::filesystem::rename replaces an existing target on POSIX and on Windows (libstdc++ uses
// MoveFileEx with MOVEFILE_REPLACE_EXISTING).
bool SaveFiles::Rename(const std::string& from, const std::string& to, std::string& error) {
  std::error_code ec;
  fs::rename(PathOf(from), PathOf(to), ec);
  if (ec) error = ec.message();
  return !ec;
}

void SaveFiles::Remove(const std::string& name) {
  std::error_code ignored;
  fs::remove(PathOf(name), ignored);
}

SaveFiles* SetSaveFiles(SaveFiles* files) { return std::exchange(InstalledFiles(), files); }

void SetProfileMessageHandler(ProfileMessageFn fn) { MessageHandler() = std::move(fn); }

std::string CompleteProfileName(const std::string& name) {
  return name.find(kProfileExtension) == std::string::npos ? name + kProfileExtension : name;
}

std::string DeviceNameOf(const std::string& name) {
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL"};
  const size_t slash = name.find_last_of("\\/:");
  const std::string file = slash == std::string::npos ? name : name.substr(slash + 1);
  std::string base = file.substr(0, file.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();  // "nul .x" is NUL too
  for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const char* device : kDevices)
    if (base == device) return base;
  const bool numbered = base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
                        base[3] >= '1' && base[3] <= '9';
  return numbered ? base : std::string();
}

NameFault FileNameFault(const std::string& name) {
  if (!name.empty() && (name.back() == '.' || name.back() == ' ')) return NameFault::kTrailingDotOrSpace;
  return DeviceNameOf(name).empty() ? NameFault::kNone : NameFault::kDeviceName;
}

Profile::Profile() : operatingMode(kMouselook) {
  ResetValues();
  // Sized to sixteen empty slots first, then each new map goes in ahead of them: the stored
  // list keeps that length of 32.
  maps.resize(kMapCount);
  for (int i = 0; i < kMapCount; ++i) maps.insert(maps.begin() + i, std::make_unique<Command>());
}

Profile::Profile(const Profile& other)
    : operatingMode(other.operatingMode),
      pauseHotKey(other.pauseHotKey),
      recenterHotKey(other.recenterHotKey),
      mouselookHotKey(other.mouselookHotKey),
      commandHotKey(other.commandHotKey),
      mixedHotKey(other.mixedHotKey),
      freelookHold(other.freelookHold),
      reservedText(other.reservedText),
      gamePath(other.gamePath),
      startDirectory(other.startDirectory),
      gameArguments(other.gameArguments) {
  std::copy(std::begin(other.deadZone), std::end(other.deadZone), deadZone);
  for (int m = 0; m < kAxisModes; ++m)
    for (int a = 0; a < kLookAxes; ++a) axis[m][a] = other.axis[m][a];
  maps.reserve(other.maps.size());
  for (const auto& map : other.maps) maps.push_back(map ? std::make_unique<Command>(*map) : nullptr);
}

Profile& Profile::operator=(const Profile& other) {
  if (this != &other) *this = Profile(other);
  return *this;
}

void Profile::ResetValues() {
  for (auto& d : deadZone) d = kDeadZoneDefault;
  for (auto& mode : axis)
    for (auto& a : mode) a = {kAxisDefaults[0], kAxisDefaults[1], kAxisDefaults[2]};
  pauseHotKey = recenterHotKey = mouselookHotKey = commandHotKey = mixedHotKey = -1;
  freelookHold = -1;
  reservedText.clear();
  gamePath.clear();
  startDirectory.clear();
  gameArguments.clear();
}

void Profile::Reset() {
  ResetValues();
  for (size_t i = 0; i < maps.size() && i < kMapCount; ++i)
    if (maps[i]) maps[i]->reset();
}

// An empty list here means a load failed before (the manager clears before every load), which
// the user is told about before the clear goes on.
void Profile::Clear() {
  if (maps.empty() && MessageHandler()) MessageHandler()(kClearEmptyText, kClearEmptyCaption);
  maps.clear();
}

template <typename Ar>
bool Profile::SerializeSection(Ar& ar) {
  bool ok = true;
  for (auto& d : deadZone) ok = ok && ar.Int(d);
  for (auto& mode : axis)
    for (auto& a : mode)
      ok = ok && ar.Int(a.panningPoint) && ar.Int(a.nonPanningSensitivity) && ar.Int(a.panningSensitivity);
  return ok && ar.Int(operatingMode) && ar.Int(pauseHotKey) && ar.Int(recenterHotKey) &&
         ar.Int(mouselookHotKey) && ar.Int(commandHotKey) && ar.Int(mixedHotKey) && ar.Int(freelookHold) &&
         ar.String(reservedText) && ar.String(gamePath) && ar.String(startDirectory) && ar.String(gameArguments);
}

// The buffer is sized to what the file takes, so that memory follows what is written however
// long the list is: an empty slot costs its 2-byte tag, not a map's worth.
std::string Profile::ToBytes() const {
  size_t size = kSectionIntegerBytes + 32;  // the count and the class header fit in the 32
  for (const std::string* s : {&reservedText, &gamePath, &startDirectory, &gameArguments})
    size += ArchiveWriter::StringBytes(s->size());
  for (const auto& map : maps) {
    size += kSlotTagBytes;
    if (!map) continue;
    size += kMapIntegerBytes;
    for (const auto& label : map->powerLabels) size += ArchiveWriter::StringBytes(label.size());
  }
  ArchiveWriter writer;
  writer.Reserve(size);
  // The writer only reads the fields; the shared routine takes references for both directions.
  const_cast<Profile*>(this)->SerializeSection(writer);
  writer.Count(static_cast<uint32_t>(maps.size()));
  for (const auto& map : maps) {
    if (!map) {
      writer.NullObject();
      continue;
    }
    writer.NewObject(kCommandClass);
    map->Serialize(writer);
  }
  return writer.TakeBytes();
}

// The same rules FromBytes applies to the list, so that Save never replaces a user's file by
// one that no later Load reads.
bool Profile::Savable(std::string* error) const {
  if (maps.size() < kMapCount)
    return Report(error,
                  "the list holds " + std::to_string(maps.size()) + " maps, fewer than " + std::to_string(kMapCount));
  for (size_t i = 0; i < kMapCount; ++i)
    if (!maps[i]) return Report(error, "map " + std::to_string(i) + " is an empty slot");
  return true;
}

// Reads into a record of its own and takes it over only when every byte made sense, so a
// damaged file never leaves a half-read profile for the engine. Beyond the file's own rules it
// insists on maps 0-15 being present, since every user of a profile relies on them, and on
// each map appearing once, since the list owns its maps. Bytes after the list are ignored.
// A list longer than 32 entries is kept however long: every entry took at least its tag in a
// file that Load caps at 64 MB, loading and saving it cost a small multiple of the file, and
// the file saves back as it came rather than being refused or cut by a limit of our own.
bool Profile::FromBytes(const uint8_t* data, size_t size, std::string* error) {
  Profile loaded(EmptyTag{});
  ArchiveReader reader(data, size);
  uint32_t count = 0;
  if (!loaded.SerializeSection(reader) || !reader.Count(count, kSlotTagBytes)) return Report(error, reader.Error());
  if (count < kMapCount) {
    reader.Fail("the list holds " + std::to_string(count) + " maps, fewer than " + std::to_string(kMapCount),
                reader.Offset());
    return Report(error, reader.Error());
  }
  loaded.maps.resize(count);
  for (uint32_t i = 0; i < count; ++i) {
    const size_t at = reader.Offset();
    ArchiveReader::ObjectKind kind;
    uint32_t number;
    if (!reader.Object(kCommandClass, kind, number)) return Report(error, reader.Error());
    if (kind == ArchiveReader::ObjectKind::kExisting) {
      reader.Fail("map " + std::to_string(i) + " is record " + std::to_string(number) + " again", at);
      return Report(error, reader.Error());
    }
    if (kind == ArchiveReader::ObjectKind::kEmpty) {
      if (i < kMapCount) {
        reader.Fail("map " + std::to_string(i) + " is an empty slot", at);
        return Report(error, reader.Error());
      }
      continue;
    }
    auto map = std::make_unique<Command>();
    if (!map->Serialize(reader)) return Report(error, reader.Error());
    loaded.maps[i] = std::move(map);
  }
  *this = std::move(loaded);
  return true;
}

bool Profile::Load(const std::string& fileName, std::string* error) {
  std::error_code ec;
  const fs::path path = PathOf(fileName);
  const uintmax_t size = fs::file_size(path, ec);
  if (ec) return Report(error, "cannot open \"" + fileName + "\": " + ec.message());
  if (size > kMaxFileBytes)
    return Report(error, "\"" + fileName + "\" is " + std::to_string(size) + " bytes, too large for a profile");
  std::ifstream in(path, std::ios::binary);
  std::string bytes(static_cast<size_t>(size), '\0');
  if (!in || !in.read(&bytes[0], static_cast<std::streamsize>(size)))
    return Report(error, "cannot read \"" + fileName + "\"");
  std::string reason;
  if (!FromBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &reason))
    return Report(error, "\"" + fileName + "\": " + reason);
  return true;
}

// Never throws: a 32-bit program out of memory for a large profile gets false and the reason.
bool Profile::Save(const std::string& fileName, std::string* savedName, std::string* error) const {
  try {
    const std::string target = CompleteProfileName(fileName);
    if (savedName) *savedName = target;
    std::string reason;
    if (!Savable(&reason)) return Report(error, "cannot save \"" + target + "\": " + reason);
    switch (FileNameFault(target)) {
      case NameFault::kDeviceName:
        return Report(error, "cannot save \"" + target + "\": " + DeviceNameOf(target) +
                                 " is the name of a device, not of a file");
      case NameFault::kTrailingDotOrSpace:
        return Report(error, "cannot save \"" + target + "\": a file name cannot end in a dot or a space");
      case NameFault::kNone:
        break;
    }
    const std::string bytes = ToBytes();
    if (bytes.size() > kMaxFileBytes)
      return Report(error, "cannot save \"" + target + "\": " + std::to_string(bytes.size()) +
                               " bytes, too large for a profile");
    return ReplaceFile(target, bytes, error);
  } catch (const std::exception& e) {
    try {
      if (error) *error = std::string("cannot save the profile: ") + e.what();
    } catch (...) {
    }
    return false;
  }
}

Profile& CurrentProfile() {
  static Profile profile;
  return profile;
}

Profile& WorkingProfile() {
  static Profile profile;
  return profile;
}
