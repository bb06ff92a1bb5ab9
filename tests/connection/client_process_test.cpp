// A client joining the dedicated server process by "localhost" and playing.
#include <gtest/gtest.h>

#include <thread>

#include "connection/end_game.h"
#include "connection/game_tick.h"
#include "connection/join_server.h"
#include "game/frame_transitions.h"
#include "platform/posix_network.h"
#include "platform/recording_platform.h"
#include "shell/control_input.h"
#include "support/test_game.h"
#include "tests/protocol/loopback.h"

namespace {

TEST(ClientProcessTest, AClientJoinsTheDedicatedServerAndPlays300Steps) {
  ScopedTempDir dir;
  WriteFile("pakmap.map", BorderMapText() + "\r\nA walled square");
  const uint16_t port = FreeUdpPort();
  ServerProcess server(dir.path().string(), {"--port", std::to_string(port), "--seed", "3"});
  ASSERT_TRUE(server.WaitForLine("=Server Started=", 5000));

  RecordingUi ui;
  SteadyClock clock;
  PosixNetwork net(NetAddress::Of(127, 0, 0, 2, 0));
  GameState g;
  g.platform = Platform{&ui, &clock, nullptr, &net};
  g.Socket = net.CreateSocket();
  g.Nickname = "Walker";
  std::vector<std::string> log;
  ASSERT_TRUE(JoinServer(g, "localhost", port, 3, [&](const std::string& l) { log.push_back(l); }).Joined());
  EXPECT_EQ(log.front(), "Connecting to server 127.0.0.1:" + std::to_string(port) + "...");
  EXPECT_EQ(log.back(), "Remote Packet is verified.");
  EXPECT_EQ(g.Tiles[0], 1);
  EXPECT_EQ(g.Tiles[15], 0);

  int steps = 0, updates = 0, longestSilence = 0;
  const char keys[] = "rdlupab";
  g.LastStepTime = clock.TickCount();
  while (steps < 300 && g.IsClient) {
    if (!GameTick(g)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(MsUntilNextStep(g)));
      continue;
    }
    ApplyFrameTransitions(g);
    ++steps;
    if (g.ServerSilence == 0) ++updates;  // the step applied an update
    longestSilence = std::max(longestSilence, static_cast<int>(g.ServerSilence));
    if (steps % 25 == 0) ApplyControlKey(g, keys[(steps / 25) % 7]);
  }
  EXPECT_EQ(steps, 300);
  EXPECT_EQ(g.IsClient, 1);
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_LT(g.LocalSlot, kSlotCount);
  EXPECT_STREQ(g.Players[g.LocalSlot].Name, "Walker");
  EXPECT_GT(updates, 100);
  EXPECT_LT(longestSilence, 7);  // never "Connection Interrupted"

  EndGame(g);
  EXPECT_TRUE(server.WaitForLine("Walker Has Left :(", 3000));
  EXPECT_EQ(server.Stop(SIGTERM), 0);
}

}  // namespace
