#include "shell/commands.h"

#include <gtest/gtest.h>

#include "platform/menu_ids.h"
#include "shell/virtual_keys.h"
#include "support/test_game.h"

namespace {

struct FakeHost : CommandHost {
  std::vector<std::pair<int, int>> posted;
  std::vector<std::string> opened;
  int repaints = 0;
  void PostCommand(int id, int marker) override { posted.push_back({id, marker}); }
  void RepaintAll() override { ++repaints; }
  void ShowJoinDialog() override { opened.push_back("join"); }
  void ShowServerSettings() override { opened.push_back("settings"); }
  void ShowServerControl() override { opened.push_back("control"); }
  void ShowChooseMap() override { opened.push_back("choose"); }
  void ShowMapControl() override { opened.push_back("mapcontrol"); }
  void GenerateMap() override { opened.push_back("generate"); }
  int ShowNicknameDialog() override { opened.push_back("nickname"); return 0; }
  void ShowInfoDialog(int id) override { opened.push_back("info" + std::to_string(id)); }
  void OpenHomePage() override { opened.push_back("home"); }
  void ToggleFullScreen() override { opened.push_back("fullscreen"); }
  void ShowRecordDemo() override { opened.push_back("record"); }
};

struct CommandsTest : ::testing::Test {
  ScopedTempDir dir;
  TestGame t;
  FakeHost host;
  CommandsTest() {
    WriteFile("pakmap.map", BorderMapText());
    t.g.Nickname = "ann";
  }
  void Hot(int id) { RunCommand(t.g, host, id, HotKeyMarker); }
  const RecordingUi::Box& LastBox() { return t.rec.ui.boxes.back(); }
};

TEST_F(CommandsTest, HotKeysPostTheirCommandsWithTheMarker) {
  const int keys[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12};
  const int ids[] = {CmdConnect, CmdStartServer, CmdServerOptions, CmdDisconnect, CmdLoadMap,
                     CmdSaveMap, CmdPlaySounds, CmdPlayMusic, CmdNextTrack, CmdNickname,
                     CmdPrediction};
  for (int k : keys) HandleKeyDown(t.g, host, VkF(k), false, false);
  ASSERT_EQ(host.posted.size(), 11u);
  for (size_t i = 0; i < 11; ++i) {
    EXPECT_EQ(host.posted[i].first, ids[i]);
    EXPECT_EQ(host.posted[i].second, HotKeyMarker);
  }
  HandleKeyDown(t.g, host, VkF(10), false, false);  // F10 is the system's
  EXPECT_EQ(host.posted.size(), 11u);
}

TEST_F(CommandsTest, MenuCommandsRepaintEverythingButHotKeysDoNot) {
  t.g.MapDirty = 0;
  RunCommand(t.g, host, CmdAbout, 0);
  EXPECT_EQ(host.repaints, 2);
  EXPECT_EQ(t.g.MapDirty, 1);
  t.g.MapDirty = 0;
  Hot(CmdAbout);
  EXPECT_EQ(host.repaints, 2);
  EXPECT_EQ(t.g.MapDirty, 0);
  EXPECT_EQ(host.opened, (std::vector<std::string>{"info107", "info107"}));
}

TEST_F(CommandsTest, NoKeepsTheGameAndTheCloseBoxAlwaysAsks) {
  Hot(CmdGenerateMap);  // no game: refused without a word
  EXPECT_TRUE(t.rec.ui.boxes.empty());
  EXPECT_TRUE(host.opened.empty());
  t.g.IsServer = 1;
  Hot(CmdDisconnect);
  EXPECT_EQ(t.g.IsServer, 1);
  t.g.IsServer = 0;
  HandleCloseRequest(t.g);
  EXPECT_EQ(LastBox().text, "Are you sure you want to quit this game?");
  EXPECT_EQ(LastBox().title, "Exit?");
  EXPECT_EQ(t.rec.ui.quits, 0);
  RunCommand(t.g, host, CmdExit, 0);
  EXPECT_EQ(LastBox().text, "Are you sure you want to quit the game?");
}

TEST_F(CommandsTest, ControlKeysActOnlyWhileTheLocalPlayerIsInTheGame) {
  t.g.Players[0].Active = 1;
  t.g.Players[0].Energy = 30;
  t.g.LocalSlot = 0;
  HandleKeyDown(t.g, host, VkShift, true, false);
  HandleMouseButton(t.g, false);
  EXPECT_EQ(t.g.Players[0].Shield, 0);  // no game

  t.g.IsServer = 1;  // a server whose host only serves
  HandleKeyDown(t.g, host, VkShift, true, false);
  EXPECT_EQ(t.g.Players[0].Shield, 0);

  t.g.ServerParticipates = 1;
  HandleMouseButton(t.g, false);
  EXPECT_EQ(t.g.Players[0].Shield, 1);
  HandleKeyDown(t.g, host, VkUp, false, false);
  EXPECT_EQ(t.g.Players[0].WantDir, 'u');
  HandleMouseButton(t.g, true);  // left: shield down, then fire (energy short)
  EXPECT_EQ(t.g.Players[0].Shield, 0);
}

TEST_F(CommandsTest, OtherKeysTypeIntoTheChatEvenWithoutAGame) {
  HandleKeyDown(t.g, host, VkA + 7, true, false);
  HandleKeyDown(t.g, host, VkA + 8, false, false);
  EXPECT_STREQ(t.g.ChatInput, "Hi");
  HandleKeyDown(t.g, host, VkBack, false, false);  // only in a game
  EXPECT_EQ(t.g.ChatInputLength, 2);
}

// A demo's header holds the map and speed the game begins with: a recording
// is armed only between games.
TEST_F(CommandsTest, RecordDemoAsksForAFileOnlyWhileIdle) {
  RunCommand(t.g, host, CmdRecordDemo, 0);
  ASSERT_EQ(host.opened, std::vector<std::string>{"record"});
  for (int role : {1, 2}) {
    (role == 1 ? t.g.IsServer : t.g.IsClient) = 1;
    Hot(CmdRecordDemo);
    EXPECT_EQ(host.opened.size(), 1u);
    EXPECT_EQ(LastBox().title, "Cannot record demo");
    t.g.IsServer = t.g.IsClient = 0;
  }
}

TEST_F(CommandsTest, MusicSwitchesAndSkipsInOrder) {
  t.g.MusicOn = 1;
  t.g.MusicTrack = 11;
  Hot(CmdNextTrack);
  EXPECT_EQ(t.g.MusicTrack, 0);
  EXPECT_EQ(t.rec.audio.music.back(), "vrask0.mid");
  Hot(CmdPlayMusic);  // off
  EXPECT_FALSE(t.rec.ui.enabled[CmdNextTrack]);
  EXPECT_EQ(t.rec.audio.music.back(), "stop");
  size_t played = t.rec.audio.music.size();
  Hot(CmdNextTrack);  // does nothing while music is off
  EXPECT_EQ(t.rec.audio.music.size(), played);
  Hot(CmdPlayMusic);  // on again: the track after the last one
  EXPECT_EQ(t.rec.audio.music.back(), "vrask1.mid");
  EXPECT_TRUE(t.rec.ui.checked[CmdPlayMusic]);
  EXPECT_TRUE(t.rec.ui.enabled[CmdNextTrack]);
}

}  // namespace
