// The game's pictures, decoded from the 16-colour bitmaps embedded from
// resources/ ("bitmap<id>.bmp").
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

struct GameState;

// A decoded picture; pixels are 0xRRGGBB, row 0 at the top.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Cells of the sprite sheets are 40 x 40 with a 1-pixel white separator:
// cell (c, r) starts at (41c, 41r).
constexpr int kCellPitch = 41;

struct PictureSet {
  // Entry i from bitmap 108 + i: 0 tile strip, 1..8 the vehicles of slot
  // numbers 1..8, 9 brick band, 10 computer mark, 11 fireballs, 12 shield,
  // 13 player explosion.
  std::array<Picture, 14> Bitmaps;
  Picture IconBitmap;     // bitmap 124: sound and music icons
  Picture OwnMarkBitmap;  // bitmap 131
  // The vehicles as the playfield draws them, each a vehicle's cell with its
  // marks and shield ORed in, made on first use (paint_window.cpp).
  mutable std::vector<Picture> vehicleLooks;
};

// Decodes a 4-bit (16-colour) BMP file; false when it is not one.
bool DecodeBmp(const unsigned char* data, size_t size, Picture* out);

// Decodes the embedded "bitmap<id>.bmp"; an empty picture when missing.
Picture LoadEmbeddedBitmap(int id);

// Loads every picture the drawing uses into `set` and points g.Bitmaps at it.
void LoadBitmaps(GameState& g, PictureSet& set);
