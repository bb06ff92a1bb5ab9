// Hosting from the program: the server settings form and the start.
#include "connection/host_server.h"

#include <gtest/gtest.h>

#include "platform/menu_ids.h"
#include "support/test_game.h"

namespace {

struct HostServerTest : ::testing::Test {
  ScopedTempDir dir;
  TestGame t;
  HostServerTest() {
    WriteFile("pakmap.map", BorderMapText());
    t.g.Nickname = "host";
    t.rec.net.local = {NetAddress::Of(192, 168, 1, 20, 0), NetAddress::Of(10, 0, 0, 5, 0),
                       NetAddress::Of(172, 16, 0, 1, 0), NetAddress::Of(10, 9, 9, 9, 0)};
  }
  bool Go(const ServerSettingsForm& f) { return ServerSettingsGo(t.g, f); }
  std::string LastText() { return t.rec.ui.boxes.empty() ? "" : t.rec.ui.boxes.back().text; }
};

TEST_F(HostServerTest, PlayersPortAndSpeedAreChecked) {
  const std::string players = "Please enter a value between 1-8 for the maximum number of players",
                    port = "Please enter a value between 0-65000 for the ip port";
  struct Case { const char *players, *port; bool fast; std::string message; } cases[] = {
      {"0", "0", true, players}, {"9", "0", true, players}, {"", "0", true, players},  // port not looked at
      {"4", "0", true, port}, {"4", "", true, port}, {"4", "65001", true, port}, {"4", "99999999999999", true, port},
      {"4", "2727", false, "Please choose 'Fast' or 'Slow' for the server speed"}};
  ServerSettingsForm f;
  for (const Case& c : cases) {
    f.players = c.players;
    f.port = c.port;
    f.fast = c.fast;
    EXPECT_FALSE(Go(f));
    EXPECT_EQ(LastText(), c.message) << c.players << " " << c.port;
  }
  EXPECT_EQ(t.g.MaxPlayers, 0);  // nothing committed
  size_t boxes = t.rec.ui.boxes.size();
  f.slow = true;
  f.port = "65000";
  EXPECT_TRUE(Go(f));
  EXPECT_EQ(t.g.Port, 65000);
  EXPECT_EQ(t.g.TickInterval, 60);
  f.internet = false;  // without network play the port is not looked at
  f.port = "0";
  EXPECT_TRUE(Go(f));
  EXPECT_EQ(t.g.AllowInternet, 0);
  EXPECT_EQ(t.rec.ui.boxes.size(), boxes);
}

TEST_F(HostServerTest, NoToTheNewServerQuestionKeepsTheRunningGame) {
  t.g.IsServer = 1;
  t.g.MaxPlayers = 3;
  t.g.Players[1].Active = 1;
  ServerSettingsForm f;
  f.players = "5";
  EXPECT_FALSE(Go(f));
  EXPECT_EQ(LastText(), "Are you sure you want to disconnect and launch a new server?");
  EXPECT_EQ(t.g.IsServer, 1);
  EXPECT_EQ(t.g.Players[1].Active, 1);
  EXPECT_EQ(t.g.MaxPlayers, 3);

  t.rec.ui.answers.push_back(MsgAnswer::Yes);
  EXPECT_TRUE(Go(f));
  EXPECT_EQ(t.g.IsServer, 0);  // ended before the settings were committed
  EXPECT_EQ(t.g.MaxPlayers, 5);
}

TEST_F(HostServerTest, FourPlacesWithComputerPlayersAndTheHost) {
  ServerSettingsForm f;
  f.players = "4";
  ASSERT_TRUE(Go(f));
  ASSERT_EQ(StartServer(t.g, [] { return 1; }), 1);
  EXPECT_EQ(t.g.Players[0].Kind, 'l');
  EXPECT_STREQ(t.g.Players[0].Name, "host");
  for (int i = 1; i < 8; ++i) EXPECT_EQ(t.g.Players[i].Active, i < 4 ? 1 : 0);
  for (int i = 1; i < 4; ++i) EXPECT_EQ(std::string(t.g.Players[i].Name), "Comp " + std::to_string(i + 1));
  EXPECT_EQ(t.g.Players[3].Kind, 'c');
  EXPECT_EQ(t.g.IsServer, 1);
  EXPECT_EQ(t.g.IsClient, 1);
  EXPECT_EQ(t.g.LocalSlot, 0);
  EXPECT_EQ(t.socket().boundPort, 2727);
  EXPECT_EQ(t.g.ConnectionStatus, "Server, port 2727");
  // At most three addresses, as other machines would use them.
  EXPECT_EQ(t.g.ServerAddressText[0], "IP 192.168.1.20");
  EXPECT_EQ(t.g.ServerAddressText[2], "IP 172.16.0.1");
  EXPECT_STREQ(t.g.Board.Lines[7] + 3, "=Server Started=");
  EXPECT_TRUE(t.rec.ui.enabled[CmdLoadMap]);
  EXPECT_FALSE(t.rec.ui.enabled[CmdNickname]);
}

TEST_F(HostServerTest, WithoutNetworkPlayNobodyCanJoin) {
  ServerSettingsForm f;
  f.internet = f.participates = f.computer = false;
  ASSERT_TRUE(Go(f));
  ASSERT_EQ(StartServer(t.g, [] { return 1; }), 1);
  EXPECT_EQ(t.socket().boundPort, -1);
  EXPECT_EQ(t.g.ConnectionStatus, "Server");
  EXPECT_EQ(t.g.ServerAddressText[0], "No Internet Players");
  EXPECT_EQ(t.g.IsClient, 0);
  for (const PlayerSlot& p : t.g.Players) EXPECT_EQ(p.Active, 0);
}

TEST_F(HostServerTest, CancelledMapChoiceLeavesTheProgramIdleAndABusyPortOnlyWarns) {
  ASSERT_TRUE(Go(ServerSettingsForm{}));
  EXPECT_EQ(StartServer(t.g, [] { return 0; }), 0);
  EXPECT_EQ(t.g.IsServer, 0);
  EXPECT_EQ(t.g.ConnectionStatus, "Not Connected");

  t.socket().bindResult = false;
  ASSERT_EQ(StartServer(t.g, [] { return 1; }), 1);
  EXPECT_EQ(t.rec.ui.boxes.back().title, "Server Warning");
  EXPECT_EQ(t.g.IsServer, 1);
}

}  // namespace
