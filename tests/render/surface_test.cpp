#include "render/surface.h"

#include <gtest/gtest.h>

#include "render/bitmap_font.h"
#include "render/test_pictures.h"

namespace {

Surface Small(int w, int h, uint32_t fill) {
  Surface s;
  s.width = w;
  s.height = h;
  s.pixels.assign(static_cast<size_t>(w) * h, fill);
  return s;
}

// A 3 x 2 picture whose pixel (x, y) is 0x10 * (y + 1) + x + 1.
Picture Tiny() { return Flat(3, 2, [](int x, int y) { return uint32_t(0x10 * (y + 1) + x + 1); }); }

TEST(SurfaceBlit, PlainCopyReplacesAndOrCombines) {
  Surface s = Small(5, 4, 0x100);
  s.Copy(Tiny(), 0, 0, 3, 2, 1, 1);
  EXPECT_EQ(s.At(1, 1), 0x11u);
  EXPECT_EQ(s.At(3, 2), 0x23u);
  EXPECT_EQ(CountColour(s, 0, 0, 5, 4, 0x100), 20 - 6);  // nothing outside the rectangle

  s = Small(5, 4, 0x100);
  s.Or(Tiny(), 1, 0, 2, 2, 0, 0);  // columns 1..2 of the picture
  EXPECT_EQ(s.At(0, 0), 0x112u);
  EXPECT_EQ(s.At(1, 1), 0x123u);
  EXPECT_EQ(s.At(2, 0), 0x100u);
}

TEST(SurfaceBlit, SourceBeyondThePictureCopiesNothingThereAndTheSurfaceClips) {
  // From (2, 1), 3 x 2: only source pixel (2, 1) exists; it lands where it
  // would have in the whole transfer.
  Surface s = Small(6, 6, 0x777);
  s.Copy(Tiny(), 2, 1, 3, 2, 1, 1);
  EXPECT_EQ(s.At(1, 1), 0x23u);
  EXPECT_EQ(CountColour(s, 0, 0, 6, 6, 0x777), 35);

  // Negative source origin: the picture's (0, 0) lands at offset (1, 1).
  s = Small(4, 4, 0x777);
  s.Copy(Tiny(), -1, -1, 3, 3, 0, 0);
  EXPECT_EQ(s.At(1, 1), 0x11u);
  EXPECT_EQ(s.At(2, 2), 0x22u);
  EXPECT_EQ(CountColour(s, 0, 0, 4, 4, 0x777), 12);

  // Wholly outside the picture or the surface: nothing, and no crash.
  s = Small(4, 4, 0x777);
  s.Copy(Tiny(), 3, 0, 2, 2, 0, 0);
  s.Or(Tiny(), 0, 2, 3, 5, 0, 0);
  s.Copy(Picture{}, 0, 0, 40, 40, 0, 0);
  s.Copy(Tiny(), 0, 0, 3, 2, 100, -50);
  EXPECT_EQ(CountColour(s, 0, 0, 4, 4, 0x777), 16);

  // Destination off the top left: only source (1..2, 1) is on the surface.
  s = Small(3, 3, 0);
  s.Copy(Tiny(), 0, 0, 3, 2, -1, -1);
  EXPECT_EQ(s.At(0, 0), 0x22u);
  EXPECT_EQ(s.At(1, 0), 0x23u);
  EXPECT_EQ(CountColour(s, 0, 0, 3, 3, 0), 7);
  s.FillWhite(-2, 1, 4, 10);
  EXPECT_EQ(CountColour(s, 0, 0, 3, 3, 0xFFFFFF), 4);
}

TEST(SurfaceText, DrawsOnlyGlyphPixelsWithinItsWidth) {
  const uint32_t ink = Rgb(250, 240, 230);
  Surface s = Small(200, 30, 0x0000FF);
  s.DrawText(5, 5, "Say:Hello_", ink);
  const int lit = CountColour(s, 0, 0, 200, 30, ink);
  EXPECT_GT(lit, 40);
  EXPECT_EQ(lit + CountColour(s, 0, 0, 200, 30, 0x0000FF), 200 * 30);  // transparent
  EXPECT_EQ(CountColour(s, 0, 0, 200, 5, ink), 0);
  EXPECT_EQ(CountColour(s, 5 + Surface::TextWidth("Say:Hello_") + 1, 0, 200, 30, ink), 0);
  EXPECT_EQ(CountColour(s, 0, 5 + Surface::TextHeight(), 200, 30, ink), 0);

  // Cut by each edge: exactly the glyphs' pixels that fall on the surface
  // ("\xC9", an accented capital, reaches the line's top row).
  const BitmapFont& font = GameFont();
  const std::string text = "\xC9W";
  const int half = Surface::TextWidth(text) / 2, midRow = Surface::TextHeight() / 2;
  for (auto [x, y] : {std::pair{24 - half, 0}, {2, 12 - midRow}, {-half, 0}, {2, -midRow}}) {
    Surface cut = Small(24, 12, 0);
    cut.DrawText(x, y, text, ink);
    Surface want = Small(24, 12, 0);
    int pen = x;
    for (char c : text) {
      const BitmapFont::Glyph& gl = *font.Find(static_cast<unsigned char>(c));
      for (int row = 0; row < font.height; ++row)
        for (int col = 0; col < gl.width; ++col)
          if (font.Pixel(gl, col, row)) want.FillWhite(pen + gl.left + col, y + row, 1, 1);
      pen += gl.advance;
    }
    int wrong = 0;
    for (int py = 0; py < 12; ++py)
      for (int px = 0; px < 24; ++px) wrong += cut.At(px, py) != (want.At(px, py) ? ink : 0u);
    EXPECT_EQ(wrong, 0) << x << "," << y;
  }

  EXPECT_EQ(Surface::TextWidth(""), 0);
  EXPECT_EQ(Surface::TextWidth("ab"), Surface::TextWidth("a") + Surface::TextWidth("b"));
  EXPECT_GT(Surface::TextWidth("W"), Surface::TextWidth("i"));
  EXPECT_LE(Surface::TextWidth("unnamed =255="), 100);  // a player line's room
  EXPECT_GT(Surface::TextWidth("\xe9"), 0);             // the upper half has glyphs
  EXPECT_EQ(Surface::TextWidth("\x01\x1f"), 0);         // control codes take no room
}

TEST(BitmapFontParse, ReadsAGlyphAndRejectsTruncatedAndForeignBytes) {
  // One 3-pixel-wide glyph for 'A' in a 2-row font.
  uint8_t bytes[] = {'V', 'F', 'N', 'T', 1, 2, 2, 'A', 1, 4, 0, 3, 0xA0, 0x40};
  BitmapFont f;
  ASSERT_TRUE(ParseBitmapFont(bytes, sizeof bytes, &f));
  EXPECT_EQ(f.TextWidth("AAB"), 8);
  EXPECT_TRUE(f.Pixel(*f.Find('A'), 1, 1));
  EXPECT_FALSE(f.Pixel(*f.Find('A'), 1, 0));
  for (size_t n = 0; n < sizeof bytes; ++n) EXPECT_FALSE(ParseBitmapFont(bytes, n, &f)) << n;
  bytes[4] = 2;  // a later format
  EXPECT_FALSE(ParseBitmapFont(bytes, sizeof bytes, &f));
}

}  // namespace
