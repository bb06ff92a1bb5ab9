// The client's reaction to the server's notices.
#include "connection/server_notices.h"

#include <gtest/gtest.h>

#include "connection/game_step.h"
#include "protocol/board_datagram.h"
#include "protocol/datagrams.h"
#include "tests/protocol/client_fixture.h"

namespace {

TEST(ServerNoticesTest, KickAndShutdownEndTheGameWithOneMessage) {
  const struct {
    std::string notice;
    const char* text;
  } cases[] = {
      {"PMk", "You have been kicked from the server"},
      {"PMs - I am shutting down, ta ta...", "Remote server closed connection"},
      {std::string("PMst - You have timed out") + std::string(230, '\0'), "Remote server closed connection"},
  };
  for (const auto& c : cases) {
    ClientGame t;
    t.g.Players[2].Active = 1;
    t.FromServer(c.notice);
    GameStep(t.g);
    EXPECT_EQ(t.g.IsClient, 0);
    EXPECT_EQ(t.g.Players[2].Active, 0);
    ASSERT_EQ(t.rec.ui.boxes.size(), 1u);
    EXPECT_EQ(t.rec.ui.boxes[0].text, c.text);
    EXPECT_EQ(t.rec.ui.boxes[0].title, "Disconnected...");
    // EndGame still says goodbye to the server.
    EXPECT_EQ(t.Sent(), std::vector<std::string>{"PMs - I am shutting down, ta ta..."});
    // Idle now: no time-out follows.
    for (int i = 0; i < 250; ++i) GameStep(t.g);
    EXPECT_EQ(t.rec.ui.boxes.size(), 1u);
  }
}

TEST(ServerNoticesTest, AChangedBoardRingsAndIsTakenWholeAnUnchangedOneIsQuiet) {
  ClientGame t;
  ChatBoard board;
  std::snprintf(board.Lines[6], kChatLineBytes, "%c%c%cold line", 10, 20, 30);
  std::snprintf(board.Lines[7], kChatLineBytes, "%c%c%chello", 128, 100, 100);
  auto bytes = BuildBoardDatagram(board);
  const std::string d(bytes.begin(), bytes.end());
  t.FromServer(d);
  GameStep(t.g);
  EXPECT_STREQ(t.g.Board.Lines[7] + 3, "hello");
  EXPECT_STREQ(t.g.Board.Lines[6] + 3, "old line");
  EXPECT_EQ(t.rec.audio.effects, std::vector<std::string>{"ring.wav"});
  t.FromServer(d);
  GameStep(t.g);
  EXPECT_EQ(t.rec.audio.effects.size(), 1u);
  // A colour alone makes the line different.
  bytes[3 + 30 * 6] = 11;
  t.FromServer(std::string(bytes.begin(), bytes.end()));
  GameStep(t.g);
  EXPECT_EQ(t.rec.audio.effects.size(), 2u);
  EXPECT_EQ(t.g.Board.Lines[6][0], 11);
  // Other letters are ignored.
  t.FromServer("PMz whatever");
  GameStep(t.g);
  EXPECT_EQ(t.g.IsClient, 1);
  EXPECT_TRUE(t.rec.ui.boxes.empty());
}

TEST(ServerNoticesTest, AWholeMapIsTakenAsItIsTheShortNoticeFetchesOne) {
  ClientGame t;
  TileMap tiles{};
  tiles[30] = 5;
  DatagramBuffer map;
  BuildMap(map, tiles);
  const std::string mapBytes(map.bytes.begin(), map.bytes.begin() + map.len);
  t.FromServer(mapBytes);
  GameStep(t.g);
  EXPECT_EQ(t.g.Tiles, tiles);
  EXPECT_TRUE(t.Sent().empty());  // nothing asked for, no wait
  EXPECT_EQ(t.rec.clock.now, 0u);

  tiles[31] = 6;
  BuildMap(map, tiles);
  t.FromServer("PMf");
  t.rec.clock.onSleep = [&] {
    if (t.Sent().size() == 1 && t.socket().inbox.empty())
      t.FromServer(std::string(map.bytes.begin(), map.bytes.begin() + map.len));
  };
  GameStep(t.g);
  EXPECT_EQ(t.g.Tiles, tiles);
  EXPECT_EQ(t.Sent(), std::vector<std::string>{"PMf - I need the map\r\n"});
}

}  // namespace
