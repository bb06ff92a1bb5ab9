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
  EXPECT_EQ(s.At(0, 1), 0x100u);  // outside the rectangle: untouched
  EXPECT_EQ(s.At(4, 1), 0x100u);
  EXPECT_EQ(s.At(1, 3), 0x100u);

  Surface t = Small(5, 4, 0x100);
  t.Or(Tiny(), 1, 0, 2, 2, 0, 0);  // part of the picture: columns 1..2
  EXPECT_EQ(t.At(0, 0), 0x112u);
  EXPECT_EQ(t.At(1, 1), 0x123u);
  EXPECT_EQ(t.At(2, 0), 0x100u);
}

TEST(SurfaceBlit, SourceBeyondThePictureCopiesNothingThere) {
  // Source rectangle starting at (2, 1) reaches 2 past the right edge and 1
  // below: only source pixel (2, 1) exists, and it lands where it would
  // have in the whole transfer.
  Surface s = Small(6, 6, 0x777);
  s.Copy(Tiny(), 2, 1, 3, 2, 1, 1);
  EXPECT_EQ(s.At(1, 1), 0x23u);
  EXPECT_EQ(CountColour(s, 0, 0, 6, 6, 0x777), 35);

  // Negative source origin: the picture's (0, 0) lands at offset (1, 1).
  Surface n = Small(4, 4, 0x777);
  n.Copy(Tiny(), -1, -1, 3, 3, 0, 0);
  EXPECT_EQ(n.At(1, 1), 0x11u);
  EXPECT_EQ(n.At(2, 2), 0x22u);
  EXPECT_EQ(n.At(0, 0), 0x777u);
  EXPECT_EQ(n.At(3, 1), 0x777u);  // beyond the 3-wide rectangle

  // Wholly outside: nothing at all.
  Surface o = Small(4, 4, 0x777);
  o.Copy(Tiny(), 3, 0, 2, 2, 0, 0);
  o.Or(Tiny(), 0, 2, 3, 5, 0, 0);
  Picture empty;
  o.Copy(empty, 0, 0, 40, 40, 0, 0);
  EXPECT_EQ(CountColour(o, 0, 0, 4, 4, 0x777), 16);
}

TEST(SurfaceBlit, DestinationClipsAtEverySurfaceEdge) {
  Surface s = Small(3, 3, 0);
  s.Copy(Tiny(), 0, 0, 3, 2, -1, -1);  // only source (1..2, 1) is on the surface
  EXPECT_EQ(s.At(0, 0), 0x22u);
  EXPECT_EQ(s.At(1, 0), 0x23u);
  EXPECT_EQ(CountColour(s, 0, 0, 3, 3, 0), 7);
  s.Copy(Tiny(), 0, 0, 3, 2, 2, 2);  // only source (0, 0)
  EXPECT_EQ(s.At(2, 2), 0x11u);
  s.Copy(Tiny(), 0, 0, 3, 2, 100, -50);  // nowhere near: no crash, no change
  EXPECT_EQ(CountColour(s, 0, 0, 3, 3, 0), 6);
}

TEST(SurfaceFill, BlackAndWhiteFillsClip) {
  Surface s = Small(4, 3, 0x123456);
  s.FillWhite(-2, 1, 4, 10);
  EXPECT_EQ(s.At(0, 1), 0xFFFFFFu);
  EXPECT_EQ(s.At(1, 2), 0xFFFFFFu);
  EXPECT_EQ(s.At(2, 1), 0x123456u);
  EXPECT_EQ(s.At(0, 0), 0x123456u);
  s.FillBlack(0, 0, 720, 560);
  EXPECT_EQ(CountColour(s, 0, 0, 4, 3, 0), 12);
}

TEST(SurfaceText, DrawsOnlyGlyphPixelsInTheColour) {
  Surface s = Small(200, 30, 0x0000FF);
  s.DrawText(5, 5, "Say:Hello_", Rgb(250, 240, 230));
  int lit = CountColour(s, 0, 0, 200, 30, Rgb(250, 240, 230));
  EXPECT_GT(lit, 40);
  // Transparent background: every other pixel keeps its colour.
  EXPECT_EQ(lit + CountColour(s, 0, 0, 200, 30, 0x0000FF), 200 * 30);
  // Nothing above the line's top or right of its width.
  int w = Surface::TextWidth("Say:Hello_");
  EXPECT_EQ(CountColour(s, 0, 0, 200, 5, Rgb(250, 240, 230)), 0);
  EXPECT_EQ(CountColour(s, 5 + w + 1, 0, 200, 30, Rgb(250, 240, 230)), 0);
  EXPECT_EQ(CountColour(s, 0, 5 + Surface::TextHeight(), 200, 30, Rgb(250, 240, 230)), 0);
}

TEST(SurfaceText, WidthAddsAdvancesAndFitsTheStatusBar) {
  EXPECT_EQ(Surface::TextWidth(""), 0);
  EXPECT_EQ(Surface::TextWidth("ab"), Surface::TextWidth("a") + Surface::TextWidth("b"));
  EXPECT_GT(Surface::TextWidth("W"), Surface::TextWidth("i"));
  // Chat lines are 15 pixels apart; a player line "%s =%d=" has 100 pixels.
  EXPECT_GT(Surface::TextHeight(), 9);
  EXPECT_LE(Surface::TextHeight(), 15);
  EXPECT_LE(Surface::TextWidth("unnamed =255="), 100);
  EXPECT_LE(Surface::TextWidth("the quick brown fox jumps."), 160);
  // Codes 0x80..0xFF have glyphs too (the euro sign, accented letters).
  EXPECT_GT(Surface::TextWidth("\x80"), 0);
  EXPECT_GT(Surface::TextWidth("\xe9"), 0);
  // Control characters have no glyph and take no room.
  EXPECT_EQ(Surface::TextWidth("\x01\x1f"), 0);
}

TEST(BitmapFontParse, RejectsTruncatedAndForeignBytes) {
  // One 3-pixel-wide glyph for 'A' in a 2-row font.
  const uint8_t good[] = {'V', 'F', 'N', 'T', 1, 2, 2, 'A', 1, 4, 0, 3, 0xA0, 0x40};
  BitmapFont f;
  ASSERT_TRUE(ParseBitmapFont(good, sizeof good, &f));
  EXPECT_EQ(f.TextWidth("AAB"), 8);
  ASSERT_NE(f.Find('A'), nullptr);
  EXPECT_TRUE(f.Pixel(*f.Find('A'), 0, 0));
  EXPECT_FALSE(f.Pixel(*f.Find('A'), 1, 0));
  EXPECT_TRUE(f.Pixel(*f.Find('A'), 1, 1));
  for (size_t n = 0; n < sizeof good; ++n) {
    BitmapFont g;
    EXPECT_FALSE(ParseBitmapFont(good, n, &g)) << n;
  }
  uint8_t foreign[sizeof good];
  std::copy(good, good + sizeof good, foreign);
  foreign[4] = 2;
  EXPECT_FALSE(ParseBitmapFont(foreign, sizeof foreign, &f));
}

}  // namespace
