// The dedicated server as a process, driven over real loopback UDP.
#include <gtest/gtest.h>

#include <cstring>

#include "game/game_state.h"
#include "protocol/update_datagram.h"
#include "render/player_colours.h"
#include "support/test_game.h"
#include "tests/protocol/loopback.h"

namespace {

const std::string kJoin = "PMc10 - I wanna play!\r\n";
const std::string kMapRequest = "PMf - I need the map\r\n";

class ServerProcessTest : public ::testing::Test {
 protected:
  void Start(std::vector<std::string> extra = {}) {
    WriteFile("pakmap.map", BorderMapText() + "\r\nA walled square");
    port_ = FreeUdpPort();
    std::vector<std::string> args{"--port", std::to_string(port_), "--seed", "5"};
    args.insert(args.end(), extra.begin(), extra.end());
    server_ = std::make_unique<ServerProcess>(dir_.path().string(), args);
    ASSERT_TRUE(server_->WaitForLine("Server, port " + std::to_string(port_), 5000));
    ASSERT_TRUE(server_->WaitForLine("=Server Started=", 2000));
  }
  // The accept reply, or an empty string when none came.
  std::string Join(UdpTestClient& c) {
    c.Send(kJoin);
    return c.ReceiveType('o', 2000);
  }
  // The reason letters of the denials that arrive.
  static std::string DenialReasons(UdpTestClient& c) {
    std::string got;
    for (std::string d; (d = c.ReceiveType('d', 500)).size() > 3;) got += d[3];
    return got;
  }
  // Slot 0's record in the next update (all zero when none came).
  static UpdatePlayer Slot0(UdpTestClient& c) {
    std::string u = c.ReceiveType('m', 1000);
    ParsedUpdate pu;
    ParseUpdateDatagram(reinterpret_cast<const uint8_t*>(u.data()), u.size(), &pu);
    return pu.Players[0];
  }

  ScopedTempDir dir_;
  uint16_t port_ = 0;
  std::unique_ptr<ServerProcess> server_;
};

TEST_F(ServerProcessTest, JoinNameChatKeysAndLeaving) {
  Start({"--no-computer"});  // nobody else on the field to block or kill the player
  UdpTestClient a("127.0.0.2", port_);
  std::string accept = Join(a);
  ASSERT_EQ(accept.size(), 100u);
  EXPECT_EQ(accept[4], 40);
  EXPECT_TRUE(server_->WaitForLine("Player Has Joined =)", 2000));
  UpdatePlayer me = Slot0(a);
  EXPECT_EQ(me.Tag, 'y');  // the first free place is the receiver's
  char dir = me.X <= 240 ? 'r' : 'l';  // towards the wider side

  a.Send(std::string("PMnAlice\0", 9));
  a.Send(std::string("PMthello there\0", 15));
  EXPECT_TRUE(server_->WaitForLine("hello there", 2000));
  GameState colours;
  SetPlayerColours(colours);
  std::string board;
  for (int i = 0; i < 10 && board.find("hello there") == std::string::npos; ++i) board = a.ReceiveType('t', 2000);
  ASSERT_EQ(board.size(), 255u);
  EXPECT_STREQ(&board[3 + 30 * 7 + 3], "hello there");
  EXPECT_EQ(std::memcmp(&board[3 + 30 * 7], colours.PlayerColours[0], 3), 0);

  // The key shows in the player's record and the player moves that way.
  a.Send(std::string("PMg") + dir + " - Key Signature");
  for (int i = 0; i < 20 && me.WantDir != dir; ++i) me = Slot0(a);
  EXPECT_EQ(me.WantDir, dir);
  EXPECT_STREQ(me.Name, "Alice");
  int firstX = Slot0(a).X, lastX = firstX;
  for (int i = 0; i < 15; ++i) lastX = Slot0(a).X;
  EXPECT_EQ(lastX > firstX, dir == 'r');
  EXPECT_NE(lastX, firstX);

  UdpTestClient watcher("127.0.0.3", port_);
  ASSERT_EQ(Join(watcher).size(), 100u);
  a.Send("PMs - I am shutting down, ta ta...");
  EXPECT_TRUE(server_->WaitForLine("Alice Has Left :(", 2000));
  // Named from the slot number; without computer players the place is free.
  for (int i = 0; i < 20 && std::string(me.Name) != "Comp 1"; ++i) me = Slot0(watcher);
  EXPECT_STREQ(me.Name, "Comp 1");
  EXPECT_EQ(me.Tag, 'c');
  EXPECT_EQ(me.Active, 0);
  EXPECT_EQ(server_->Stop(SIGTERM), 0);
}

TEST_F(ServerProcessTest, DenialsMapForAStrangerAndShutdown) {
  WriteFile("banlist.dat", std::string("\x7f\x00\x00\x05,", 5));
  Start({"--max-players", "2", "--speed", "slow"});
  UdpTestClient a("127.0.0.2", port_), a2("127.0.0.2", port_), b("127.0.0.3", port_),
      c("127.0.0.4", port_), banned("127.0.0.5", port_), stranger("127.0.0.6", port_);
  c.Send("PMc11 - I wanna play!\r\n");
  EXPECT_EQ(c.ReceiveType('d', 2000), "PMdv - Sorry, Client/Server versions don't match\r\n");
  std::string accept = Join(a);
  ASSERT_EQ(accept.size(), 100u);
  EXPECT_EQ(accept[4], 60);
  a2.Send(kJoin);  // the same host from another port
  EXPECT_EQ(DenialReasons(a2), "a");
  ASSERT_EQ(Join(b).size(), 100u);
  c.Send(kJoin);
  EXPECT_EQ(DenialReasons(c), "f");
  a.Send("PMc20 - I wanna play!\r\n");  // connected, full and the wrong version
  EXPECT_EQ(DenialReasons(a), "afv");
  banned.Send(kJoin);
  EXPECT_EQ(DenialReasons(banned), "fb");

  stranger.Send(kMapRequest);
  std::string map = stranger.ReceiveType('f', 2000);
  ASSERT_EQ(map.size(), 199u);
  EXPECT_EQ(map[3], 2);
  EXPECT_EQ(map[3 + 15], 1);

  EXPECT_EQ(server_->Stop(SIGINT), 0);
  for (UdpTestClient* p : {&a, &b}) EXPECT_EQ(p->ReceiveType('s', 2000), "PMs - I am shutting down, ta ta...");
  EXPECT_TRUE(c.ReceiveType('s', 200).empty());  // never joined
}

TEST_F(ServerProcessTest, BadArgumentsMissingMapAndBusyPort) {
  EXPECT_EQ(ServerProcess(dir_.path().string(), {"--max-players", "9"}).WaitExit(5000), 2);
  EXPECT_EQ(ServerProcess(dir_.path().string(), {"--map", "missing.map", "--port", "1"}).WaitExit(5000), 1);
  Start();
  ServerProcess second(dir_.path().string(), {"--port", std::to_string(port_)});
  EXPECT_EQ(second.WaitExit(5000), 1);
  EXPECT_FALSE(second.WaitForLine("Server, port " + std::to_string(port_), 500));
  EXPECT_EQ(server_->Stop(SIGTERM), 0);
}

}  // namespace
