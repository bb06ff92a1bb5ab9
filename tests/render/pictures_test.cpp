#include "render/pictures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "game/game_state.h"
#include "platform/embedded_assets.h"
#include "render/player_colours.h"

namespace {

constexpr uint32_t kBlack = 0x000000;

const uint32_t kStandardPalette[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

struct Expected {
  const char* file;
  int width, height;
};

const Expected kPictures[] = {
    {"bitmap108.bmp", 163, 368}, {"bitmap109.bmp", 163, 163}, {"bitmap110.bmp", 163, 163},
    {"bitmap111.bmp", 163, 163}, {"bitmap112.bmp", 163, 163}, {"bitmap113.bmp", 163, 163},
    {"bitmap114.bmp", 163, 163}, {"bitmap115.bmp", 163, 163}, {"bitmap116.bmp", 163, 163},
    {"bitmap117.bmp", 175, 52},  {"bitmap118.bmp", 163, 163}, {"bitmap119.bmp", 163, 81},
    {"bitmap120.bmp", 163, 40},  {"bitmap121.bmp", 245, 40},  {"bitmap123.bmp", 376, 281},
    {"bitmap124.bmp", 81, 163},  {"bitmap130.bmp", 128, 74},  {"bitmap131.bmp", 163, 163},
    {"icon102.bmp", 32, 32},     {"cursor104.bmp", 32, 32},
};

uint32_t Le32(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// Pixel (x, y) of cell (c, r).
uint32_t CellAt(const Picture& p, int c, int r, int x, int y) {
  return p.At(kCellPitch * c + x, kCellPitch * r + y);
}

// A copy of an embedded bitmap of odd width (rows padded) with `bytes`
// written at `at`.
std::vector<unsigned char> Shield(size_t at = 0, std::vector<unsigned char> bytes = {}) {
  const EmbeddedFile* f = EmbeddedAsset("bitmap120.bmp");
  std::vector<unsigned char> b(f->data, f->data + f->size);
  std::copy(bytes.begin(), bytes.end(), b.begin() + at);
  return b;
}

// Decodes a heap copy of exactly the bytes, so that AddressSanitizer
// builds catch a read past the end.
bool Decodes(const std::vector<unsigned char>& bytes, Picture* out = nullptr) {
  Picture scratch;
  std::vector<unsigned char> exact(bytes);
  return DecodeBmp(exact.data(), exact.size(), out ? out : &scratch);
}

// Pixels of cell (c, r) that belong to the vehicle: everything not reached
// from the border through black, so the black hatch counts as vehicle.
std::vector<bool> VehicleRegion(const Picture& v, int c, int r) {
  std::vector<bool> inside(40 * 40, true);
  std::vector<int> todo;
  for (int i = 0; i < 40; ++i) todo.insert(todo.end(), {i, 39 * 40 + i, i * 40, i * 40 + 39});
  while (!todo.empty()) {
    const int k = todo.back(), x = k % 40, y = k / 40;
    todo.pop_back();
    if (!inside[k] || CellAt(v, c, r, x, y) != kBlack) continue;
    inside[k] = false;
    if (x > 0) todo.push_back(k - 1);
    if (x < 39) todo.push_back(k + 1);
    if (y > 0) todo.push_back(k - 40);
    if (y < 39) todo.push_back(k + 40);
  }
  return inside;
}

TEST(PicturesTest, EveryPictureIsA16ColourBitmapOfItsSizeWithWhiteSeparators) {
  for (const Expected& e : kPictures) {
    SCOPED_TRACE(e.file);
    const EmbeddedFile* f = EmbeddedAsset(e.file);
    ASSERT_NE(f, nullptr);
    ASSERT_GE(f->size, 54u + 64u);
    const unsigned char* d = f->data;
    EXPECT_EQ(d[28] | d[29] << 8, 4);  // bits per pixel
    EXPECT_EQ(Le32(d + 30), 0u);       // uncompressed
    for (int i = 0; i < 16; ++i) {
      const unsigned char* q = d + 14 + Le32(d + 14) + 4 * i;
      EXPECT_EQ(static_cast<uint32_t>(q[2] << 16 | q[1] << 8 | q[0]), kStandardPalette[i]) << i;
    }
    Picture p;
    ASSERT_TRUE(DecodeBmp(f->data, f->size, &p));
    EXPECT_EQ(p.width, e.width);
    EXPECT_EQ(p.height, e.height);
    // Sheets of 40 x 40 cells are a whole number of pitches less one.
    if (e.width % kCellPitch != 40 || e.height % kCellPitch != 40) continue;
    int wrong = 0;
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x)
        if ((x % kCellPitch == 40 || y % kCellPitch == 40) && p.At(x, y) != 0xFFFFFF) ++wrong;
    EXPECT_EQ(wrong, 0);
  }
}

TEST(PicturesTest, OverlaysAreBlackOutsideTheirMarks) {
  // The marks are ORed over a vehicle: nothing may land more than a pixel
  // away from it.
  const Picture vehicle = LoadEmbeddedBitmap(109);
  for (int id : {118, 131}) {
    SCOPED_TRACE(id);
    const Picture mark = LoadEmbeddedBitmap(id);
    int lit = 0, stray = 0;
    for (int c = 0; c < 4; ++c)
      for (int r = 0; r < 4; ++r) {
        const std::vector<bool> region = VehicleRegion(vehicle, c, r);
        for (int y = 0; y < 40; ++y)
          for (int x = 0; x < 40; ++x) {
            if (CellAt(mark, c, r, x, y) == kBlack) continue;
            ++lit;
            bool near = false;
            for (int yy = std::max(y - 1, 0); yy <= std::min(y + 1, 39); ++yy)
              for (int xx = std::max(x - 1, 0); xx <= std::min(x + 1, 39); ++xx)
                near |= region[yy * 40 + xx];
            stray += !near;
          }
      }
    EXPECT_GT(lit, 16 * 8);
    EXPECT_EQ(stray, 0);
  }
  // The shield is a disc: black outside it, filled inside.
  const Picture shield = LoadEmbeddedBitmap(120);
  for (int phase = 0; phase < 4; ++phase) {
    int inside = 0, outside = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x) {
        const double dx = x - 19.5, dy = y - 19.5;
        const bool set = CellAt(shield, phase, 0, x, y) != kBlack;
        (dx * dx + dy * dy > 400.0 ? outside : inside) += set;
      }
    EXPECT_EQ(outside, 0) << phase;
    EXPECT_GT(inside, 400) << phase;
  }
}

TEST(DecodeBmpTest, DecodesBothRowOrdersWithRowPadding) {
  const std::vector<unsigned char> file = Shield();
  const uint32_t offset = Le32(&file[10]);
  const int w = 163, h = 40, stride = 84;  // 81.5 bytes of pixels per row
  Picture up, down;
  ASSERT_TRUE(Decodes(file, &up));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const unsigned char b = file[offset + (h - 1 - y) * stride + x / 2];
      ASSERT_EQ(up.At(x, y), kStandardPalette[x % 2 ? b & 15 : b >> 4]) << x << "," << y;
    }
  // The same picture stored top-down: negative height, rows reversed.
  std::vector<unsigned char> flipped = Shield(22, {0xD8, 0xFF, 0xFF, 0xFF});
  for (int y = 0; y < h; ++y)
    std::copy_n(&file[offset + (h - 1 - y) * stride], stride, &flipped[offset + y * stride]);
  ASSERT_TRUE(Decodes(flipped, &down));
  EXPECT_EQ(down.pixels, up.pixels);
}

TEST(DecodeBmpTest, RejectsTruncatedAndMalformedInput) {
  const std::vector<unsigned char> good = Shield();
  for (size_t n = 0; n < good.size(); ++n)
    ASSERT_FALSE(Decodes(std::vector<unsigned char>(good.begin(), good.begin() + n))) << n;
  EXPECT_FALSE(DecodeBmp(nullptr, 100, nullptr));

  EXPECT_FALSE(Decodes(Shield(0, {'P', 'M'})));                 // not a bitmap
  EXPECT_FALSE(Decodes(Shield(28, {8})));                        // 8 bits per pixel
  EXPECT_FALSE(Decodes(Shield(30, {2})));                        // RLE4 compressed
  EXPECT_FALSE(Decodes(Shield(26, {2})));                        // two planes
  EXPECT_FALSE(Decodes(Shield(18, {0, 0, 0, 0})));               // zero width
  EXPECT_FALSE(Decodes(Shield(18, {0xFF, 0xFF, 0xFF, 0x7F})));   // absurd width
  EXPECT_FALSE(Decodes(Shield(22, {0, 0, 0, 0x80})));            // most negative height
  EXPECT_FALSE(Decodes(Shield(14, {12})));                       // old 12-byte header
  EXPECT_FALSE(Decodes(Shield(14, {0xFF, 0xFF, 0xFF, 0xFF})));   // header past the end
  EXPECT_FALSE(Decodes(Shield(46, {17})));                       // 17 palette entries
  EXPECT_FALSE(Decodes(Shield(10, {0xF0, 0xFF, 0xFF, 0xFF})));   // pixels past the end
  EXPECT_FALSE(Decodes(Shield(10, {60})));                       // pixels over the palette
  // 16 palette entries named outright are fine; with 15, the white
  // separators name a colour the palette does not have.
  EXPECT_TRUE(Decodes(Shield(46, {16, 0, 0, 0})));
  EXPECT_FALSE(Decodes(Shield(46, {15, 0, 0, 0})));
}

TEST(PlayerColoursTest, NoComponentIsZeroAndEverySlotDiffers) {
  GameState g;
  SetPlayerColours(g);
  for (int i = 0; i < kSlotCount; ++i) {
    for (int k = 0; k < 3; ++k) EXPECT_NE(g.PlayerColours[i][k], 0) << i << "," << k;
    for (int j = 0; j < i; ++j)
      EXPECT_NE(std::memcmp(g.PlayerColours[i], g.PlayerColours[j], 3), 0) << i << "," << j;
  }
}

}  // namespace
