#pragma once
// Screen geometry without <windows.h>; the Win32 side converts at the seam.
#include <atomic>
#include <cstdint>

struct Point {
  int32_t x = 0, y = 0;
  bool operator==(const Point& o) const { return x == o.x && y == o.y; }
  bool operator!=(const Point& o) const { return !(*this == o); }
};

struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  bool operator!=(const Rect& o) const { return !(*this == o); }
};

// Hit-testing as the window system does it: the left and top edges are inside, the right
// and bottom ones outside.
inline bool Contains(const Rect& r, Point p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// Where the system puts a cursor set to `p` while it is confined to `r`: the nearest pixel
// inside. An empty rectangle confines nothing.
inline Point ClampInto(const Rect& r, Point p) {
  if (r.Width() <= 0 || r.Height() <= 0) return p;
  return {p.x < r.left ? r.left : p.x >= r.right ? r.right - 1 : p.x,
          p.y < r.top ? r.top : p.y >= r.bottom ? r.bottom - 1 : p.y};
}

// A rectangle one thread publishes and another reads without a lock. Position and size are
// one 64-bit value each, so a reader never sees half of a move.
class SharedRect {
 public:
  void Store(const Rect& r) {
    size_.store(Pack(r.Width(), r.Height()));
    origin_.store(Pack(r.left, r.top));
  }
  // False until something was stored.
  bool Load(Rect& r) const {
    const uint64_t size = size_.load(), origin = origin_.load();
    if (size == 0) return false;
    r.left = Low(origin);
    r.top = High(origin);
    r.right = r.left + Low(size);
    r.bottom = r.top + High(size);
    return true;
  }

 private:
  static uint64_t Pack(int32_t low, int32_t high) {
    return static_cast<uint32_t>(low) | uint64_t{static_cast<uint32_t>(high)} << 32;
  }
  static int32_t Low(uint64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v)); }
  static int32_t High(uint64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v >> 32)); }
  std::atomic<uint64_t> origin_{0}, size_{0};
};
