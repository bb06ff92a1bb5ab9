#include "platform/dialog_template.h"

#include <gtest/gtest.h>

namespace {

// The old platform's 8-point dialog font on a 96-dpi screen.
constexpr DialogBaseUnits kOldUnits{6, 13};

TEST(DialogUnitsTest, BaseUnitsAndRectanglesRoundAsTheOldPlatformDid) {
  // Average letter width: 26 letters' total rounded up, then halved.
  EXPECT_EQ(BaseUnitsFromFont(353, 13), (DialogBaseUnits{7, 13}));
  EXPECT_EQ(BaseUnitsFromFont(337, 13).x, 6);  // 337 / 26 = 12: (12 + 1) / 2
  EXPECT_EQ(BaseUnitsFromFont(338, 13).x, 7);
  // Drawn 8/7 larger on both axes, rounded to nearest.
  EXPECT_EQ(EnlargedUnits({7, 13}), (DialogBaseUnits{8, 15}));
  EXPECT_EQ(EnlargedUnits({6, 13}), (DialogBaseUnits{7, 15}));
  EXPECT_EQ(EnlargedUnits({7, 12}), (DialogBaseUnits{8, 14}));  // 13.71
  // Rectangles convert by their corners, rounded to nearest.
  EXPECT_EQ(ToPixels({18, 14, 61, 12}, kOldUnits), (DialogRect{27, 23, 92, 19}));
  EXPECT_EQ(ToPixels({11, 68, 75, 19}, {7, 13}), (DialogRect{19, 111, 132, 30}));
}

TEST(DialogUnitsTest, ControlsThatTouchInDialogUnitsTouchInPixels) {
  for (DialogBaseUnits u : {kOldUnits, DialogBaseUnits{7, 13}, DialogBaseUnits{5, 11}})
    for (int y = 0; y < 40; ++y)
      for (int h = 1; h < 20; ++h) {
        DialogRect upper = ToPixels({3, y, 10, h}, u);
        DialogRect lower = ToPixels({3, y + h, 10, 5}, u);
        ASSERT_EQ(upper.y + upper.h, lower.y) << "y " << y << " h " << h;
      }
}

}  // namespace
