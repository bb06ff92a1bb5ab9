// The Agones SDK calls against a stand-in sidecar, with the periods shrunk
// so that the tests run in about a second each.
#include "server/agones_client.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <cstdlib>

#include "support/test_game.h"
#include "tests/server/stand_in_sidecar.h"

namespace {

using namespace std::chrono;
using namespace std::chrono_literals;

class AgonesClientTest : public ::testing::Test {
 protected:
  AgonesClientTest() {
    t_.FirstRetry = 10ms;
    t_.MaxRetry = 40ms;
    t_.Health = 100ms;
    t_.Poll = 10ms;
    t_.Request = 200ms;
  }
  std::unique_ptr<AgonesClient> Client() {
    return std::make_unique<AgonesClient>("127.0.0.1", port_, box_, t_, [this](const std::string& problem) {
      std::lock_guard<std::mutex> lock(reportsMutex_);
      reports_.push_back(problem);
    });
  }
  // Hands over a snapshot as a step would; `steps` more steps each time.
  void Step(int players, int steps = 1) {
    snap_.Players = players;
    snap_.Counters.Steps += steps;
    box_.TryPublish(snap_);
  }
  // Steps every 5 ms for d, returning the longest hand-over.
  microseconds StepFor(milliseconds d, int players = 0) {
    microseconds longest{0};
    for (auto end = steady_clock::now() + d; steady_clock::now() < end;) {
      auto before = steady_clock::now();
      Step(players);
      longest = std::max(longest, duration_cast<microseconds>(steady_clock::now() - before));
      std::this_thread::sleep_for(5ms);
    }
    return longest;
  }
  size_t Reports() {
    std::lock_guard<std::mutex> lock(reportsMutex_);
    return reports_.size();
  }

  int port_ = FreeTcpPort();
  AgonesTimings t_;
  SnapshotBox box_;
  OperatorSnapshot snap_;
  std::mutex reportsMutex_;
  std::vector<std::string> reports_;
};

TEST_F(AgonesClientTest, ReadyIsRetriedUntilTheSidecarAppears) {
  auto client = Client();
  client->Start();
  std::this_thread::sleep_for(300ms);  // several failed attempts
  StandInSidecar sidecar;
  ASSERT_TRUE(sidecar.Start(port_));
  ASSERT_TRUE(sidecar.WaitFor("/ready", 1, 5000));
  EXPECT_EQ(sidecar.Calls("/ready")[0].body, "{}");
  EXPECT_EQ(Reports(), 1u);  // the missing sidecar, once per report period
  client->Shutdown();
  EXPECT_EQ(sidecar.Calls("/ready").size(), 1u);
  EXPECT_EQ(sidecar.Calls().back().path, "/shutdown");
}

TEST_F(AgonesClientTest, HealthEveryPeriodWhileStepsRunAndNoneWhenTheyStop) {
  StandInSidecar sidecar;
  ASSERT_TRUE(sidecar.Start(port_));
  auto client = Client();
  client->Start();
  ASSERT_TRUE(sidecar.WaitFor("/ready", 1, 2000));
  StepFor(1000ms);
  size_t pings = sidecar.Calls("/health").size();
  EXPECT_GE(pings, 5u);  // ten periods, generously
  EXPECT_LE(pings, 12u);
  std::this_thread::sleep_for(600ms);  // a stuck loop: no steps
  EXPECT_LE(sidecar.Calls("/health").size(), pings + 1);
  EXPECT_EQ(sidecar.Calls("/health")[0].body, "{}");
}

TEST_F(AgonesClientTest, PlayersLabelOnEveryChangeOnly) {
  StandInSidecar sidecar;
  ASSERT_TRUE(sidecar.Start(port_));
  auto client = Client();
  client->Start();
  ASSERT_TRUE(sidecar.WaitFor("/metadata/label", 1, 2000));  // the first count
  for (auto [players, labels] : std::vector<std::pair<int, size_t>>{{1, 2}, {2, 3}, {2, 3}, {0, 4}}) {
    Step(players);
    sidecar.WaitFor("/metadata/label", labels + 1, 200);  // a wrong extra one would show
    EXPECT_EQ(sidecar.Calls("/metadata/label").size(), labels) << players;
  }
  std::vector<std::string> bodies;
  for (auto& c : sidecar.Calls("/metadata/label")) bodies.push_back(c.method + " " + c.body);
  EXPECT_EQ(bodies, (std::vector<std::string>{"PUT {\"key\": \"players\", \"value\": \"0\"}",
                                              "PUT {\"key\": \"players\", \"value\": \"1\"}",
                                              "PUT {\"key\": \"players\", \"value\": \"2\"}",
                                              "PUT {\"key\": \"players\", \"value\": \"0\"}"}));
}

TEST_F(AgonesClientTest, SlowOrFailingSidecarNeverDelaysAStep) {
  for (auto [status, delay] : std::vector<std::pair<int, milliseconds>>{{200, 150ms}, {500, 0ms}, {503, 150ms}}) {
    reports_.clear();
    port_ = FreeTcpPort();
    StandInSidecar sidecar(status, delay);
    ASSERT_TRUE(sidecar.Start(port_));
    auto client = Client();
    client->Start();
    // Players change every step, so the worker is always busy calling.
    microseconds longest{0};
    for (int i = 0; i < 100; ++i) {
      auto before = steady_clock::now();
      Step(i % 3);
      longest = std::max(longest, duration_cast<microseconds>(steady_clock::now() - before));
      std::this_thread::sleep_for(5ms);
    }
    EXPECT_LT(longest, 20ms) << status;
    EXPECT_FALSE(sidecar.Calls().empty());
    EXPECT_EQ(Reports(), status == 200 ? 0u : 1u) << status;
  }
}

// The server as the container runs it, against the stand-in: ready once it
// listens, shutdown when SIGTERM ends it.
TEST(AgonesProcessTest, ReadyAtStartAndShutdownOnSigterm) {
  ScopedTempDir dir;
  WriteFile("pakmap.map", BorderMapText());
  int sdkPort = FreeTcpPort();
  StandInSidecar sidecar;
  ASSERT_TRUE(sidecar.Start(sdkPort));
  setenv("AGONES_SDK_HTTP_PORT", std::to_string(sdkPort).c_str(), 1);
  uint16_t port = FreeUdpPort();
  ServerProcess server(dir.path().string(), {"--agones", "--port", std::to_string(port)});
  unsetenv("AGONES_SDK_HTTP_PORT");
  ASSERT_TRUE(sidecar.WaitFor("/ready", 1, 5000));
  ASSERT_TRUE(sidecar.WaitFor("/metadata/label", 1, 2000));
  EXPECT_TRUE(sidecar.Calls("/shutdown").empty());
  EXPECT_EQ(server.Stop(SIGTERM), 0);
  EXPECT_EQ(sidecar.Calls("/shutdown").size(), 1u);
}

}  // namespace
