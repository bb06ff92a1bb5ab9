#include "render/changed_area.h"

#include <gtest/gtest.h>

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
