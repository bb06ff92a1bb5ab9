#include "render/repeating_picture.h"

#include <gtest/gtest.h>

#include "render/paint_window.h"
#include "render/test_pictures.h"
#include "support/test_game.h"

namespace {

// Two games changed alike: one window paints every time, the other follows
// the plan as the view does, with kept pictures and a window of its own.
struct RepeatingPictureTest : ::testing::Test {
  PictureSet pics = TestPictures();
  TestGame planned, always;
  Surface surface, reference;
  std::vector<uint32_t> window = std::vector<uint32_t>(kClientWidth * kClientHeight);
  std::array<std::vector<uint32_t>, RepeatingPicture::kPhases> kept;
  RepeatingPicture repeating;
  int paints = 0;

  RepeatingPictureTest() {
    // Walls of code 5 look alike in phases 1 to 3: the change from phase 0
    // lies only in the step from 0 to 1.
    pics.Bitmaps[0] = CellSheet(4, 9, [](int c, int r) { return r == 0 ? 0u : TileColour(r == 5 ? c > 0 : c, r); });
    Change([&](GameState& g) {
      g.Bitmaps = &pics;
      for (int i = 0; i < kMapSide; ++i) g.Tiles[i] = g.Tiles[i * kMapSide] = 1;
      g.Tiles[3 * kMapSide + 4] = 5;
    });
  }
  template <typename F>
  void Change(F change) {
    change(planned.g);
    change(always.g);
  }
  void CopyRects(const std::vector<uint32_t>& from, const std::vector<ScreenRect>& where) {
    for (const ScreenRect& r : where)
      for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x) window[y * kClientWidth + x] = from[y * kClientWidth + x];
  }
  // One paint at animation counter `counter`, in both windows.
  void Frame(int counter) {
    Change([&](GameState& g) { g.FrameCounter = static_cast<uint8_t>(counter); });
    std::vector<ScreenRect> rects;
    PaintAndTakeChanges(always.g, reference, rects);
    GameState& g = planned.g;
    const int phase = counter / 2;
    const RepeatingPicture::Step step = repeating.Plan(RepeatingPictureKey(g), phase);
    if (step == RepeatingPicture::Step::kShowKept) {
      CopyRects(kept[phase], repeating.ShowRects());
      repeating.Showed(phase);
    }
    if (step != RepeatingPicture::Step::kPaint) return SkipPaint(g);
    if (const int k = repeating.RestoreBeforePaint(); k >= 0) window = kept[k];
    ++paints;
    PaintAndTakeChanges(g, surface, rects);
    CopyRects({surface.pixels.begin(), surface.pixels.end()}, rects);
    if (repeating.AfterPaint(phase, rects)) kept[phase].assign(surface.pixels.begin(), surface.pixels.end());
  }
};

// Each row changes the games, then runs the animation counter through the
// values given; the window must show at every one what a paint shows, with
// no more paints than the row allows.
TEST_F(RepeatingPictureTest, TheWindowShowsWhatEveryPaintWouldAndPaintsOnlyWhenThePictureIsNew) {
  struct Row {
    const char* what;
    void (*change)(GameState&);
    std::vector<int> counters;
    int paints;
  };
  const Row rows[] = {
      {"the first paint clears; a first cycle that skips a phase paints until the pictures link up",
       [](GameState&) {}, {0, 2, 3, 6, 0, 2, 4, 6, 0, 2}, 7},
      {"then the window shows kept pictures only, also when phases are skipped", [](GameState&) {},
       {3, 4, 5, 6, 7, 0, 1, 6, 2, 7, 0}, 0},
      {"the music note is a new picture", [](GameState& g) { g.MusicOn = 1; }, {5, 6, 0, 2, 4, 6, 0, 2}, 5},
      {"a wall is a new picture", [](GameState& g) { g.Tiles[5 * kMapSide + 5] = 2; }, {3, 4, 6, 0, 2, 4}, 5},
      {"a clear is painted, and its picture kept anew", [](GameState& g) { g.MapDirty = 1; }, {6, 0, 2, 4, 6, 0, 2}, 6},
      {"a player on the field paints every time",
       [](GameState& g) { g.Players[0] = {.Active = 1, .X = 200, .Y = 200, .DrawX = 200, .DrawY = 200, .Number = 1}; },
       {2, 4, 6, 0, 2}, 5},
      {"gone, it leaves a picture that a fireball's last erase paints over, and then a new one",
       [](GameState& g) { g.Players[0].Active = 0; g.Fireballs[0] = {.DrawX = 200, .DrawY = 200}; },
       {0, 2, 4, 6, 0, 2, 4}, 6},
      {"a game paints every time", [](GameState& g) { g.IsServer = 1; }, {0, 2, 4, 6, 0}, 5},
  };
  for (const Row& row : rows) {
    Change(row.change);
    const int before = paints;
    for (int counter : row.counters) {
      Frame(counter);
      ASSERT_TRUE(std::equal(window.begin(), window.end(), reference.pixels.begin())) << row.what << ", " << counter;
    }
    EXPECT_EQ(paints - before, row.paints) << row.what;
  }
}

}  // namespace
