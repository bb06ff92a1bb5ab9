// The metrics page: its text format, its counters moved by real datagrams
// to a server process, and 404 for any other path.
#include "server/metrics_text.h"

#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <regex>
#include <set>

#include "support/test_game.h"
#include "tests/server/stand_in_sidecar.h"

namespace {

// Checks the exposition line by line (names, types, label syntax, every
// sample after its family's TYPE) and returns the samples by their name
// with labels, e.g. "vrask_joins_total{result=\"accepted\"}".
std::map<std::string, double> ParseExposition(const std::string& text) {
  static const std::regex help(R"(# HELP ([a-zA-Z_:][a-zA-Z0-9_:]*) .+)");
  static const std::regex type(R"(# TYPE ([a-zA-Z_:][a-zA-Z0-9_:]*) (counter|gauge|histogram))");
  static const std::regex sample(
      R"(([a-zA-Z_:][a-zA-Z0-9_:]*)(\{[a-zA-Z_][a-zA-Z0-9_]*="(?:[^"\\\n]|\\.)*"(?:,[a-zA-Z_][a-zA-Z0-9_]*="(?:[^"\\\n]|\\.)*")*\})? (-?[0-9.e+]+|\+Inf|NaN))");
  std::map<std::string, std::string> families;  // name -> type
  std::map<std::string, double> samples;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    if (std::regex_match(line, m, help)) continue;
    if (std::regex_match(line, m, type)) {
      EXPECT_TRUE(families.emplace(m[1], m[2]).second) << "twice: " << line;
      continue;
    }
    if (!std::regex_match(line, m, sample)) {
      ADD_FAILURE() << "not a sample: " << line;
      continue;
    }
    std::string name = m[1];
    std::string family = std::regex_replace(name, std::regex("_(bucket|sum|count)$"), "");
    if (families.count(name)) family = name;
    EXPECT_TRUE(families.count(family)) << "no TYPE before " << line;
    if (families[family] == "counter") EXPECT_TRUE(name.ends_with("_total")) << line;
    EXPECT_TRUE(samples.emplace(name + std::string(m[2]), std::stod(m[3])).second) << "twice: " << line;
  }
  return samples;
}

TEST(MetricsTextTest, LatenessBucketsAreCumulativeAtTheirBounds) {
  OperatorSnapshot s;
  for (uint32_t late : {0u, 1u, 2u, 3u, 40u, 41u, 100u, 101u, 5000u}) s.Counters.Stepped(late);
  auto m = ParseExposition(MetricsText(s, 1.5e9));
  auto bucket = [&](const char* le) {
    return m["vrask_step_lateness_seconds_bucket{le=\"" + std::string(le) + "\"}"];
  };
  for (auto [le, count] : std::vector<std::pair<const char*, double>>{
           {"0.001", 2}, {"0.002", 3}, {"0.005", 4}, {"0.04", 5}, {"0.1", 7}, {"+Inf", 9}})
    EXPECT_EQ(bucket(le), count) << le;
  EXPECT_EQ(m["vrask_step_lateness_seconds_count"], 9);
  EXPECT_DOUBLE_EQ(m["vrask_step_lateness_seconds_sum"], 5.288);
  EXPECT_EQ(m["process_start_time_seconds"], 1.5e9);
}

TEST(MetricsProcessTest, CountersMoveWithDatagramsAndOtherPathsAre404) {
  ScopedTempDir dir;
  WriteFile("pakmap.map", BorderMapText());
  uint16_t port = FreeUdpPort();
  int metricsPort = FreeTcpPort();
  ServerProcess server(dir.path().string(), {"--port", std::to_string(port), "--max-players", "1", "--metrics",
                                             "127.0.0.1:" + std::to_string(metricsPort)});
  ASSERT_TRUE(server.WaitForLine("=Server Started=", 5000));
  httplib::Client http("127.0.0.1", metricsPort);
  auto scrape = [&] {
    auto r = http.Get("/metrics");
    EXPECT_TRUE(r && r->status == 200);
    return r ? ParseExposition(r->body) : std::map<std::string, double>{};
  };
  auto before = scrape();
  EXPECT_EQ(before["vrask_players"], 0);
  EXPECT_EQ(before["vrask_computer_players"], 1);
  EXPECT_EQ(before["vrask_places"], 1);

  UdpTestClient a("127.0.0.2", port), b("127.0.0.3", port);
  const std::string join = "PMc10 - I wanna play!\r\n";
  a.Send(join);
  ASSERT_FALSE(a.ReceiveType('o', 2000).empty());
  b.Send("PMc99 - I wanna play!\r\n");  // no room and the wrong version
  ASSERT_FALSE(b.ReceiveType('d', 2000).empty());
  a.Send("PMx");  // an unknown type letter
  a.ReceiveType('m', 1000);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));  // a step hands the counts over
  auto after = scrape();
  EXPECT_EQ(after["vrask_players"], 1);
  EXPECT_EQ(after["vrask_datagrams_received_total{type=\"c\"}"], 2);
  EXPECT_EQ(after["vrask_received_bytes_total{type=\"c\"}"], 2 * join.size());
  EXPECT_EQ(after["vrask_datagrams_received_total{type=\"x\"}"], 1);
  EXPECT_EQ(after["vrask_datagrams_sent_total{type=\"o\"}"], 1);
  EXPECT_EQ(after["vrask_sent_bytes_total{type=\"o\"}"], 100);
  EXPECT_GE(after["vrask_datagrams_sent_total{type=\"m\"}"], 1);
  EXPECT_EQ(after["vrask_joins_total{result=\"accepted\"}"], 1);
  EXPECT_EQ(after["vrask_joins_total{result=\"f\"}"], 1);
  EXPECT_EQ(after["vrask_joins_total{result=\"v\"}"], 1);
  EXPECT_GT(after["vrask_step_lateness_seconds_count"], before["vrask_step_lateness_seconds_count"]);

  for (const char* path : {"/", "/metrics/x", "/health"}) {
    auto r = http.Get(path);
    ASSERT_TRUE(r) << path;
    EXPECT_EQ(r->status, 404) << path;
  }
  EXPECT_EQ(server.Stop(SIGTERM), 0);
}

}  // namespace
