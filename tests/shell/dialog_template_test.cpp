#include "shell/dialog_template.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// The old platform's 8-point dialog font on a 96-dpi screen.
constexpr DialogBaseUnits kOldUnits{6, 13};

TEST(DialogUnitsTest, BaseUnitsRoundTheAverageLetterWidthUpAndHalveIt) {
  EXPECT_EQ(BaseUnitsFromFont(353, 13), (DialogBaseUnits{7, 13}));
  EXPECT_EQ(BaseUnitsFromFont(289, 10), (DialogBaseUnits{6, 10}));
  // 337 / 26 = 12 whole: (12 + 1) / 2 = 6; 338 / 26 = 13: 7.
  EXPECT_EQ(BaseUnitsFromFont(337, 13).x, 6);
  EXPECT_EQ(BaseUnitsFromFont(338, 13).x, 7);
}

TEST(DialogUnitsTest, RectanglesConvertByTheirCornersRoundedToNearest) {
  // The nickname box of the welcome dialog: 18, 14, 61, 12.
  EXPECT_EQ(ToPixels({18, 14, 61, 12}, kOldUnits), (DialogRect{27, 23, 92, 19}));
  // Its Begin! button, 11, 68, 75, 19, with the dialog font's 7 x 13.
  EXPECT_EQ(ToPixels({11, 68, 75, 19}, {7, 13}), (DialogRect{19, 111, 132, 30}));
  EXPECT_EQ(ToPixels({0, 0, 98, 151}, kOldUnits), (DialogRect{0, 0, 147, 245}));
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
      if (c.id != kNoControlId) EXPECT_TRUE(ids.insert(c.id).second) << id << " repeats " << c.id;
      EXPECT_GE(c.rect.x, 0) << id << " " << c.text;
      EXPECT_GE(c.rect.y, 0) << id << " " << c.text;
      EXPECT_LE(c.rect.x + c.rect.w, t->width) << id << " " << c.text;
      EXPECT_LE(c.rect.y + c.rect.h, t->height) << id << " " << c.text;
    }
  }
  EXPECT_EQ(DialogTemplateById(104), nullptr);
}

TEST(DialogTemplatesTest, ControlsWithoutAnIdAreNotFound) {
  EXPECT_NE(WelcomeTemplate().Find(1027), nullptr);
  // The nickname template's icon and frame carry no id.
  EXPECT_EQ(NicknameTemplate().Find(kNoControlId), nullptr);
  EXPECT_EQ(NicknameTemplate().Find(1031), nullptr);
}

TEST(DialogTemplatesTest, InformationDialogsHaveACloseBoxTheIconAndNoButtons) {
  for (const DialogTemplate* t : {&AboutTemplate(), &GameplayHelpTemplate(),
                                  &StatusBarHelpTemplate(), &ClientServerHelpTemplate()}) {
    EXPECT_EQ(t->style, kCloseBox | kMinimiseBox | kCentred) << t->id;
    int icons = 0;
    for (const DialogControl& c : t->controls) {
      EXPECT_NE(c.kind, ControlKind::PushButton) << t->id;
      EXPECT_NE(c.kind, ControlKind::DefaultPushButton) << t->id;
      if (c.kind == ControlKind::Icon && c.resource == 102) ++icons;
    }
    EXPECT_EQ(icons, 1) << t->id;
  }
  bool statusPicture = false;
  for (const DialogControl& c : StatusBarHelpTemplate().controls)
    statusPicture |= c.kind == ControlKind::Picture && c.resource == 123;
  EXPECT_TRUE(statusPicture);
}

}  // namespace
