#include "qmouse/monitors.h"

#include <algorithm>

namespace {

// Squared distance from `p` to the nearest pixel of `r` (0 inside); in 64 bits, since
// coordinates may be far apart.
int64_t DistanceSquared(const Rect& r, Point p) {
  const int64_t dx = p.x < r.left ? int64_t{r.left} - p.x : p.x >= r.right ? int64_t{p.x} - (r.right - 1) : 0;
  const int64_t dy = p.y < r.top ? int64_t{r.top} - p.y : p.y >= r.bottom ? int64_t{p.y} - (r.bottom - 1) : 0;
  return dx * dx + dy * dy;
}

int64_t Overlap(const Rect& a, const Rect& b) {
  const int64_t w = int64_t{std::min(a.right, b.right)} - std::max(a.left, b.left);
  const int64_t h = int64_t{std::min(a.bottom, b.bottom)} - std::max(a.top, b.top);
  return w > 0 && h > 0 ? w * h : 0;
}

int32_t Clamp(int32_t v, int32_t low, int32_t high) { return v < low ? low : v > high ? high : v; }

bool Inside(const Rect& outer, const Rect& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

}  // namespace

int MonitorIndexAt(const std::vector<Monitor>& monitors, Point p) {
  int best = -1;
  int64_t bestDistance = 0;
  for (size_t i = 0; i < monitors.size(); ++i) {
    const int64_t d = DistanceSquared(monitors[i].bounds, p);
    if (best < 0 || d < bestDistance) {
      best = static_cast<int>(i);
      bestDistance = d;
    }
  }
  return best;
}

int MonitorIndexOf(const std::vector<Monitor>& monitors, const Rect& window) {
  int best = -1;
  int64_t most = 0;
  for (size_t i = 0; i < monitors.size(); ++i) {
    const int64_t o = Overlap(monitors[i].bounds, window);
    if (o > most) {
      best = static_cast<int>(i);
      most = o;
    }
  }
  if (best >= 0) return best;
  const Point centre = {static_cast<int32_t>((int64_t{window.left} + window.right) / 2),
                        static_cast<int32_t>((int64_t{window.top} + window.bottom) / 2)};
  return MonitorIndexAt(monitors, centre);
}

Point OntoMonitors(const std::vector<Monitor>& monitors, Point p) {
  const int i = MonitorIndexAt(monitors, p);
  if (i < 0) return p;
  const Rect& r = monitors[i].bounds;
  if (r.Width() <= 0 || r.Height() <= 0) return p;
  return {Clamp(p.x, r.left, r.right - 1), Clamp(p.y, r.top, r.bottom - 1)};
}

Rect BoundingBox(const std::vector<Monitor>& monitors) {
  Rect box = monitors.empty() ? Rect{} : monitors[0].bounds;
  for (const Monitor& m : monitors) {
    box.left = std::min(box.left, m.bounds.left);
    box.top = std::min(box.top, m.bounds.top);
    box.right = std::max(box.right, m.bounds.right);
    box.bottom = std::max(box.bottom, m.bounds.bottom);
  }
  return box;
}

bool OnSomeWorkArea(const std::vector<Monitor>& monitors, const Rect& window) {
  for (const Monitor& m : monitors)
    if (Inside(m.work, window)) return true;
  return false;
}

Point OntoWorkArea(const std::vector<Monitor>& monitors, const Rect& window) {
  const int i = MonitorIndexOf(monitors, window);
  if (i < 0) return {window.left, window.top};
  const Rect& w = monitors[i].work;
  // max before min: a window wider than the work area keeps its left edge on it.
  const int32_t x = std::max(w.left, std::min(window.left, w.right - window.Width()));
  const int32_t y = std::max(w.top, std::min(window.top, w.bottom - window.Height()));
  return {x, y};
}

int32_t ScaleForDpi(int32_t length, int32_t dpi) {
  const int64_t d = dpi < 96 ? 96 : dpi > 192 ? 192 : dpi;
  return static_cast<int32_t>((int64_t{length} * d + 48) / 96);
}
