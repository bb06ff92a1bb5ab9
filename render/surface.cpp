#include "render/surface.h"

#include <algorithm>
#include <cstring>

#include "render/bitmap_font.h"
#include "render/pictures.h"

template <typename RowOp>
void Surface::Blit(const Picture& src, int sx, int sy, int w, int h, int dx, int dy, RowOp op) {
  // Clip the source rectangle to the picture, moving the destination along.
  int x0 = std::max(sx, 0), y0 = std::max(sy, 0);
  int x1 = std::min(sx + w, src.width), y1 = std::min(sy + h, src.height);
  // Then clip the destination of what is left to the surface.
  int ox = dx - sx, oy = dy - sy;  // destination = source + offset
  x0 = std::max(x0, -ox);
  y0 = std::max(y0, -oy);
  x1 = std::min(x1, width - ox);
  y1 = std::min(y1, height - oy);
  if (x0 >= x1 || y0 >= y1) return;
  for (int y = y0; y < y1; ++y) {
    const uint32_t* in = &src.pixels[static_cast<size_t>(y) * src.width + x0];
    uint32_t* out = &pixels[static_cast<size_t>(y + oy) * width + ox + x0];
    if (op(out, in, x1 - x0)) changed.MarkRow(y + oy, ox + x0, ox + x1);
  }
}

// Each operation notes, row by row, whether it changed any pixel of the
// row: a copy compares first and writes only a row that differs; OR and
// fill write and compare in the same pass (a loop the compiler vectorises).

void Surface::Copy(const Picture& src, int sx, int sy, int w, int h, int dx, int dy) {
  Blit(src, sx, sy, w, h, dx, dy, [](uint32_t* out, const uint32_t* in, int n) {
    const size_t bytes = sizeof(uint32_t) * static_cast<size_t>(n);
    if (std::memcmp(out, in, bytes) == 0) return false;
    std::memcpy(out, in, bytes);
    return true;
  });
}

void Surface::Or(const Picture& src, int sx, int sy, int w, int h, int dx, int dy) {
  Blit(src, sx, sy, w, h, dx, dy, [](uint32_t* out, const uint32_t* in, int n) {
    uint32_t added = 0;
    for (int i = 0; i < n; ++i) {
      added |= in[i] & ~out[i];
      out[i] |= in[i];
    }
    return added != 0;
  });
}

void Surface::Fill(int x, int y, int w, int h, uint32_t colour) {
  int x0 = std::max(x, 0), y0 = std::max(y, 0);
  int x1 = std::min(x + w, width), y1 = std::min(y + h, height);
  for (int yy = y0; yy < y1; ++yy) {
    uint32_t* row = &pixels[static_cast<size_t>(yy) * width + x0];
    uint32_t differs = 0;
    for (int i = 0; i < x1 - x0; ++i) {
      differs |= row[i] ^ colour;
      row[i] = colour;
    }
    if (differs) changed.MarkRow(yy, x0, x1);
  }
}

void Surface::DrawText(int x, int y, std::string_view text, uint32_t colour) {
  const BitmapFont& font = GameFont();
  int pen = x;
  for (char c : text) {
    const BitmapFont::Glyph* gl = font.Find(static_cast<unsigned char>(c));
    if (!gl) continue;
    for (int row = 0; row < font.height; ++row) {
      int py = y + row;
      if (py < 0 || py >= height) continue;
      for (int col = 0; col < gl->width; ++col) {
        int px = pen + gl->left + col;
        if (px < 0 || px >= width) continue;
        if (!font.Pixel(*gl, col, row)) continue;
        uint32_t& p = pixels[static_cast<size_t>(py) * width + px];
        if (p == colour) continue;
        p = colour;
        changed.MarkRow(py, px, px + 1);
      }
    }
    pen += gl->advance;
  }
}

int Surface::TextWidth(std::string_view text) { return GameFont().TextWidth(text); }

int Surface::TextHeight() { return GameFont().height; }
