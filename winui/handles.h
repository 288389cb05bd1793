#pragma once
// Small RAII owners for Windows handles: movable, never copyable (a copy would close twice).
#include <windows.h>
#include <commctrl.h>

#include <utility>

template <typename Traits>
class UniqueResource {
 public:
  using Handle = typename Traits::Handle;
  UniqueResource() = default;
  explicit UniqueResource(Handle h) : handle_(h) {}
  ~UniqueResource() { Reset(); }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept : handle_(other.Release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  Handle Get() const { return handle_; }
  bool Valid() const { return Traits::Valid(handle_); }
  explicit operator bool() const { return Valid(); }
  Handle Release() { return std::exchange(handle_, Traits::Empty()); }
  // Closes the held handle; returns whether the close succeeded (false when none was held).
  bool Reset(Handle h = Traits::Empty()) {
    bool closed = Valid() && Traits::Close(handle_);
    handle_ = h;
    return closed;
  }

 private:
  Handle handle_ = Traits::Empty();
};

// Kernel objects: files, pipes, threads, events, mutexes. Both NULL and
// INVALID_HANDLE_VALUE mean "none", since the APIs disagree on which they return.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() { return nullptr; }
  static bool Valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static bool Close(Handle h) { return CloseHandle(h) != 0; }
};
using KernelHandle = UniqueResource<KernelHandleTraits>;

struct RegKeyTraits {
  using Handle = HKEY;
  static Handle Empty() { return nullptr; }
  static bool Valid(Handle h) { return h != nullptr; }
  static bool Close(Handle h) { return RegCloseKey(h) == ERROR_SUCCESS; }
};
using RegKey = UniqueResource<RegKeyTraits>;

struct GdiObjectTraits {
  using Handle = HGDIOBJ;
  static Handle Empty() { return nullptr; }
  static bool Valid(Handle h) { return h != nullptr; }
  static bool Close(Handle h) { return DeleteObject(h) != 0; }
};
using GdiObject = UniqueResource<GdiObjectTraits>;

struct ImageListTraits {
  using Handle = HIMAGELIST;
  static Handle Empty() { return nullptr; }
  static bool Valid(Handle h) { return h != nullptr; }
  static bool Close(Handle h) { return ImageList_Destroy(h) != 0; }
};
using ImageList = UniqueResource<ImageListTraits>;
