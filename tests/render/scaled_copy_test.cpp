// The picture shown at whole multiples: nearest neighbour copies of surface
// rectangles, and the multiple chosen for a screen.
#include "render/scaled_copy.h"

#include <gtest/gtest.h>

#include <vector>

#include "render/game_scene.h"
#include "render/paint_window.h"
#include "render/surface.h"
#include "render/test_pictures.h"
#include "support/test_game.h"

namespace {

TEST(ScaledCopy, AFrameAtScaleTwoIsTheFrameWithEveryPixelDoubled) {
  TestGame t;
  PictureSet pics = TestPictures();
  t.g.Bitmaps = &pics;
  Surface s;
  StartComputerGame(t.g, 5);
  for (int step = 0; step < 40; ++step) StepGame(t.g);
  PaintWindow(t.g, s);

  for (int scale : {1, 2, 3}) {
    int w = s.width * scale;
    std::vector<uint32_t> out(static_cast<size_t>(w) * s.height * scale, 0xDEADBEEF);
    ScaleSurfaceRect(s, 0, 0, s.width, s.height, scale, out.data(), w);
    int wrong = 0;
    for (int y = 0; y < s.height * scale; ++y)
      for (int x = 0; x < w; ++x) wrong += out[static_cast<size_t>(y) * w + x] != s.At(x / scale, y / scale);
    EXPECT_EQ(wrong, 0) << "scale " << scale;
  }
}

TEST(ScaledCopy, ARectangleWritesOnlyItsOwnBlocksAndIsClippedToTheSurface) {
  Surface s;
  for (size_t i = 0; i < s.pixels.size(); ++i) s.pixels[i] = static_cast<uint32_t>(i);
  const int scale = 2, w = s.width * scale, h = s.height * scale;
  struct Row {
    int x, y, rw, rh;      // the rectangle asked for
    int cx0, cy0, cx1, cy1;  // what of it lies on the surface
  };
  const Row rows[] = {
      {10, 20, 3, 4, 10, 20, 13, 24},
      {-2, -3, 5, 6, 0, 0, 3, 3},                                       // over the top-left corner
      {kClientWidth - 2, kClientHeight - 1, 9, 9, kClientWidth - 2, kClientHeight - 1, kClientWidth, kClientHeight},
      {kClientWidth, 0, 4, 4, 0, 0, 0, 0},                              // wholly beyond the right edge
  };
  for (const Row& r : rows) {
    std::vector<uint32_t> out(static_cast<size_t>(w) * h, 0xDEADBEEF);
    ScaleSurfaceRect(s, r.x, r.y, r.rw, r.rh, scale, out.data(), w);
    int wrong = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        int sx = x / scale, sy = y / scale;
        bool inside = sx >= r.cx0 && sx < r.cx1 && sy >= r.cy0 && sy < r.cy1;
        wrong += out[static_cast<size_t>(y) * w + x] != (inside ? s.At(sx, sy) : 0xDEADBEEF);
      }
    EXPECT_EQ(wrong, 0) << "rectangle at " << r.x << "," << r.y;
  }
}

TEST(ScaledCopy, TheMultipleFollowsTheRatioAsFarAsThePictureFits) {
  struct Row {
    int requested;
    double ratio;
    int availW, availH;  // device pixels
    int scale;
  };
  const Row rows[] = {
      {0, 1.0, 3840, 2160, 1},  // an ordinary screen: never scaled by itself
      {0, 1.99, 3840, 2160, 1},
      {0, 2.0, 3840, 2160, 2},
      {0, 2.5, 3840, 2160, 2},  // whole multiples only
      {0, 3.0, 2100, 1551, 3},  // exactly fits at 3
      {0, 3.0, 2099, 1551, 2},  // one pixel too narrow for 3
      {0, 3.0, 2100, 1550, 2},  // one pixel too low for 3
      {0, 2.0, 1000, 800, 1},   // too small a screen for 2
      {0, 6.0, 8000, 8000, 4},  // at most 4
      {3, 1.0, 800, 600, 3},    // asked for: taken as it is
      {1, 2.0, 3840, 2160, 1},
  };
  for (const Row& r : rows)
    EXPECT_EQ(ChooseScale(r.requested, r.ratio, r.availW, r.availH, 700, 517), r.scale)
        << r.requested << " " << r.ratio << " " << r.availW << "x" << r.availH;
}

TEST(ScaledCopy, AWholeScreenTakesTheLargestMultipleThatFitsCentredOnBlack) {
  struct Row {
    int screenW, screenH;
    int scale;
    ScreenRect place;
  };
  const Row rows[] = {
      {1920, 1080, 2, {260, 23, 1400, 1034}},  // the height decides
      {1280, 1024, 1, {290, 253, 700, 517}},
      {1400, 1034, 2, {0, 0, 1400, 1034}},     // exactly twice the picture
      {1399, 1034, 1, {349, 258, 700, 517}},   // one pixel too narrow for 2
      {1400, 1033, 1, {350, 258, 700, 517}},   // one pixel too low for 2
      {1401, 1035, 2, {0, 0, 1400, 1034}},     // the odd pixel goes right and down
      {3840, 2160, 4, {520, 46, 2800, 2068}},
      {5120, 2880, 5, {810, 147, 3500, 2585}},  // no cap: as large as fits
      {700, 517, 1, {0, 0, 700, 517}},
      {640, 480, 1, {0, 0, 700, 517}},  // too small: the top-left corner stays
  };
  for (const Row& r : rows) {
    const FullScreenFit fit = FitToScreen(r.screenW, r.screenH, 700, 517);
    EXPECT_EQ(fit.scale, r.scale) << r.screenW << "x" << r.screenH;
    EXPECT_EQ(fit.place, r.place) << r.screenW << "x" << r.screenH;
  }
}

}  // namespace
