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
  // Joins from ip and returns the accept reply (empty when none came).
  std::string Join(UdpTestClient& c) {
    c.Send(kJoin);
    return c.ReceiveType('o', 2000);
  }
  // The slot the next update names as the receiver's own ("y"), or -1.
  static int OwnSlot(const std::string& update) {
    ParsedUpdate u;
    if (!ParseUpdateDatagram(reinterpret_cast<const uint8_t*>(update.data()), update.size(), &u)) return -1;
    for (int i = 0; i < kSlotCount; ++i)
      if (u.Players[i].Tag == 'y') return i;
    return -1;
  }

  ScopedTempDir dir_;
  uint16_t port_ = 0;
  std::unique_ptr<ServerProcess> server_;
};

TEST_F(ServerProcessTest, JoinNameChatKeysAndLeaving) {
  Start({"--no-computer"});  // nobody else on the field to block or kill the player
  UdpTestClient a("127.0.0.2", port_);
  ASSERT_TRUE(a.bound());
  std::string accept = Join(a);
  ASSERT_EQ(accept.size(), 100u);
  EXPECT_EQ(static_cast<uint8_t>(accept[4]), 40);
  EXPECT_TRUE(server_->WaitForLine("Player Has Joined =)", 2000));

  std::string update = a.ReceiveType('m', 2000);
  ASSERT_EQ(update.size(), 218u);
  int slot = OwnSlot(update);
  ASSERT_EQ(slot, 0);  // the first free place
  EXPECT_EQ(std::string(&update[3 + 13], 8), std::string(8, '\0'));  // no name yet
  ParsedUpdate first;
  ASSERT_TRUE(ParseUpdateDatagram(reinterpret_cast<const uint8_t*>(update.data()), update.size(), &first));
  char dir = first.Players[0].X <= 240 ? 'r' : 'l';  // towards the wider side

  a.Send(std::string("PMnAlice\0", 9));
  a.Send(std::string("PMthello there\0", 15));
  EXPECT_TRUE(server_->WaitForLine("hello there", 2000));
  // The board reaches the client with the line in the slot's colour.
  GameState colours;
  SetPlayerColours(colours);
  std::string board;
  for (int i = 0; i < 10 && board.find("hello there") == std::string::npos; ++i)
    board = a.ReceiveType('t', 2000);
  ASSERT_EQ(board.size(), 255u);
  const char* line7 = &board[3 + 30 * 7];
  EXPECT_STREQ(line7 + 3, "hello there");
  EXPECT_EQ(std::memcmp(line7, colours.PlayerColours[slot], 3), 0);

  // A direction key shows in the player's record of the following updates.
  a.Send(std::string("PMg") + dir + " - Key Signature");
  bool seen = false;
  for (int i = 0; i < 20 && !seen; ++i) {
    std::string u = a.ReceiveType('m', 1000);
    ParsedUpdate pu;
    if (ParseUpdateDatagram(reinterpret_cast<const uint8_t*>(u.data()), u.size(), &pu))
      seen = pu.Players[0].WantDir == dir && std::string(pu.Players[0].Name) == "Alice";
  }
  EXPECT_TRUE(seen);
  // ... and the player moves that way in the updates that follow.
  int firstX = -1, lastX = -1;
  for (int i = 0; i < 15; ++i) {
    std::string u = a.ReceiveType('m', 1000);
    ParsedUpdate pu;
    if (!ParseUpdateDatagram(reinterpret_cast<const uint8_t*>(u.data()), u.size(), &pu)) continue;
    if (firstX < 0) firstX = pu.Players[0].X;
    lastX = pu.Players[0].X;
  }
  EXPECT_EQ(lastX > firstX, dir == 'r');
  EXPECT_NE(lastX, firstX);

  UdpTestClient watcher("127.0.0.3", port_);
  ASSERT_EQ(Join(watcher).size(), 100u);
  EXPECT_TRUE(server_->WaitForLine("Player Has Joined =)", 2000));
  a.Send("PMs - I am shutting down, ta ta...");
  EXPECT_TRUE(server_->WaitForLine("Alice Has Left :(", 2000));
  // A computer player named from the slot number takes the place over.
  bool replaced = false;
  for (int i = 0; i < 20 && !replaced; ++i) {
    std::string u = watcher.ReceiveType('m', 1000);
    // Without computer players the place is free again: kind "c", inactive.
    replaced = u.size() == 218 && std::string(&u[3 + 13], 6) == "Comp 1" && u[3 + 1] == 'c' &&
               u[3 + 9] == '0';
  }
  EXPECT_TRUE(replaced);
  EXPECT_EQ(server_->Stop(SIGTERM), 0);
}

TEST_F(ServerProcessTest, DenialsAndMapForAStranger) {
  WriteFile("banlist.dat", std::string("\x7f\x00\x00\x05,", 5));
  Start({"--max-players", "2", "--speed", "slow"});
  UdpTestClient a("127.0.0.2", port_), a2("127.0.0.2", port_), b("127.0.0.3", port_),
      c("127.0.0.4", port_), banned("127.0.0.5", port_), stranger("127.0.0.6", port_);
  std::string accept = Join(a);
  ASSERT_EQ(accept.size(), 100u);
  EXPECT_EQ(static_cast<uint8_t>(accept[4]), 60);
  a2.Send(kJoin);  // the same host from another port
  EXPECT_EQ(a2.ReceiveType('d', 2000).substr(0, 4), "PMda");
  ASSERT_EQ(Join(b).size(), 100u);
  c.Send(kJoin);
  EXPECT_EQ(c.ReceiveType('d', 2000).substr(0, 4), "PMdf");
  // A connected host that asks again with a wrong version: "a", "f", "v".
  a.Send("PMc20 - I wanna play!\r\n");
  std::string reasons;
  for (std::string d; (d = a.ReceiveType('d', 500)).size() > 3;) reasons += d[3];
  EXPECT_EQ(reasons, "afv");
  banned.Send(kJoin);
  std::string got;
  for (std::string d; (d = banned.ReceiveType('d', 500)).size() > 3;) got += d[3];
  EXPECT_EQ(got, "fb");

  stranger.Send("PMf - I need the map\r\n");
  std::string map = stranger.ReceiveType('f', 2000);
  ASSERT_EQ(map.size(), 199u);
  EXPECT_EQ(map[3], 2);
  EXPECT_EQ(map[3 + 15], 1);
  EXPECT_EQ(server_->Stop(SIGINT), 0);
}

TEST_F(ServerProcessTest, VersionDenialAloneAndShutdownReachesEveryPlayer) {
  Start({"--no-computer"});
  UdpTestClient old("127.0.0.9", port_);
  old.Send("PMc11 - I wanna play!\r\n");
  std::string d = old.ReceiveType('d', 2000);
  EXPECT_EQ(d, "PMdv - Sorry, Client/Server versions don't match\r\n");

  std::vector<std::unique_ptr<UdpTestClient>> clients;
  for (int i = 2; i <= 4; ++i) {
    clients.push_back(std::make_unique<UdpTestClient>(("127.0.0." + std::to_string(i)).c_str(), port_));
    ASSERT_EQ(Join(*clients.back()).size(), 100u);
  }
  EXPECT_EQ(server_->Stop(SIGTERM), 0);
  for (auto& c : clients) EXPECT_EQ(c->ReceiveType('s', 2000), "PMs - I am shutting down, ta ta...");
  EXPECT_TRUE(old.ReceiveType('s', 200).empty());  // never joined
}

TEST_F(ServerProcessTest, GeneratedMazeIsServed) {
  Start({"--generate", "--max-players", "4"});
  UdpTestClient c("127.0.0.2", port_);
  c.Send("PMf - I need the map\r\n");
  std::string map = c.ReceiveType('f', 2000);
  ASSERT_EQ(map.size(), 199u);
  int floor = 0;
  for (int i = 0; i < kMapCells; ++i) {
    uint8_t b = static_cast<uint8_t>(map[3 + i]);
    EXPECT_TRUE(b >= 1 && b <= 11);
    floor += b == 1;
  }
  EXPECT_GT(floor, 40);
  EXPECT_NE(map.substr(3), std::string(196, 1));
  EXPECT_EQ(server_->Stop(SIGTERM), 0);
}

TEST_F(ServerProcessTest, BadArgumentsMissingMapAndBusyPort) {
  {
    ServerProcess p(dir_.path().string(), {"--max-players", "9"});
    EXPECT_EQ(p.WaitExit(5000), 2);
  }
  {
    ServerProcess p(dir_.path().string(), {"--map", "missing.map", "--port", "1"});
    EXPECT_EQ(p.WaitExit(5000), 1);
  }
  Start();
  ServerProcess second(dir_.path().string(), {"--port", std::to_string(port_)});
  EXPECT_EQ(second.WaitExit(5000), 1);
  EXPECT_TRUE(second.lines().empty());
  EXPECT_EQ(server_->Stop(SIGTERM), 0);
}

}  // namespace
