#include "platform/dialog_template.h"

#include <gtest/gtest.h>

#include <set>

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

TEST(DialogTemplatesTest, EveryTemplateIsFoundByIdAndKeepsItsControlsInside) {
  for (int id : {107, 108, 109, 110, 111, 115}) {
    const DialogTemplate* t = DialogTemplateById(id);
    ASSERT_NE(t, nullptr) << id;
    EXPECT_EQ(t->id, id);
    std::set<int> ids;
    for (const DialogControl& c : t->controls) {
      EXPECT_TRUE(c.id == kNoControlId || ids.insert(c.id).second) << id << " repeats " << c.id;
      EXPECT_GE(c.rect.x, 0) << id << " " << c.text;
      EXPECT_GE(c.rect.y, 0) << id << " " << c.text;
      EXPECT_LE(c.rect.x + c.rect.w, t->width) << id << " " << c.text;
      EXPECT_LE(c.rect.y + c.rect.h, t->height) << id << " " << c.text;
    }
  }
  EXPECT_EQ(DialogTemplateById(104), nullptr);
  // Controls without an id are not found by it.
  EXPECT_EQ(NicknameTemplate().Find(kNoControlId), nullptr);
  EXPECT_EQ(NicknameTemplate().Find(1031), nullptr);
}

}  // namespace
