#include "shell/nickname_entry.h"

#include <gtest/gtest.h>

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

TEST(NicknameEntryTest, WelcomeChoiceStoresNameAndSwitches) {
  TestGame t;
  ApplyWelcomeChoice(t.g, "Rex", true, false);
  EXPECT_EQ(t.g.Nickname, "Rex");
  EXPECT_EQ(t.g.SoundsOn, 1);
  EXPECT_EQ(t.g.MusicOn, 0);
  // A nine-character read is over-long for the game and repaired later.
  ApplyWelcomeChoice(t.g, "abcdefghijk", false, true);
  EXPECT_EQ(t.g.Nickname, "abcdefghi");
  EXPECT_EQ(t.g.SoundsOn, 0);
  EXPECT_EQ(t.g.MusicOn, 1);
  ApplyNicknameRule(t.g);
  EXPECT_EQ(t.g.Nickname, "unnamed");
}

TEST(NicknameEntryTest, UnrollGrowsByTwoPixelsFromNothingTo278) {
  std::vector<int> h = UnrollHeights();
  ASSERT_EQ(h.size(), 140u);
  EXPECT_EQ(h.front(), 0);
  EXPECT_EQ(h.back(), 278);
  for (size_t i = 1; i < h.size(); ++i) EXPECT_EQ(h[i] - h[i - 1], 2);
}

TEST(ChangeNicknameCommandTest, RefusedWhileAGameRuns) {
  for (int role = 0; role < 2; ++role) {
    TestGame t;
    (role ? t.g.IsServer : t.g.IsClient) = 1;
    t.g.Nickname = "Rex";
    int dialogs = 0;
    EXPECT_FALSE(ChangeNicknameCommand(t.g, [&](GameState&) { return ++dialogs; }));
    EXPECT_EQ(dialogs, 0);
    ASSERT_EQ(t.rec.ui.boxes.size(), 1u);
    EXPECT_EQ(t.rec.ui.boxes[0].text,
              "You cannot change your nickname while playing. Disconnect first.");
    EXPECT_EQ(t.rec.ui.boxes[0].title, "Cannot Change Nick Name!");
    EXPECT_EQ(t.rec.ui.boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(t.rec.ui.title.empty());
    EXPECT_EQ(t.g.Nickname, "Rex");
  }
}

TEST(ChangeNicknameCommandTest, CancelChangesNothing) {
  TestGame t;
  t.g.Nickname = "Rex";
  EXPECT_FALSE(ChangeNicknameCommand(t.g, [](GameState&) { return 0; }));
  EXPECT_EQ(t.g.Nickname, "Rex");
  EXPECT_TRUE(t.rec.ui.title.empty());
  EXPECT_TRUE(t.rec.ui.boxes.empty());
}

TEST(ChangeNicknameCommandTest, ChangeRepairsAnEmptyNameAndRetitles) {
  TestGame t;
  t.g.Nickname = "Rex";
  EXPECT_TRUE(ChangeNicknameCommand(t.g, [](GameState& g) {
    ApplyNicknameChange(g, "");
    return 1;
  }));
  EXPECT_EQ(t.g.Nickname, "unnamed");
  EXPECT_EQ(t.rec.ui.title, "Vrask 1.0 [unnamed]");

  EXPECT_TRUE(ChangeNicknameCommand(t.g, [](GameState& g) {
    ApplyNicknameChange(g, "Tankred8");
    return 1;
  }));
  EXPECT_EQ(t.rec.ui.title, "Vrask 1.0 [Tankred8]");
}

}  // namespace
