#include "render/pictures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "game/game_state.h"
#include "platform/embedded_assets.h"
#include "render/player_colours.h"

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

const uint32_t kStandardPalette[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

struct Expected {
  const char* file;
  int width, height;
  int cols, rows;  // cell grid, 0 when the picture has none
};

const Expected kPictures[] = {
    {"bitmap108.bmp", 163, 368, 4, 9}, {"bitmap109.bmp", 163, 163, 4, 4},
    {"bitmap110.bmp", 163, 163, 4, 4}, {"bitmap111.bmp", 163, 163, 4, 4},
    {"bitmap112.bmp", 163, 163, 4, 4}, {"bitmap113.bmp", 163, 163, 4, 4},
    {"bitmap114.bmp", 163, 163, 4, 4}, {"bitmap115.bmp", 163, 163, 4, 4},
    {"bitmap116.bmp", 163, 163, 4, 4}, {"bitmap117.bmp", 175, 52, 0, 0},
    {"bitmap118.bmp", 163, 163, 4, 4}, {"bitmap119.bmp", 163, 81, 4, 2},
    {"bitmap120.bmp", 163, 40, 4, 1},  {"bitmap121.bmp", 245, 40, 6, 1},
    {"bitmap123.bmp", 376, 281, 0, 0}, {"bitmap124.bmp", 81, 163, 2, 4},
    {"bitmap130.bmp", 128, 74, 0, 0},  {"bitmap131.bmp", 163, 163, 4, 4},
    {"icon102.bmp", 32, 32, 0, 0},     {"cursor104.bmp", 32, 32, 0, 0},
};

uint32_t Le32(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

Picture Load(int id) {
  Picture p = LoadEmbeddedBitmap(id);
  EXPECT_GT(p.width, 0) << "bitmap " << id;
  return p;
}

// Pixel (x, y) of cell (c, r).
uint32_t CellAt(const Picture& p, int c, int r, int x, int y) {
  return p.At(kCellPitch * c + x, kCellPitch * r + y);
}

// A 4-bit BMP of w x h written the way the generator writes them; `h` < 0
// stores the rows top-down. Pixel (x, y) gets index (x + 2y) % 16.
std::vector<unsigned char> MakeBmp(int w, int h, uint32_t coloursUsed = 16) {
  const int rows = h < 0 ? -h : h;
  const int stride = (w * 4 + 31) / 32 * 4;
  const uint32_t offset = 14 + 40 + 4 * (coloursUsed ? coloursUsed : 16);
  std::vector<unsigned char> b(offset + static_cast<size_t>(stride) * rows, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, static_cast<uint32_t>(b.size()));
  put32(10, offset);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w));
  put32(22, static_cast<uint32_t>(h));
  b[26] = 1;  // planes
  b[28] = 4;  // bits per pixel
  put32(46, coloursUsed);
  for (int i = 0; i < 16 && 54 + 4 * i + 3 < static_cast<int>(offset); ++i) {
    b[54 + 4 * i] = static_cast<unsigned char>(kStandardPalette[i]);
    b[55 + 4 * i] = static_cast<unsigned char>(kStandardPalette[i] >> 8);
    b[56 + 4 * i] = static_cast<unsigned char>(kStandardPalette[i] >> 16);
  }
  for (int y = 0; y < rows; ++y) {
    const int fileRow = h > 0 ? rows - 1 - y : y;
    for (int x = 0; x < w; ++x) {
      const unsigned index = static_cast<unsigned>(x + 2 * y) % (coloursUsed ? coloursUsed : 16);
      unsigned char& byte = b[offset + static_cast<size_t>(fileRow) * stride + x / 2];
      byte |= static_cast<unsigned char>(x % 2 == 0 ? index << 4 : index);
    }
  }
  return b;
}

bool Decodes(const std::vector<unsigned char>& bytes, Picture* out = nullptr) {
  Picture scratch;
  // A heap copy of exactly the bytes, so a read past the end is caught by
  // AddressSanitizer builds.
  std::vector<unsigned char> exact(bytes);
  return DecodeBmp(exact.data(), exact.size(), out ? out : &scratch);
}

}  // namespace

TEST(PicturesTest, EveryPictureIsA16ColourBottomUpBitmapOfItsSize) {
  for (const Expected& e : kPictures) {
    SCOPED_TRACE(e.file);
    const EmbeddedFile* f = EmbeddedAsset(e.file);
    ASSERT_NE(f, nullptr);
    ASSERT_GE(f->size, 54u + 64u);
    const unsigned char* d = f->data;
    EXPECT_EQ(d[0], 'B');
    EXPECT_EQ(d[1], 'M');
    EXPECT_EQ(Le32(d + 2), f->size);
    EXPECT_EQ(static_cast<int32_t>(Le32(d + 18)), e.width);
    EXPECT_EQ(static_cast<int32_t>(Le32(d + 22)), e.height);  // positive: bottom-up
    EXPECT_EQ(d[28] | d[29] << 8, 4);                         // bits per pixel
    EXPECT_EQ(Le32(d + 30), 0u);                               // BI_RGB
    for (int i = 0; i < 16; ++i) {
      const unsigned char* q = d + 14 + Le32(d + 14) + 4 * i;
      EXPECT_EQ(static_cast<uint32_t>(q[2] << 16 | q[1] << 8 | q[0]), kStandardPalette[i])
          << "palette entry " << i;
    }
    Picture p;
    ASSERT_TRUE(DecodeBmp(f->data, f->size, &p));
    EXPECT_EQ(p.width, e.width);
    EXPECT_EQ(p.height, e.height);
  }
}

TEST(PicturesTest, CellsAreSeparatedByWhiteLinesAtThePitch) {
  for (const Expected& e : kPictures) {
    if (e.cols == 0) continue;
    SCOPED_TRACE(e.file);
    Picture p;
    const EmbeddedFile* f = EmbeddedAsset(e.file);
    ASSERT_TRUE(f && DecodeBmp(f->data, f->size, &p));
    EXPECT_EQ(p.width, kCellPitch * e.cols - 1);
    EXPECT_EQ(p.height, kCellPitch * e.rows - 1);
    int wrong = 0;
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) {
        const bool separator = x % kCellPitch == 40 || y % kCellPitch == 40;
        if (separator && p.At(x, y) != kWhite) ++wrong;
      }
    EXPECT_EQ(wrong, 0);
  }
}

TEST(PicturesTest, FloorTileIsPlainBlackAndWallTilesAreDrawnAndAnimated) {
  const Picture tiles = Load(108);
  for (int phase = 0; phase < 4; ++phase)
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x) ASSERT_EQ(CellAt(tiles, phase, 0, x, y), kBlack);
  // Every wall tile shows something at every phase, and its look changes
  // between phases (the tiles are animated).
  for (int t = 1; t <= 8; ++t) {
    SCOPED_TRACE(t);
    for (int phase = 0; phase < 4; ++phase) {
      int lit = 0, changed = 0;
      for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
          lit += CellAt(tiles, phase, t, x, y) != kBlack;
          changed += CellAt(tiles, phase, t, x, y) != CellAt(tiles, (phase + 1) % 4, t, x, y);
        }
      EXPECT_GT(lit, 300);
      EXPECT_GT(changed, 0);
    }
  }
}

TEST(PicturesTest, VehiclesHaveTheirBodyColourAndPointTheirBarrelWhereTheyFace) {
  const uint32_t kBodies[8] = {0xFFFF00, 0x0000FF, 0x00FFFF, 0x00FF00,
                               0x800000, 0xFF00FF, 0xFF0000, 0xFFFFFF};
  // A pixel on the barrel near the cell edge it points to, and the middle of
  // the opposite edge, which stays black: (x, y) for left, up, right, down.
  const int kMuzzle[4][2] = {{2, 19}, {19, 2}, {37, 20}, {20, 37}};
  const int kRear[4][2] = {{38, 19}, {19, 38}, {1, 20}, {20, 1}};
  for (int n = 0; n < 8; ++n) {
    SCOPED_TRACE(n + 1);
    const Picture v = Load(109 + n);
    for (int facing = 0; facing < 4; ++facing)
      for (int phase = 0; phase < 4; ++phase) {
        std::map<uint32_t, int> counts;
        for (int y = 0; y < 40; ++y)
          for (int x = 0; x < 40; ++x) ++counts[CellAt(v, facing, phase, x, y)];
        // Tracks, smoke and barrel are grey; the rest is the body.
        uint32_t body = kBlack;
        int most = 0;
        for (auto [colour, count] : counts)
          if (colour != kBlack && colour != 0x808080 && colour != 0xC0C0C0 && count > most) {
            body = colour;
            most = count;
          }
        EXPECT_EQ(body, kBodies[n]) << "facing " << facing << " phase " << phase;
        EXPECT_NE(CellAt(v, facing, phase, kMuzzle[facing][0], kMuzzle[facing][1]), kBlack);
        EXPECT_EQ(CellAt(v, facing, phase, kRear[facing][0], kRear[facing][1]), kBlack);
        for (int corner : {0, 39})
          EXPECT_EQ(CellAt(v, facing, phase, corner, corner), kBlack);
      }
  }
}

// The pixels of cell (c, r) that belong to the vehicle: everything not
// reachable from the cell's border through black pixels, so the turret's
// black hatch and the gaps in the tread count as vehicle.
std::vector<bool> VehicleRegion(const Picture& v, int c, int r) {
  std::vector<bool> outside(40 * 40, false);
  std::vector<int> todo;
  for (int i = 0; i < 40; ++i)
    for (int k : {i, 39 * 40 + i, i * 40, i * 40 + 39}) todo.push_back(k);
  while (!todo.empty()) {
    const int k = todo.back();
    todo.pop_back();
    const int x = k % 40, y = k / 40;
    if (outside[k] || CellAt(v, c, r, x, y) != kBlack) continue;
    outside[k] = true;
    if (x > 0) todo.push_back(k - 1);
    if (x < 39) todo.push_back(k + 1);
    if (y > 0) todo.push_back(k - 40);
    if (y < 39) todo.push_back(k + 40);
  }
  std::vector<bool> inside(40 * 40);
  for (int k = 0; k < 40 * 40; ++k) inside[k] = !outside[k];
  return inside;
}

TEST(PicturesTest, MarksHugTheVehicleAndTheirDomeFallsOnTheBlackHatch) {
  std::vector<Picture> vehicles;
  for (int n = 0; n < 8; ++n) vehicles.push_back(Load(109 + n));
  for (auto [id, dome] : {std::pair{118, 0xFFFF00u}, std::pair{131, 0x00FF00u}}) {
    SCOPED_TRACE(id);
    const Picture mark = Load(id);
    int domePixels = 0, markPixels = 0;
    for (int c = 0; c < 4; ++c)
      for (int r = 0; r < 4; ++r) {
        const std::vector<bool> region = VehicleRegion(vehicles[0], c, r);
        for (int y = 0; y < 40; ++y)
          for (int x = 0; x < 40; ++x) {
            const uint32_t m = CellAt(mark, c, r, x, y);
            if (m == kBlack) continue;
            ++markPixels;
            // ORed over the vehicle: nothing may land more than a pixel
            // away from the vehicle.
            bool near = false;
            for (int dy = -1; dy <= 1; ++dy)
              for (int dx = -1; dx <= 1; ++dx) {
                const int xx = x + dx, yy = y + dy;
                if (xx >= 0 && xx < 40 && yy >= 0 && yy < 40 && region[yy * 40 + xx]) near = true;
              }
            EXPECT_TRUE(near) << "cell " << c << "," << r << " pixel " << x << "," << y;
            if (m != dome) continue;
            ++domePixels;
            // The dome keeps its colour on every body: the vehicles are
            // black under it.
            for (int n = 0; n < 8; ++n)
              EXPECT_EQ(CellAt(vehicles[n], c, r, x, y), kBlack) << "vehicle " << n + 1;
          }
      }
    EXPECT_GT(domePixels, 16 * 8);
    EXPECT_GT(markPixels, domePixels * 2);  // there is an outline too
  }
}

TEST(PicturesTest, ShieldDiscsAreBlackOutsideTheDiscAndNotEmpty) {
  const Picture shield = Load(120);
  for (int phase = 0; phase < 4; ++phase) {
    int inside = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x) {
        const double dx = x - 19.5, dy = y - 19.5;
        const bool set = CellAt(shield, phase, 0, x, y) != kBlack;
        if (dx * dx + dy * dy > 20.0 * 20.0) {
          EXPECT_FALSE(set) << x << "," << y;
        }
        inside += set;
      }
    EXPECT_GT(inside, 400) << "phase " << phase;
  }
  // Phases differ in colour: olive, purple, green, navy fills.
  EXPECT_EQ(CellAt(shield, 0, 0, 20, 20) | CellAt(shield, 0, 0, 19, 20), 0x808000u);
  EXPECT_EQ(CellAt(shield, 1, 0, 20, 20) | CellAt(shield, 1, 0, 19, 20), 0x800080u);
  EXPECT_EQ(CellAt(shield, 2, 0, 20, 20) | CellAt(shield, 2, 0, 19, 20), 0x008000u);
  EXPECT_EQ(CellAt(shield, 3, 0, 20, 20) | CellAt(shield, 3, 0, 19, 20), 0x000080u);
}

TEST(PicturesTest, BrickCoursesRepeatEveryTwentyRows) {
  // The status bar copies bands from rows 0, 4 and 20 to places 20 rows
  // apart in phase; they only meet seamlessly if the pattern repeats.
  const Picture bricks = Load(117);
  for (int y = 0; y + 20 < bricks.height; ++y)
    for (int x = 0; x < bricks.width; ++x)
      ASSERT_EQ(bricks.At(x, y) == kBlack, bricks.At(x, y + 20) == kBlack) << x << "," << y;
}

TEST(PicturesTest, IconsShowInEveryPhaseAndTheNoteSurvivesItsOffsetCopy) {
  const Picture icons = Load(124);
  for (int phase = 0; phase < 4; ++phase) {
    SCOPED_TRACE(phase);
    int speaker = 0, note = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x) {
        speaker += CellAt(icons, 0, phase, x, y) != kBlack;
        note += CellAt(icons, 1, phase, x, y) != kBlack;
      }
    EXPECT_GT(speaker, 60);
    EXPECT_GT(note, 40);
    // The status bar copies the note from x 42, one pixel into its cell:
    // the cell's first column must hold nothing that would be lost.
    for (int y = 0; y < 40; ++y) EXPECT_EQ(CellAt(icons, 1, phase, 0, y), kBlack);
  }
}

TEST(PicturesTest, LoadBitmapsFillsEveryEntryAndPointsTheGameAtThem) {
  GameState g;
  PictureSet set;
  LoadBitmaps(g, set);
  EXPECT_EQ(g.Bitmaps, &set);
  for (int i = 0; i < 14; ++i) {
    SCOPED_TRACE(108 + i);
    const Expected& e = kPictures[i];
    ASSERT_EQ(std::string(e.file), "bitmap" + std::to_string(108 + i) + ".bmp");
    EXPECT_EQ(set.Bitmaps[i].width, e.width);
    EXPECT_EQ(set.Bitmaps[i].height, e.height);
  }
  EXPECT_EQ(set.IconBitmap.width, 81);
  EXPECT_EQ(set.OwnMarkBitmap.height, 163);
  EXPECT_EQ(LoadEmbeddedBitmap(122).width, 0);  // no such picture: empty
}

TEST(DecodeBmpTest, DecodesBothRowOrdersWithRowPadding) {
  for (int h : {3, -3}) {
    SCOPED_TRACE(h);
    Picture p;
    ASSERT_TRUE(Decodes(MakeBmp(5, h), &p));  // 5 pixels: 3 bytes, padded to 4
    ASSERT_EQ(p.width, 5);
    ASSERT_EQ(p.height, 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(p.At(x, y), kStandardPalette[(x + 2 * y) % 16]);
  }
}

TEST(DecodeBmpTest, RejectsEveryTruncationWithoutReadingPastTheEnd) {
  const std::vector<unsigned char> good = MakeBmp(7, 4);
  ASSERT_TRUE(Decodes(good));
  for (size_t n = 0; n < good.size(); ++n) {
    std::vector<unsigned char> cut(good.begin(), good.begin() + n);
    EXPECT_FALSE(Decodes(cut)) << n << " bytes";
  }
  EXPECT_FALSE(DecodeBmp(nullptr, 100, nullptr));
}

TEST(DecodeBmpTest, RejectsMalformedHeadersAndPixels) {
  auto with = [](size_t at, std::initializer_list<unsigned char> bytes) {
    std::vector<unsigned char> b = MakeBmp(4, 2);
    std::copy(bytes.begin(), bytes.end(), b.begin() + at);
    return b;
  };
  EXPECT_FALSE(Decodes(with(0, {'P', 'M'})));               // not a bitmap
  EXPECT_FALSE(Decodes(with(28, {8})));                      // 8 bits per pixel
  EXPECT_FALSE(Decodes(with(30, {2})));                      // RLE4 compressed
  EXPECT_FALSE(Decodes(with(26, {2})));                      // two planes
  EXPECT_FALSE(Decodes(with(18, {0, 0, 0, 0})));             // zero width
  EXPECT_FALSE(Decodes(with(18, {0xFF, 0xFF, 0xFF, 0x7F})));  // absurd width
  EXPECT_FALSE(Decodes(with(22, {0, 0, 0, 0x80})));          // most negative height
  EXPECT_FALSE(Decodes(with(22, {0, 0, 0, 0})));             // zero height
  EXPECT_FALSE(Decodes(with(14, {12})));                     // old 12-byte header
  EXPECT_FALSE(Decodes(with(14, {0xFF, 0xFF, 0xFF, 0xFF})));  // header past the end
  EXPECT_FALSE(Decodes(with(46, {17})));                     // 17 palette entries
  EXPECT_FALSE(Decodes(with(10, {0xF0, 0xFF, 0xFF, 0xFF})));  // pixels past the end
  EXPECT_FALSE(Decodes(with(10, {60})));                     // pixels over the palette
  // A pixel that names a colour the palette does not have.
  std::vector<unsigned char> few = MakeBmp(4, 2, 4);
  ASSERT_TRUE(Decodes(few));
  few[few.size() - 4] = 0x5F;
  EXPECT_FALSE(Decodes(few));
}

TEST(PlayerColoursTest, NoComponentIsZeroAndEverySlotDiffers) {
  GameState g;
  SetPlayerColours(g);
  for (int i = 0; i < kSlotCount; ++i) {
    for (int k = 0; k < 3; ++k) EXPECT_NE(g.PlayerColours[i][k], 0) << i << "," << k;
    for (int j = 0; j < i; ++j)
      EXPECT_NE(std::memcmp(g.PlayerColours[i], g.PlayerColours[j], 3), 0) << i << "," << j;
  }
  // Slot 4 is olive and slot 5 pink in the chat, whatever the vehicles.
  EXPECT_EQ(g.PlayerColours[4][0], 178);
  EXPECT_EQ(g.PlayerColours[5][2], 178);
}
