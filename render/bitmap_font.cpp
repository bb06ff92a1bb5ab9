#include "render/bitmap_font.h"

#include <cstring>

#include "platform/embedded_assets.h"

int BitmapFont::TextWidth(std::string_view text) const {
  int w = 0;
  for (char c : text)
    if (const Glyph* gl = Find(static_cast<unsigned char>(c))) w += gl->advance;
  return w;
}

bool ParseBitmapFont(const uint8_t* data, size_t size, BitmapFont* out) {
  constexpr size_t kHeader = 9;
  if (!data || size < kHeader || std::memcmp(data, "VFNT", 4) != 0 || data[4] != 1) return false;
  BitmapFont f;
  f.height = data[5];
  f.ascent = data[6];
  f.first = data[7];
  size_t count = data[8];
  if (size < kHeader + 3 * count) return false;
  size_t pos = kHeader + 3 * count;
  const size_t bitsStart = pos;
  f.glyphs.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* r = data + kHeader + 3 * i;
    BitmapFont::Glyph& gl = f.glyphs[i];
    gl.advance = r[0];
    gl.left = static_cast<int8_t>(r[1]);
    gl.width = r[2];
    gl.offset = pos - bitsStart;
    size_t bytes = static_cast<size_t>(gl.width + 7) / 8 * static_cast<size_t>(f.height);
    if (bytes > size - pos) return false;
    pos += bytes;
  }
  f.bits.assign(data + bitsStart, data + pos);
  *out = std::move(f);
  return true;
}

const BitmapFont& GameFont() {
  // Read-only after the first call; the bytes are part of the program.
  static const BitmapFont font = [] {
    BitmapFont f;
    if (const EmbeddedFile* e = EmbeddedAsset("dejavu.font")) ParseBitmapFont(e->data, e->size, &f);
    return f;
  }();
  return font;
}
