#include "shell/chat_entry.h"

#include <gtest/gtest.h>

#include "render/bitmap_font.h"
#include "shell/virtual_keys.h"
#include "support/test_game.h"

namespace {

TEST(ChatEntryTest, UnitedKingdomKeyTable) {
  EXPECT_EQ(ChatCharacterForKey(Vk0 + 3, true, false), 0xA3);  // pound sign
  EXPECT_EQ(ChatCharacterForKey(Vk0 + 2, true, false), '"');
  EXPECT_EQ(ChatCharacterForKey(VkOem7, false, false), '#');
  EXPECT_EQ(ChatCharacterForKey(VkOem7, true, false), '~');
  EXPECT_EQ(ChatCharacterForKey(VkOem8, true, false), 0xAC);
  // Caps Lock: upper-case letters and shifted punctuation, but digits stay.
  EXPECT_EQ(ChatCharacterForKey(VkA, false, true), 'A');
  EXPECT_EQ(ChatCharacterForKey(VkOem1, false, true), ':');
  EXPECT_EQ(ChatCharacterForKey(Vk0 + 5, false, true), '5');
  // The keypad: digits with Num Lock type nothing, Insert types 0.
  EXPECT_EQ(ChatCharacterForKey(VkNumpad0 + 4, false, false), 0);
  EXPECT_EQ(ChatCharacterForKey(VkInsert, false, false), '0');
  EXPECT_EQ(ChatCharacterForKey(VkSeparator, false, false), '|');
  EXPECT_EQ(ChatCharacterForKey(VkTab, false, false), 0);
}

TEST(ChatEntryTest, StopsAtTwentySixCharactersOrOnceWiderThan105Pixels) {
  TestGame narrow, wide;
  for (int i = 0; i < 30; ++i) TypeChatKey(narrow.g, VkOemPeriod, false, false);
  EXPECT_EQ(std::string(narrow.g.ChatInput), std::string(26, '.'));
  for (int i = 0; i < 26; ++i) TypeChatKey(wide.g, VkA + ('W' - 'A'), true, false);
  EXPECT_LT(wide.g.ChatInputLength, 26);
  // The last accepted character may take it past the limit, no further.
  wide.g.ChatInput[wide.g.ChatInputLength - 1] = 0;
  EXPECT_LE(GameFont().TextWidth(wide.g.ChatInput), 105);
}

TEST(ChatEntryTest, BackspaceKeepsTheTailZeroed) {
  TestGame t;
  TypeChatKey(t.g, VkA, false, false);
  TypeChatKey(t.g, VkA + 1, false, false);
  DeleteChatCharacter(t.g);
  EXPECT_EQ(t.g.ChatInputLength, 1);
  EXPECT_EQ(t.g.ChatInput[1], 0);
  DeleteChatCharacter(t.g);
  DeleteChatCharacter(t.g);
  EXPECT_EQ(t.g.ChatInputLength, 0);
}

}  // namespace
