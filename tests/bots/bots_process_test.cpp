// vrask-bots as a process against the vrask-server process, over loopback.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/posix_network.h"

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

TEST_F(BotsProcessTest, TheTimeLimitAndASignalEndTheRunAlsoWhileJoining) {
  // A server that never answers: a bound port nobody reads.
  PosixNetwork net;
  std::unique_ptr<UdpSocket> silent;
  port_ = BindFreeUdpPort(net, silent);
  ASSERT_NE(port_, 0);
  const struct {
    std::vector<std::string> args;
    int signal;     // sent after signalAfterMs, 0: none
    int limitMs;    // from start (no signal) or from the signal to the exit
  } cases[] = {{{"--seconds", "2"}, 0, 3000},
               {{"--count", "3"}, SIGTERM, 1000},
               {{"--seconds", "30"}, SIGINT, 1000}};
  constexpr int kSignalAfterMs = 1500;  // inside the second join attempt
  // Slack for a loaded machine; a join that ignored the limit would keep
  // the bots in for 40 seconds, an attempt that held on for up to one.
  constexpr int kSlackMs = 500;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + std::to_string(c.signal));
    auto bots = StartBots(c.args);
    auto from = std::chrono::steady_clock::now();
    if (c.signal) {
      usleep(kSignalAfterMs * 1000);
      from = std::chrono::steady_clock::now();
      ASSERT_EQ(bots->Stop(c.signal), 1);
    } else {
      ASSERT_EQ(bots->WaitExit(c.limitMs + 5000), 1);
    }
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - from);
    EXPECT_LT(took.count(), c.limitMs + kSlackMs);
    EXPECT_NE(bots->Output().find("Bot 1: could not join (no answer from the server)"),
              std::string::npos)
        << bots->Output();
  }
}

}  // namespace
