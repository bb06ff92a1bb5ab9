#include "render/changed_area.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "render/surface.h"
#include "render/test_pictures.h"

namespace {

std::vector<ScreenRect> Take(Surface& s) {
  std::vector<ScreenRect> out;
  s.changed.Take(s.width, s.height, out);
  return out;
}

TEST(ChangedAreaTest, RunsOfBlocksJoinIntoRectanglesClippedToTheSurface) {
  struct Case {
    std::vector<std::array<int, 3>> rows;  // y, x0, x1 marked
    std::vector<ScreenRect> want;
  } cases[] = {
      {{}, {}},
      {{{0, 0, 1}}, {{0, 0, 20, 20}}},
      {{{19, 19, 21}}, {{0, 0, 40, 20}}},              // one pixel each side of an edge
      {{{5, 20, 40}, {25, 20, 40}}, {{20, 0, 20, 40}}},  // same run below: one rectangle
      {{{5, 20, 40}, {25, 20, 60}}, {{20, 0, 20, 20}, {20, 20, 40, 20}}},
      {{{5, 0, 20}, {5, 40, 60}}, {{0, 0, 20, 20}, {40, 0, 20, 20}}},  // a gap splits
      {{{5, 0, 20}, {45, 0, 20}}, {{0, 0, 20, 20}, {0, 40, 20, 20}}},
      {{{510, 690, 700}}, {{680, 500, 20, 17}}},        // the last blocks are cut short
  };
  for (const Case& c : cases) {
    ChangedArea a;
    for (const auto& r : c.rows) a.MarkRow(r[0], r[1], r[2]);
    EXPECT_EQ(a.Empty(), c.rows.empty());
    std::vector<ScreenRect> got{{1, 2, 3, 4}};  // replaced, not added to
    a.Take(kClientWidth, kClientHeight, got);
    EXPECT_EQ(got, c.want) << c.rows.size() << " rows from y " << (c.rows.empty() ? -1 : c.rows[0][0]);
    EXPECT_TRUE(a.Empty());  // taking clears the marks
  }
  ChangedArea all;
  all.MarkAll();
  std::vector<ScreenRect> got;
  all.Take(kClientWidth, kClientHeight, got);
  EXPECT_EQ(got, (std::vector<ScreenRect>{{0, 0, kClientWidth, kClientHeight}}));
}

TEST(ChangedAreaTest, TheSurfaceMarksOnlyRowsItChanged) {
  Surface s;
  const Picture red = Flat(40, 40, [](int, int y) { return y < 10 ? 0xFF0000u : 0u; });
  s.Copy(red, 0, 0, 40, 40, 100, 100);  // rows 100..109 change, the black ones not
  EXPECT_EQ(Take(s), (std::vector<ScreenRect>{{100, 100, 40, 20}}));
  s.Copy(red, 0, 0, 40, 40, 100, 100);  // the same again: nothing changes
  s.Or(red, 0, 0, 40, 40, 100, 100);
  s.FillBlack(0, 200, 700, 20);
  s.DrawText(300, 300, "", 0xFFFFFF);
  EXPECT_TRUE(Take(s).empty());

  s.Or(red, 0, 0, 40, 10, 100, 130);
  s.FillWhite(0, 480, 5, 2);
  s.DrawText(660, 10, "i", 0xFFFFFF);
  EXPECT_EQ(Take(s), (std::vector<ScreenRect>{{660, 0, 20, 20}, {100, 120, 40, 20}, {0, 480, 20, 20}}));
}

}  // namespace

namespace {

std::vector<ScreenRect> TakeShown(Surface& s) {
  std::vector<ScreenRect> out;
  s.TakeChanges(out);
  return out;
}

TEST(ChangedAreaTest, OnlyWhatDiffersFromTheLastTakeIsShownAgain) {
  Surface s;
  const Picture red = Flat(40, 40, [](int, int) { return 0xFF0000u; });
  const Picture blue = Flat(40, 40, [](int, int) { return 0x0000FFu; });
  s.Copy(red, 0, 0, 40, 40, 100, 100);
  EXPECT_EQ(TakeShown(s), (std::vector<ScreenRect>{{100, 100, 40, 40}}));  // the first take keeps all

  // Erased and drawn again on the same place: marked, but nothing new.
  s.FillBlack(100, 100, 40, 40);
  s.Copy(red, 0, 0, 40, 40, 100, 100);
  EXPECT_TRUE(TakeShown(s).empty());

  // Changed and changed back within one take shows nothing; across two
  // takes both changes show, only in the blocks that differ.
  s.Copy(blue, 0, 0, 40, 20, 100, 100);
  EXPECT_EQ(TakeShown(s), (std::vector<ScreenRect>{{100, 100, 40, 20}}));
  s.FillBlack(100, 100, 40, 40);
  s.Copy(red, 0, 0, 40, 40, 100, 100);
  EXPECT_EQ(TakeShown(s), (std::vector<ScreenRect>{{100, 100, 40, 20}}));
  // One pixel back in a block counts, at the surface's last block too; what
  // is shown narrows to the part of the blocks that was written.
  s.FillWhite(699, 516, 1, 1);
  s.FillWhite(139, 139, 1, 1);
  EXPECT_EQ(TakeShown(s), (std::vector<ScreenRect>{{139, 139, 1, 1}, {699, 516, 1, 1}}));
  s.FillWhite(121, 125, 3, 2);
  s.FillWhite(145, 122, 1, 1);  // the next block: one rectangle around both
  EXPECT_EQ(TakeShown(s), (std::vector<ScreenRect>{{121, 122, 25, 5}}));
}

// A plain model of the block transfers: every pixel of the source rectangle
// that lies in the picture goes to its place if that lies on the surface.
void ModelBlit(Surface& s, const Picture& p, int sx, int sy, int w, int h, int dx, int dy, bool orCopy) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int px = sx + x, py = sy + y, tx = dx + x, ty = dy + y;
      if (px < 0 || py < 0 || px >= p.width || py >= p.height) continue;
      if (tx < 0 || ty < 0 || tx >= s.width || ty >= s.height) continue;
      uint32_t& out = s.pixels[static_cast<size_t>(ty) * s.width + tx];
      out = orCopy ? out | p.At(px, py) : p.At(px, py);
    }
}

// Whether every pixel that differs between the two pictures lies in one of
// the rectangles.
bool Covers(const std::vector<ScreenRect>& rects, const Surface& before, const Surface& after) {
  for (int y = 0; y < after.height; ++y)
    for (int x = 0; x < after.width; ++x) {
      if (before.At(x, y) == after.At(x, y)) continue;
      auto in = [&](const ScreenRect& r) { return x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h; };
      if (std::none_of(rects.begin(), rects.end(), in)) return false;
    }
  return true;
}

TEST(ChangedAreaTest, APixelThatDiffersFromWhatWasShownCountsAtEveryPlaceOfItsBlock) {
  // Each pixel of a block's rows, and of the surface's last block, changed
  // by more than one operation each time, so that it is compared with what
  // was shown: white, white again, then black.
  // The surface's last block column is 11 pixels wide.
  Surface s;
  s.width = 671;
  s.pixels.assign(static_cast<size_t>(s.width) * s.height, 0);
  TakeShown(s);
  for (const auto& [x0, y0] : {std::pair{120, 100}, std::pair{660, 500}})
    for (int dy : {0, 16})
      for (int x = x0; x < std::min(x0 + 20, s.width); ++x) {
        const int y = std::min(y0 + dy, s.height - 1), w = std::min(20, s.width - x0);
        const std::vector<ScreenRect> row{{x0, y, w, 1}};
        s.FillWhite(x, y, 1, 1);
        s.FillBlack(x0, y, w, 1);
        s.FillWhite(x, y, 1, 1);
        EXPECT_EQ(TakeShown(s), row) << x << ", " << y;
        s.FillBlack(x0, y, w, 1);
        s.FillWhite(x, y, 1, 1);
        EXPECT_TRUE(TakeShown(s).empty()) << x << ", " << y;
        s.FillWhite(x0, y, w, 1);
        s.FillBlack(x0, y, w, 1);
        EXPECT_EQ(TakeShown(s), row) << x << ", " << y;
        // What one operation changed is shown without a compare; compared
        // at the next take, the row is known again at the one after.
        s.FillWhite(x, y, 1, 1);
        TakeShown(s);
        for (const bool again : {false, true}) {
          s.FillWhite(x0, y, w, 1);
          s.FillBlack(x0, y, w, 1);
          EXPECT_EQ(TakeShown(s), again ? std::vector<ScreenRect>{} : row) << x << ", " << y;
        }
      }
}

TEST(ChangedAreaTest, RepeatedDrawingsAreSkippedOnlyWhereNothingChangedSince) {
  // A few pictures, places and sizes, so that copies, OR copies and texts
  // on boxes repeat often and overlap each other and fills partly. The
  // surface must always hold what a plain model draws, and what it shows
  // must cover every pixel that changed since it last showed.
  const Picture pics[] = {
      Flat(80, 80, [](int x, int y) { return uint32_t(0x10000 * (x % 7) + 0x100 * y + 1); }),
      Flat(80, 80, [](int x, int y) { return uint32_t(((x * 13) ^ (y * 7)) & 0xFF0F); }),
  };
  const int places[][2] = {{-20, -20}, {20, 20}, {30, 25}, {60, 20}, {680, 500}, {40, 40}};
  const char* const texts[] = {"Vrask =3=", "Mi =12="};
  Surface s, model, shown;
  std::vector<uint32_t> outside(s.pixels.size(), 0xABCDEF);
  bool showingOutside = false;
  std::vector<ScreenRect> rects;
  uint32_t seed = 12345;
  auto next = [&](uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % n;
  };
  for (int step = 0; step < 4000; ++step) {
    const Picture& p = pics[next(2)];
    const auto& at = places[next(6)];
    // Cells 60 and 50 reach past the picture's edge.
    const int sx = static_cast<int>(next(4)) * 20, sy = next(3) ? 0 : 50, w = next(4) ? 40 : 37;
    switch (next(10)) {
      case 0:
      case 1:
        s.Or(p, sx, sy, w, 40, at[0], at[1]);
        ModelBlit(model, p, sx, sy, w, 40, at[0], at[1], true);
        break;
      case 2:
        s.FillBlack(at[0] + 5, at[1] + 5, 10, 10);
        model.FillBlack(at[0] + 5, at[1] + 5, 10, 10);
        break;
      case 3: {
        // A text on a box that the text overhangs, or on a box too large
        // for the surface to keep a copy of.
        const char* text = texts[next(2)];
        const uint32_t colour = next(2) ? 0xFFFFFFu : 0x00FF00u;
        const bool large = next(4) == 0;
        const ScreenRect box{at[0], at[1] + 10, large ? 90 : 30, large ? 60 : 8};
        const ScreenRect textArea = Surface::TextArea(at[0] + 2, at[1] + 6, text);
        const ScreenRect area{box.x, textArea.y, std::max(box.w, textArea.x + textArea.w - box.x),
                              box.y + box.h - textArea.y};
        const std::string key = std::string(text) + (colour == 0xFFFFFFu ? "w" : "g");
        if (!s.Unchanged(area, key)) {
          s.FillBlack(box.x, box.y, box.w, box.h);
          s.DrawText(at[0] + 2, at[1] + 6, text, colour);
          s.Remember(area, key);
        }
        model.FillBlack(box.x, box.y, box.w, box.h);
        model.DrawText(at[0] + 2, at[1] + 6, text, colour);
        break;
      }
      default:
        s.Copy(p, sx, sy, w, 40, at[0], at[1]);
        ModelBlit(model, p, sx, sy, w, 40, at[0], at[1], false);
    }
    ASSERT_EQ(s.pixels, model.pixels) << "after step " << step;
    // The pixels move in and out of memory of the window's: from the first
    // step, before anything was taken, then now and again.
    if (step == 0 || next(40) == 0) {
      showingOutside = step == 0 || next(2) == 0;
      s.pixels.LendTo(showingOutside ? outside.data() : nullptr);
    }
    if (next(5) == 0) {
      s.TakeChanges(rects);
      ASSERT_TRUE(Covers(rects, shown, s)) << "after step " << step;
      shown = s;
      ASSERT_NE(shown.pixels.data(), s.pixels.data());  // a copy of its own
      ASSERT_EQ(s.pixels.data() == outside.data(), showingOutside) << "after step " << step;
    }
  }

  // Text over a copied place also counts as a change.
  Surface t;
  t.Copy(pics[0], 0, 0, 40, 40, 0, 0);
  t.DrawText(2, 2, "W", 0xFFFFFF);
  t.Copy(pics[0], 0, 0, 40, 40, 0, 0);
  EXPECT_EQ(CountColour(t, 0, 0, 40, 40, 0xFFFFFF), 0);
}

TEST(ChangedAreaTest, AnotherCellOntoAnUntouchedPlaceChangesOnlyWhereTheCellsDiffer) {
  // Cell 0 black; cell 1 the same but for pixels (25, 5) and (5, 35), far
  // apart; cell 2 (at x 80) lies half beyond the picture's edge.
  Picture p = Flat(100, 40, [](int x, int y) {
    return (x == 41 + 25 && y == 5) || (x == 41 + 5 && y == 35) ? 0xFFu : 0u;
  });
  struct Row {
    int fromX, toX;  // the cells copied one after the other
    std::vector<ScreenRect> marked;
  };
  const Row rows[] = {
      // Only the blocks of (45, 25) and (25, 55), not the two between.
      {0, 41, {{40, 20, 20, 20}, {20, 40, 20, 20}}},
      {41, 0, {{40, 20, 20, 20}, {20, 40, 20, 20}}},
      {0, 0, {}},
      // Beyond the edge a copy writes nothing: what lies in the picture
      // is black as before, and the rest keeps what was there.
      {0, 80, {}},
      {41, 80, {{20, 40, 20, 20}}},  // but for (25, 55), which turns black
      // The half the first copy left alone, and (25, 55): every row
      // differs, so they make one band.
      {80, 41, {{20, 20, 40, 40}}},
  };
  for (const Row& r : rows) {
    Surface s;
    s.Fill(0, 0, 100, 100, 0x123);  // neither cell's colour
    s.Copy(p, r.fromX, 0, 40, 40, 20, 20);
    TakeShown(s);
    Surface model = s;
    ModelBlit(model, p, r.toX, 0, 40, 40, 20, 20, false);
    s.Copy(p, r.toX, 0, 40, 40, 20, 20);
    EXPECT_EQ(s.pixels, model.pixels) << r.fromX << " then " << r.toX;
    // The marks themselves, before the shown picture is compared: what the
    // window compares and puts on screen.
    std::vector<ScreenRect> marked;
    s.changed.Take(s.width, s.height, marked);
    EXPECT_EQ(marked, r.marked) << r.fromX << " then " << r.toX;
  }
}

TEST(ChangedAreaTest, ACopyRepeatedOntoAnUntouchedPlaceIsSkipped) {
  // Seen by breaking the promise that pictures stay as they are: the
  // repeated copy does not read the picture again.
  Picture p = Flat(40, 40, [](int, int) { return 0x123456u; });
  Surface s;
  s.Copy(p, 0, 0, 40, 40, 20, 20);
  p.pixels.assign(p.pixels.size(), 0x654321u);
  s.Copy(p, 0, 0, 40, 40, 20, 20);
  EXPECT_EQ(s.At(30, 30), 0x123456u);
  s.Copy(p, 0, 0, 40, 40, 21, 20);  // another place is copied
  EXPECT_EQ(s.At(30, 30), 0x654321u);
}

TEST(ChangedAreaTest, ARepeatIsRedoneOnlyInTheBlocksChangedSince) {
  // The same trick: after the first drawing the picture changes. A fill in
  // the place's top-left block since then makes the repeat draw there again,
  // from the changed picture; its other three blocks keep the first drawing.
  for (const bool orCopy : {false, true}) {
    Picture p = Flat(40, 40, [](int, int) { return 0x0000F0u; });
    Surface s;
    const auto draw = [&] { orCopy ? s.Or(p, 0, 0, 40, 40, 20, 20) : s.Copy(p, 0, 0, 40, 40, 20, 20); };
    draw();
    s.FillBlack(22, 22, 4, 4);
    p.pixels.assign(p.pixels.size(), 0x00F0F0u);
    draw();
    EXPECT_EQ(s.At(23, 23), 0x00F0F0u) << orCopy;  // drawn again
    EXPECT_EQ(s.At(30, 30), 0x00F0F0u) << orCopy;  // the whole block
    EXPECT_EQ(s.At(50, 50), 0x0000F0u) << orCopy;  // left as it was
  }
}

TEST(ChangedAreaTest, ARememberedDrawingIsComparedWhereItsRowsChangedSince) {
  // Black on the left block, white on the right, in the top half of their
  // blocks; then a pixel of the right block changes, is set back or not,
  // and the window takes the changes a number of times before the look.
  struct Row {
    const char* what;
    int y;  // of the pixel changed
    bool setBack;
    int takes;
    bool unchanged;
  };
  const Row rows[] = {
      {"changed and set back", 25, true, 0, true},
      {"changed", 25, false, 0, false},
      {"changed, then taken", 25, false, 1, false},
      {"changed, then taken twice", 25, false, 2, false},
      {"a row of its block below it changed, then taken", 35, false, 1, true},
  };
  for (const Row& r : rows) {
    Surface s;
    const ScreenRect area{20, 20, 40, 10};
    s.FillBlack(20, 20, 20, 10);
    s.FillWhite(40, 20, 20, 10);
    s.Remember(area, "k");
    s.FillBlack(45, r.y, 1, 1);
    if (r.setBack) s.FillWhite(45, r.y, 1, 1);
    std::vector<ScreenRect> rects;
    for (int i = 0; i < r.takes; ++i) s.TakeChanges(rects);
    EXPECT_EQ(s.Unchanged(area, "k"), r.unchanged) << r.what;
  }
}

}  // namespace
