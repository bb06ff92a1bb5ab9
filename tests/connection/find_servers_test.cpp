// FindServers on the recording network: where it asks, how long it
// listens, and which answers it lists.
#include <gtest/gtest.h>

#include "connection/find_servers.h"
#include "platform/recording_platform.h"

namespace {

std::string Answer(const std::string& name, int players = 1, int places = 8) {
  ServerInfo s;
  s.name = name;
  s.description = "Map of " + name;
  s.players = players;
  s.places = places;
  s.tickInterval = 40;
  DatagramBuffer b;
  BuildInfoAnswer(b, s);
  return std::string(b.data(), b.data() + b.size());
}

struct Search {
  RecordingPlatform rec;
  // Answers the socket receives, each when the clock reaches its time.
  struct Timed {
    uint32_t at;
    NetAddress from;
    std::string bytes;
  };
  std::vector<Timed> answers;
  RecordingSocket* socket = nullptr;  // only while the search runs
  bool madeBroadcastSocket = false;

  Search() {
    rec.net.broadcast = {NetAddress::Of(10, 99, 0, 255, 0), NetAddress::Of(192, 168, 7, 255, 0)};
    rec.net.local = {NetAddress::Of(10, 99, 0, 1, 0)};
    rec.net.onSocket = [this](RecordingSocket& s) {
      socket = &s;
      madeBroadcastSocket = s.broadcast;
      Deliver();
    };
    rec.clock.now = 1000;
    rec.clock.onSleep = [this] { Deliver(); };
  }
  void Deliver() {
    for (auto it = answers.begin(); it != answers.end();) {
      if (rec.clock.now - 1000 >= it->at) {
        socket->Queue(it->from, it->bytes);
        it = answers.erase(it);
      } else {
        ++it;
      }
    }
  }
  std::vector<FoundServer> Run(uint16_t typedPort = 0) {
    return FindServers(rec.net, rec.clock, typedPort);
  }
};

TEST(FindServers, AsksEveryBroadcastAddressAndThisMachineOnEveryPort) {
  struct Row {
    uint16_t typed;
    std::vector<uint16_t> ports;
  };
  const Row rows[] = {
      {0, {2727, 2728, 2729, 2730}},
      {2729, {2727, 2728, 2729, 2730}},
      {5000, {2727, 2728, 2729, 2730, 5000}},
  };
  for (const Row& r : rows) {
    Search s;
    s.Run(r.typed);
    std::vector<NetAddress> expected;
    for (NetAddress host : {NetAddress::Of(10, 99, 0, 255, 0), NetAddress::Of(192, 168, 7, 255, 0),
                            NetAddress::Of(127, 0, 0, 1, 0)})
      for (uint16_t p : r.ports) expected.push_back(NetAddress::Of(host.ip[0], host.ip[1], host.ip[2], host.ip[3], p));
    std::vector<NetAddress> sent;
    for (auto& d : s.rec.net.sent) {
      sent.push_back(d.addr);
      EXPECT_EQ(d.bytes.size(), kInfoRequestLength);
    }
    EXPECT_EQ(sent, expected) << "typed port " << r.typed;
    EXPECT_TRUE(s.madeBroadcastSocket);
  }
  // Without a broadcast socket only this machine is asked.
  Search s;
  s.rec.net.canBroadcast = false;
  s.Run();
  ASSERT_EQ(s.rec.net.sent.size(), 4u);
  EXPECT_EQ(s.rec.net.sent[0].addr, NetAddress::Of(127, 0, 0, 1, 2727));
}

TEST(FindServers, ListsEachServerOnceWithinTheWindowAndDropsHostileAnswers) {
  Search s;
  std::string truncated = Answer("Short").substr(0, kInfoAnswerLength - 1);
  std::string oversized = Answer("Big") + std::string(kInfoRequestLength, 'x');
  s.answers = {
      {0, NetAddress::Of(127, 0, 0, 1, 2727), Answer("Alpha")},
      {3, NetAddress::Of(10, 99, 0, 1, 2727), Answer("Alpha")},  // the same, by broadcast
      {4, NetAddress::Of(127, 0, 0, 1, 2727), Answer("Alpha")},  // asked twice
      {20, NetAddress::Of(10, 99, 0, 7, 2729), Answer("Beta", 2, 4)},
      {30, NetAddress::Of(10, 99, 0, 8, 2727), truncated},
      {31, NetAddress::Of(10, 99, 0, 8, 2728), oversized},
      {32, NetAddress::Of(10, 99, 0, 8, 4444), Answer("Wrong port")},
      {33, NetAddress::Of(10, 99, 0, 8, 2730), Answer("Crowded", 9, 8)},
      {34, NetAddress::Of(10, 99, 0, 8, 2730), "PMf"},
      {795, NetAddress::Of(10, 99, 0, 9, 2728), Answer("Late")},
      {800, NetAddress::Of(10, 99, 0, 10, 2728), Answer("Too late")},
  };
  std::vector<FoundServer> found = s.Run();
  EXPECT_EQ(s.rec.clock.now - 1000, kFindServersMs);  // listens the whole window, no longer
  // Every other address and port asked stayed silent, as a server that
  // knows only the game's own protocol does: it is simply not listed.
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].info.name, "Alpha");
  EXPECT_EQ(found[0].address, NetAddress::Of(127, 0, 0, 1, 2727));
  EXPECT_EQ(found[0].pingMs, 0u);
  EXPECT_EQ(found[1].info.name, "Beta");
  EXPECT_EQ(found[1].pingMs, 20u);
  EXPECT_EQ(found[2].info.name, "Late");
  EXPECT_EQ(ServerListLine(found[1]), "10.99.0.7:2729\tBeta\tMap of Beta\t2/4\t20 ms");
}

TEST(FindServers, ListLineKeepsItsColumns) {
  FoundServer f;
  f.address = NetAddress::Of(127, 0, 0, 1, 2727);
  f.info.name = "Tab\there";
  f.info.description = "Line\nbreak";
  f.info.players = 0;
  f.info.places = 8;
  f.pingMs = 3;
  EXPECT_EQ(ServerListLine(f), "127.0.0.1:2727\tTab here\tLine break\t0/8\t3 ms");
}

}  // namespace
