#include "game/game_state.h"

#include <gtest/gtest.h>

#include <cstring>

#include "protocol/board_datagram.h"
#include "render/player_colours.h"
#include "support/test_game.h"

namespace {

TEST(GameStateTest, MakeComputerSlotNamingAndComputerFillOff) {
  TestGame t;
  for (int i = 1; i < 13; ++i) t.g.Tiles[14 + i] = 0;
  t.g.ComputerFill = 1;
  PlayerSlot& p = t.g.Players[0];
  p.Kind = KindInternet;
  p.Frags = 9;
  p.Address = NetAddress::Of(10, 0, 0, 1, 99);
  MakeComputerSlot(t.g, 0, 0);  // timed out or kicked: the index
  EXPECT_STREQ(p.Name, "Comp 0");
  EXPECT_EQ(p.Kind, 'c');
  EXPECT_EQ(p.Active, 1);
  EXPECT_EQ(p.Frags, 0);
  EXPECT_TRUE(p.Address.IsNull());
  EXPECT_EQ(p.X, t.g.SpawnX);
  MakeComputerSlot(t.g, 0, 1);  // left: index + 1
  EXPECT_STREQ(p.Name, "Comp 1");
  t.g.ComputerFill = 0;
  MakeComputerSlot(t.g, 3, 4);
  EXPECT_EQ(t.g.Players[3].Active, 0);
}

TEST(GameStateTest, StatusMessagesAreCutTo26AndScrollTheBoard) {
  TestGame t;
  t.g.StatusMessage = std::string(40, 'b');
  PostStatusMessage(t.g);
  const char* newest = t.g.Board.Lines[7];
  EXPECT_EQ(std::string(newest, 3), "\x80\x64\x64");
  EXPECT_EQ(std::string(newest + 3), std::string(26, 'b'));
  for (int i = 0; i < 7; ++i) {
    t.g.StatusMessage = "line " + std::to_string(i);
    PostStatusMessage(t.g);
  }
  EXPECT_EQ(std::string(t.g.Board.Lines[0] + 3), std::string(26, 'b'));
  EXPECT_EQ(std::string(t.g.Board.Lines[7] + 3), "line 6");
}

TEST(GameStateTest, ChatLinesUseTheSpeakersColourAndReachInternetPlayersOnly) {
  TestGame t;
  SetPlayerColours(t.g);
  t.g.IsServer = t.g.AllowInternet = 1;
  t.g.MaxPlayers = 4;
  for (int i : {1, 5}) {  // slot 5 lies beyond MaxPlayers
    t.g.Players[i].Active = 1;
    t.g.Players[i].Kind = KindInternet;
    t.g.Players[i].Address = NetAddress::Of(127, 0, 0, 2 + i, 4000);
  }
  t.g.Players[2].Active = 1;
  t.g.Players[2].Kind = KindComputer;
  AppendChatLine(t.g, 3, "hello");
  EXPECT_EQ(std::string(t.g.Board.Lines[7], 3), "\x01\xff\x01");
  EXPECT_STREQ(t.g.Board.Lines[7] + 3, "hello");
  ASSERT_EQ(t.socket().sent.size(), 1u);
  const auto& d = t.socket().sent[0];
  EXPECT_EQ(d.addr, t.g.Players[1].Address);
  ASSERT_EQ(d.bytes.size(), 255u);
  EXPECT_EQ(std::string(d.bytes.begin(), d.bytes.begin() + 3), "PMt");
  EXPECT_EQ(std::memcmp(&d.bytes[3 + 30 * 7], t.g.Board.Lines[7], 9), 0);
  t.g.AllowInternet = 0;
  AppendChatLine(t.g, 3, "again");
  EXPECT_EQ(t.socket().sent.size(), 1u);
}

TEST(GameStateTest, BoardDatagramRoundTripsAndSurvivesTruncation) {
  ChatBoard b;
  std::strcpy(b.Lines[0], "\x80\x64\x64Player Has Joined =)");
  std::strcpy(b.Lines[7], "\x01\xff\x01" "abcdefghijklmnopqrstuvwxyz");
  auto d = BuildBoardDatagram(b);
  ChatBoard back = ParseBoardDatagram(d.data(), d.size());
  for (int k = 0; k < 8; ++k) EXPECT_STREQ(back.Lines[k], b.Lines[k]);
  ChatBoard cut = ParseBoardDatagram(d.data(), 3 + 30 * 7 + 5);
  EXPECT_EQ(std::string(cut.Lines[7]), std::string(b.Lines[7], 5));
}

TEST(GameStateTest, DestinationSendFailuresAreDroppedSocketFailuresFatal) {
  TestGame t;
  uint8_t byte = 'x';
  t.socket().sendResult = SendResult::Dropped;
  EXPECT_FALSE(SendDatagram(t.g, NetAddress::Of(255, 255, 255, 255, 1), &byte, 1, "Send error #6"));
  EXPECT_EQ(t.g.DroppedSends, 1u);
  EXPECT_TRUE(t.rec.ui.boxes.empty());
  t.socket().sendResult = SendResult::Failed;
  EXPECT_FALSE(SendDatagram(t.g, NetAddress::Of(127, 0, 0, 1, 1), &byte, 1, "Send error #6"));
  ASSERT_EQ(t.rec.ui.boxes.size(), 1u);
  EXPECT_EQ(t.rec.ui.boxes[0].text, "Send error #6\nInternal error #10054");
  EXPECT_EQ(t.rec.ui.quits, 1);
}

}  // namespace
