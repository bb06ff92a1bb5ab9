#include "shell/dialog_templates.h"

#include <gtest/gtest.h>

#include <set>

namespace {

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
