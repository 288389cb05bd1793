#include "tests/e2e/screenshot.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

bool SaveWindowPicture(HWND window, const std::string& path) {
  RECT r;
  if (!GetWindowRect(window, &r)) return false;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = w;
  info.biHeight = h;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const int stride = (w * 3 + 3) & ~3;
  std::vector<unsigned char> pixels(static_cast<size_t>(stride) * h);
  const bool got = GetDIBits(memory, bitmap, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
                             DIB_RGB_COLORS) == h;
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!got) return false;
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  const bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&info, sizeof info, 1, out) == 1 &&
                  std::fwrite(pixels.data(), pixels.size(), 1, out) == 1;
  return std::fclose(out) == 0 && ok;
}

std::string ShotsFolder() {
  const char* folder = std::getenv("HX_SHOTS");
  if (!folder || !*folder) return "";
  std::string f = folder;
  if (f.back() != '\\' && f.back() != '/') f += '\\';
  return f;
}
