// Random and mutated datagrams thrown at the server's handler. Each one sits
// in a buffer of exactly its length, so a read past the end shows under
// AddressSanitizer. Some come from forged senders whose replies are dropped.
#include <gtest/gtest.h>

#include <random>

#include "connection/game_step.h"
#include "protocol/datagrams.h"
#include "tests/protocol/server_fixture.h"

namespace {

TEST(ServerFuzzTest, HundredThousandHostileDatagramsThenAStrangerGetsTheMap) {
  const std::string seeds[] = {
      "PMc10 - I wanna play!\r\n", "PMf - I need the map\r\n", "PMgr - Key Signature",
      "PMgb - Key Signature",     "PMgp - Key Signature",     std::string("PMnAlice\0", 9),
      std::string("PMthello\0", 9), "PMs - I am shutting down, ta ta...",
      std::string("PMst - You have timed out\0", 26), "PMk", "PMm"};
  ServerGame s(8, true, 99);
  std::mt19937 rng(12345);
  auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
  for (int n = 0; n < 100000; ++n) {
    s.rec.clock.now += 10;  // strangers' replies are paced by the clock
    std::vector<uint8_t> d;
    size_t how = pick(4);
    if (how == 0) {  // pure noise, sometimes with the right header
      d.resize(pick(300));
      for (auto& b : d) b = static_cast<uint8_t>(rng());
      if (d.size() >= 3 && pick(2)) {
        d[0] = 'P';
        d[1] = 'M';
        d[2] = static_cast<uint8_t>("cfgnstkmdo"[pick(10)]);
      }
    } else {  // a real datagram, cut, stretched or with bytes changed
      const std::string& seed = seeds[pick(std::size(seeds))];
      d.assign(seed.begin(), seed.end());
      if (how == 1) d.resize(pick(d.size() + 1));
      if (how == 2) d.resize(d.size() + pick(250), static_cast<uint8_t>(rng()));
      for (size_t k = pick(4); k > 0 && !d.empty(); --k) d[pick(d.size())] = static_cast<uint8_t>(rng());
    }
    // Now and then a forged sender whose replies the socket drops.
    size_t host = pick(14);
    NetAddress from = host < 12 ? NetAddress::Of(10, 0, 0, static_cast<uint8_t>(host), static_cast<uint16_t>(pick(3)))
                      : host == 12 ? NetAddress::Of(0, 0, 0, 0, 0)
                                   : NetAddress::Of(255, 255, 255, 255, 2727);
    s.socket().sendResult = host < 12 ? SendResult::Sent : SendResult::Dropped;
    // Mostly straight to the handler (exact-size buffers); sometimes through
    // a whole step, whose receive loop reads at most 255 bytes.
    if (pick(8)) {
      HandleServerDatagram(s.g, d.data(), d.size(), from);
    } else {
      s.socket().inbox.push_back({from, d});
      GameStep(s.g);
    }
    if (n % 512 == 0) s.ClearSent();
    for (const PlayerSlot& p : s.g.Players) ASSERT_EQ(p.Name[kNameBytes - 1], 0);
  }
  EXPECT_TRUE(s.rec.ui.boxes.empty());
  EXPECT_EQ(s.rec.ui.quits, 0);
  EXPECT_GT(s.g.DroppedSends, 1000u);
  for (const auto& sent : s.socket().sent) EXPECT_LE(sent.bytes.size(), 255u);
  for (int i = 0; i < s.g.MaxPlayers; ++i) EXPECT_LE(s.g.Players[i].Energy, kFullEnergy);

  // A second later the server still answers a stranger's map request with
  // the map it has.
  s.rec.clock.now += 1000;
  s.ClearSent();
  s.socket().sendResult = SendResult::Sent;
  NetAddress asker = NetAddress::Of(192, 0, 2, 1, 4000);
  s.Receive(asker, "PMf - I need the map\r\n");
  DatagramBuffer want;
  BuildMap(want, s.g.Tiles);
  EXPECT_EQ(s.SentTo(asker), std::vector<std::string>{std::string(want.bytes.begin(), want.bytes.begin() + want.len)});
  EXPECT_EQ(want.bytes[3], 2);  // the walled rim is still there
}

}  // namespace
