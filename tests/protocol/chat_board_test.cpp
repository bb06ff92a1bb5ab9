#include "protocol/chat_board.h"

#include <gtest/gtest.h>

#include <cstring>

#include "game/game_state.h"
#include "protocol/board_datagram.h"
#include "render/player_colours.h"
#include "support/test_game.h"

namespace {

TEST(ChatBoardTest, StatusMessagesAreCutTo26AndScrollTheBoard) {
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

TEST(ChatBoardTest, ChatLinesUseTheSpeakersColourAndReachInternetPlayersOnly) {
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

TEST(ChatBoardTest, BoardDatagramRoundTripsAndSurvivesTruncation) {
  ChatBoard b;
  std::strcpy(b.Lines[0], "\x80\x64\x64Player Has Joined =)");
  std::strcpy(b.Lines[7], "\x01\xff\x01" "abcdefghijklmnopqrstuvwxyz");
  auto d = BuildBoardDatagram(b);
  ChatBoard back = ParseBoardDatagram(d.data(), d.size());
  for (int k = 0; k < 8; ++k) EXPECT_STREQ(back.Lines[k], b.Lines[k]);
  ChatBoard cut = ParseBoardDatagram(d.data(), 3 + 30 * 7 + 5);
  EXPECT_EQ(std::string(cut.Lines[7]), std::string(b.Lines[7], 5));
}

}  // namespace
