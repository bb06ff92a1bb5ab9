// The game's one text font: a 1-bit bitmap font made from DejaVu Sans by
// tools/font_maker and embedded as "dejavu.font".
//
// File layout (all single bytes, no padding):
//   0  "VFNT"
//   4  version, 1
//   5  H: line height in pixels; text drawn at y covers rows y .. y + H - 1
//   6  ascent: baseline row within the line (for information)
//   7  first character code (32)
//   8  N: number of glyphs, for codes first .. first + N - 1
//   9  N records of 3 bytes: advance, left (signed: bitmap x from the pen),
//      width W (0 for a glyph that draws nothing)
//   then, glyph after glyph, H rows of ceil(W / 8) bytes, leftmost pixel in
//   the most significant bit.
// Codes outside the table draw nothing and do not advance.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

struct BitmapFont {
  struct Glyph {
    int advance = 0;
    int left = 0;
    int width = 0;
    size_t offset = 0;  // first row's byte in bits
  };
  int height = 0;
  int ascent = 0;
  int first = 0;
  std::vector<Glyph> glyphs;
  std::vector<uint8_t> bits;

  // The glyph of a character code, or null when the font has none.
  const Glyph* Find(unsigned char code) const {
    int i = static_cast<int>(code) - first;
    if (i < 0 || i >= static_cast<int>(glyphs.size())) return nullptr;
    return &glyphs[static_cast<size_t>(i)];
  }
  bool Pixel(const Glyph& gl, int x, int y) const {
    size_t stride = static_cast<size_t>(gl.width + 7) / 8;
    return bits[gl.offset + static_cast<size_t>(y) * stride + static_cast<size_t>(x) / 8] &
           (0x80 >> (x % 8));
  }
  // Sum of the advances: the width the text takes on screen.
  int TextWidth(std::string_view text) const;
};

// Reads the format above; false (and `out` untouched) when the bytes are
// not a complete font.
bool ParseBitmapFont(const uint8_t* data, size_t size, BitmapFont* out);

// The embedded game font, read once. An empty font (no text) when missing.
const BitmapFont& GameFont();
