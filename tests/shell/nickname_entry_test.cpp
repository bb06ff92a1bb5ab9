#include "shell/nickname_entry.h"

#include <gtest/gtest.h>

#include "platform/windows1252.h"
#include "shell/startup.h"
#include "support/test_game.h"

namespace {

TEST(NicknameEntryTest, TheBoxIsReadUpToNineCharactersWithoutSplittingOne) {
  EXPECT_EQ(ReadNicknameField("abcdefghijk"), "abcdefghi");
  EXPECT_EQ(ReadNicknameField("Unnamed"), "Unnamed");
  EXPECT_EQ(ReadNicknameField(""), "");
  // Ten two-byte characters: nine are kept, all whole.
  std::string umlauts;
  for (int i = 0; i < 10; ++i) umlauts += "\xC3\xA4";
  EXPECT_EQ(ReadNicknameField(umlauts), umlauts.substr(0, 18));
}

TEST(NicknameEntryTest, ANineCharacterWelcomeChoiceIsRepairedToUnnamed) {
  TestGame t;
  ApplyWelcomeChoice(t.g, "abcdefghijk", false, true);
  EXPECT_EQ(t.g.Nickname, "abcdefghi");
  EXPECT_EQ(t.g.SoundsOn, 0);
  EXPECT_EQ(t.g.MusicOn, 1);
  ApplyNicknameRule(t.g);
  EXPECT_EQ(t.g.Nickname, "unnamed");
}

TEST(NicknameEntryTest, NicknamesAreSingleByteTextCountedInCharacters) {
  TestGame t;
  ApplyNicknameChange(t.g, "M\xC3\xBCller\xC3\xA4r");  // "Müllerär": 8 characters, 10 bytes
  ApplyNicknameRule(t.g);
  EXPECT_EQ(t.g.Nickname, "M\xFCller\xE4r");
  EXPECT_EQ(WindowTitle(t.g), "Vrask 1.0 [M\xFCller\xE4r]");  // shown converted by the Ui
  // Euro sign and em dash have single bytes; a Greek letter, a character
  // beyond the first plane and a broken sequence do not.
  EXPECT_EQ(NicknameFromBox("\xE2\x82\xAC\xE2\x80\x94\xCE\xA9\xF0\x9F\x98\x80\xC3x"), "\x80\x97???x");
  EXPECT_EQ(Utf8FromCp1252("\x80\x81\xFF"), "\xE2\x82\xAC?\xC3\xBF");
}

TEST(NicknameEntryTest, UnrollGrowsByTwoPixelsFromNothingTo278) {
  std::vector<int> h = UnrollHeights();
  ASSERT_EQ(h.size(), 140u);
  EXPECT_EQ(h.front(), 0);
  EXPECT_EQ(h.back(), 278);
  for (size_t i = 1; i < h.size(); ++i) EXPECT_EQ(h[i] - h[i - 1], 2);
}

}  // namespace
