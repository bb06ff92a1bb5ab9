// vrask-bots as a process against the vrask-server process, over loopback.
#include <gtest/gtest.h>

#include "support/test_game.h"
#include "tests/protocol/loopback.h"

namespace {

class BotsProcessTest : public ::testing::Test {
 protected:
  void StartServer(std::vector<std::string> extra) {
    WriteFile("pakmap.map", BorderMapText() + "\r\nA walled square");
    port_ = FreeUdpPort();
    std::vector<std::string> args{"--port", std::to_string(port_), "--seed", "3"};
    args.insert(args.end(), extra.begin(), extra.end());
    server_ = std::make_unique<ServerProcess>(dir_.path().string(), args);
    ASSERT_TRUE(server_->WaitForLine("=Server Started=", 5000));
  }
  std::unique_ptr<ServerProcess> StartBots(std::vector<std::string> extra) {
    std::vector<std::string> args{"--server", "127.0.0.1", "--port", std::to_string(port_),
                                  "--seed", "9"};
    args.insert(args.end(), extra.begin(), extra.end());
    return std::make_unique<ServerProcess>(dir_.path().string(), args, "vrask-bots");
  }

  ScopedTempDir dir_;
  uint16_t port_ = 0;
  std::unique_ptr<ServerProcess> server_;
};

TEST_F(BotsProcessTest, JoinPlayAndLeaveOnSigterm) {
  StartServer({});
  auto bots = StartBots({"--count", "2"});
  ASSERT_TRUE(bots->WaitForLine("Bot 1: joined", 8000));
  ASSERT_TRUE(bots->WaitForLine("Bot 2: joined", 8000));
  EXPECT_TRUE(server_->WaitForLine("Player Has Joined =)", 2000));
  usleep(1500 * 1000);  // a second and a half of play
  EXPECT_EQ(bots->Stop(SIGTERM), 0) << bots->Output();
  EXPECT_TRUE(server_->WaitForLine("Bot 1 Has Left :(", 2000)) << server_->Output();
  EXPECT_TRUE(server_->WaitForLine("Bot 2 Has Left :(", 2000)) << server_->Output();
  const std::string out = bots->Output();
  EXPECT_NE(out.find("Bot 1: left"), std::string::npos) << out;
  // The summary: both still playing, and updates kept arriving (one every
  // second step of 40 ms to each bot).
  const size_t at = out.find("bots still playing: 2 of 2, datagrams sent ");
  ASSERT_NE(at, std::string::npos) << out;
  const size_t updates = out.find("updates applied ", at);
  ASSERT_NE(updates, std::string::npos);
  EXPECT_GT(std::stoi(out.substr(updates + 16)), 10) << out;
}

TEST_F(BotsProcessTest, FullServerDeniesTheSecondBot) {
  StartServer({"--max-players", "1", "--no-computer"});
  auto bots = StartBots({"--count", "2", "--seconds", "6"});
  EXPECT_EQ(bots->WaitExit(30000), 1);
  const std::string out = bots->Output();
  EXPECT_NE(out.find(": denied: The server is full, try again later.\n"), std::string::npos) << out;
  EXPECT_NE(out.find("bots still playing: 1 of 2,"), std::string::npos) << out;
}

TEST_F(BotsProcessTest, ServerShutdownAndBadArguments) {
  StartServer({});
  auto bots = StartBots({});
  ASSERT_TRUE(bots->WaitForLine("Bot 1: joined", 8000));
  EXPECT_EQ(server_->Stop(SIGTERM), 0);
  EXPECT_TRUE(bots->WaitForLine("Bot 1: the server shut down", 3000)) << bots->Output();
  EXPECT_EQ(bots->WaitExit(3000), 1);

  const std::vector<std::vector<std::string>> bad = {
      {"--count", "0"}, {"--loss", "120"}, {"--frobnicate"}, {"--port"},
      // Another machine's server sees one address: one bot only. Refused
      // before anything is sent.
      {"--server", "10.0.0.1", "--count", "2"}};
  for (const auto& args : bad) {
    ServerProcess p(dir_.path().string(), args, "vrask-bots");
    EXPECT_EQ(p.WaitExit(3000), 2) << args[0];
  }
}

}  // namespace
