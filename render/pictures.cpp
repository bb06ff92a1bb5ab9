#include "render/pictures.h"

#include <cstdio>

#include "game/game_state.h"
#include "platform/embedded_assets.h"

namespace {

// BITMAPFILEHEADER (14 bytes) and the start of BITMAPINFOHEADER (40 bytes).
constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kBiRgb = 0;
constexpr int kPaletteEntries = 16;
// Far beyond any picture of the game; keeps every size computation small.
constexpr int64_t kMaxDimension = 4096;

uint16_t U16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint32_t U32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

int32_t I32(const unsigned char* p) { return static_cast<int32_t>(U32(p)); }

}  // namespace

bool DecodeBmp(const unsigned char* data, size_t size, Picture* out) {
  if (!data || !out || size < kFileHeaderSize + kInfoHeaderSize) return false;
  if (data[0] != 'B' || data[1] != 'M') return false;
  const uint32_t pixelOffset = U32(data + 10);
  const unsigned char* info = data + kFileHeaderSize;
  const uint32_t infoSize = U32(info);
  // Later header versions (V4, V5) only append fields after the first 40 bytes.
  if (infoSize < kInfoHeaderSize || infoSize > size - kFileHeaderSize) return false;
  const int64_t width = I32(info + 4);
  const int64_t rawHeight = I32(info + 8);
  const uint16_t planes = U16(info + 12);
  const uint16_t bitCount = U16(info + 14);
  const uint32_t compression = U32(info + 16);
  uint32_t coloursUsed = U32(info + 32);
  if (planes != 1 || bitCount != 4 || compression != kBiRgb) return false;
  if (coloursUsed == 0) coloursUsed = kPaletteEntries;
  if (coloursUsed > kPaletteEntries) return false;
  const bool bottomUp = rawHeight > 0;
  const int64_t height = bottomUp ? rawHeight : -rawHeight;
  if (width <= 0 || width > kMaxDimension || height <= 0 || height > kMaxDimension) return false;

  // The palette follows the header and must end before the pixels begin.
  const uint64_t paletteStart = kFileHeaderSize + static_cast<uint64_t>(infoSize);
  const uint64_t paletteEnd = paletteStart + 4ull * coloursUsed;
  if (paletteEnd > pixelOffset || paletteEnd > size) return false;
  uint32_t palette[kPaletteEntries] = {};
  for (uint32_t i = 0; i < coloursUsed; ++i) {
    const unsigned char* q = data + paletteStart + 4 * i;  // blue, green, red, reserved
    palette[i] = static_cast<uint32_t>(q[2]) << 16 | static_cast<uint32_t>(q[1]) << 8 | q[0];
  }

  // Rows of 4-bit pixels, each padded to a multiple of 4 bytes.
  const uint64_t stride = (static_cast<uint64_t>(width) * 4 + 31) / 32 * 4;
  if (static_cast<uint64_t>(pixelOffset) + stride * static_cast<uint64_t>(height) > size)
    return false;

  Picture pic;
  pic.width = static_cast<int>(width);
  pic.height = static_cast<int>(height);
  pic.pixels.resize(static_cast<size_t>(width * height));
  for (int64_t row = 0; row < height; ++row) {
    const unsigned char* src = data + pixelOffset + stride * static_cast<uint64_t>(row);
    const int64_t y = bottomUp ? height - 1 - row : row;
    for (int64_t x = 0; x < width; ++x) {
      const unsigned char b = src[x / 2];
      const unsigned index = (x % 2 == 0) ? (b >> 4) : (b & 0x0F);
      if (index >= coloursUsed) return false;
      pic.pixels[static_cast<size_t>(y * width + x)] = palette[index];
    }
  }
  *out = std::move(pic);
  return true;
}

Picture LoadEmbeddedBitmap(int id) {
  char name[32];
  std::snprintf(name, sizeof name, "bitmap%d.bmp", id);
  Picture pic;
  const EmbeddedFile* file = EmbeddedAsset(name);
  if (!file || !DecodeBmp(file->data, file->size, &pic)) return Picture{};
  return pic;
}

void LoadBitmaps(GameState& g, PictureSet& set) {
  // A picture that fails to load stays empty: copies from it draw nothing.
  for (int i = 0; i < static_cast<int>(set.Bitmaps.size()); ++i)
    set.Bitmaps[i] = LoadEmbeddedBitmap(108 + i);
  set.IconBitmap = LoadEmbeddedBitmap(124);
  set.OwnMarkBitmap = LoadEmbeddedBitmap(131);
  g.Bitmaps = &set;
}
