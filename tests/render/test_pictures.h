// Small hand-made pictures for the drawing tests: the game's sizes and cell
// layout, each cell one flat colour that names it, so a test can tell from
// a pixel which cell was drawn there.
#pragma once

#include <algorithm>
#include <functional>

#include "render/pictures.h"
#include "render/surface.h"

// A grid of 40 x 40 cells with 1-pixel white separators.
inline Picture CellSheet(int cols, int rows, const std::function<uint32_t(int, int)>& colour) {
  Picture p;
  p.width = kCellPitch * cols - 1;
  p.height = kCellPitch * rows - 1;
  p.pixels.assign(static_cast<size_t>(p.width) * p.height, 0xFFFFFF);
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (x % kCellPitch != 40 && y % kCellPitch != 40)
        p.pixels[static_cast<size_t>(y) * p.width + x] = colour(x / kCellPitch, y / kCellPitch);
  return p;
}

inline Picture Flat(int w, int h, const std::function<uint32_t(int, int)>& colour) {
  Picture p;
  p.width = w;
  p.height = h;
  p.pixels.resize(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.pixels[static_cast<size_t>(y) * w + x] = colour(x, y);
  return p;
}

// Colours chosen so that ORing two of them never gives a third: each
// picture owns its own bits.
inline uint32_t TileColour(int phase, int code) { return Rgb(0x20 + code, phase, 0); }
inline uint32_t VehicleColour(int number, int facing, int phase) {
  return Rgb(0, 0x40 | number, (facing << 4) | phase);
}
inline uint32_t ExplosionColour(int step) { return Rgb(0x80, 0, 0x80 | step); }
inline constexpr uint32_t kComputerMarkColour = Rgb(0, 0x80, 0);
// The phase in bits 2-3: the vehicle beneath has its phase in bits 0-1.
inline uint32_t ShieldColour(int phase) { return Rgb(0, 0, 0x40 | (phase << 2)); }
inline uint32_t FireballColour(int phase, int row) { return Rgb(0x10 | row, 0, phase); }

inline PictureSet TestPictures() {
  PictureSet s;
  s.Bitmaps[0] = CellSheet(4, 9, [](int c, int r) { return r == 0 ? 0u : TileColour(c, r); });
  for (int n = 1; n <= 8; ++n)
    s.Bitmaps[n] = CellSheet(4, 4, [n](int c, int r) { return VehicleColour(n, c, r); });
  s.Bitmaps[9] = Flat(175, 52, [](int, int y) { return Rgb(0x90, y, 0); });
  s.Bitmaps[10] = CellSheet(4, 4, [](int, int) { return kComputerMarkColour; });
  s.Bitmaps[11] = CellSheet(4, 2, [](int c, int r) { return FireballColour(c, r); });
  s.Bitmaps[12] = CellSheet(4, 1, [](int c, int) { return ShieldColour(c); });
  s.Bitmaps[13] = CellSheet(6, 1, [](int c, int) { return ExplosionColour(c); });
  s.IconBitmap = CellSheet(2, 4, [](int c, int r) { return Rgb(1 + c, 0x30, r); });
  s.OwnMarkBitmap = CellSheet(4, 4, [](int, int) { return Rgb(0x40, 0, 0); });
  return s;
}

// Pixels of that colour in the rectangle (clipped to the surface).
inline int CountColour(const Surface& s, int x, int y, int w, int h, uint32_t colour) {
  int n = 0;
  for (int yy = std::max(y, 0); yy < std::min(y + h, s.height); ++yy)
    for (int xx = std::max(x, 0); xx < std::min(x + w, s.width); ++xx) n += s.At(xx, yy) == colour;
  return n;
}
