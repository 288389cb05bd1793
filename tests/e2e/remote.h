#pragma once
// Bytes copied into another process, for messages whose parameter is a pointer that the system
// does not carry across processes (a drop's HDROP, a list view's LVITEM).
#include <windows.h>
#include <shlobj.h>  // DROPFILES

#include <cstring>
#include <string>
#include <vector>

class RemoteCopy {
 public:
  RemoteCopy(DWORD processId, const void* bytes, size_t size)
      : process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE | PROCESS_VM_READ, FALSE, processId)) {
    if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (address_ && !WriteProcessMemory(process_, address_, bytes, size, nullptr)) address_ = nullptr;
  }
  ~RemoteCopy() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteCopy(const RemoteCopy&) = delete;
  RemoteCopy& operator=(const RemoteCopy&) = delete;
  // The copy's address in the other process; null when it could not be made.
  void* Address() const { return address_; }
  // Reads the copy back, after the other process wrote into it.
  bool Read(void* bytes, size_t size) const {
    return address_ && ReadProcessMemory(process_, address_, bytes, size, nullptr);
  }

 private:
  HANDLE process_;
  void* address_ = nullptr;
};

// A drop of one file at client point (x, y), laid out as the shell hands it over. The receiver
// reads it with DragQueryFile; the copy must outlive the posted WM_DROPFILES's handling.
inline std::vector<char> DropBytes(const std::string& file, LONG x, LONG y) {
  std::vector<char> bytes(sizeof(DROPFILES) + file.size() + 2, 0);
  auto* drop = reinterpret_cast<DROPFILES*>(bytes.data());
  drop->pFiles = sizeof(DROPFILES);
  drop->pt = {x, y};
  memcpy(bytes.data() + sizeof(DROPFILES), file.data(), file.size());
  return bytes;
}

// The same drop as a handle of this process, for a window of the test's own; the receiver's
// DragFinish frees it.
inline HGLOBAL LocalDrop(const std::string& file, LONG x, LONG y) {
  const std::vector<char> bytes = DropBytes(file, x, y);
  HGLOBAL memory = GlobalAlloc(GHND, bytes.size());
  if (memory) {
    memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
  }
  return memory;
}
