// Random and mutated datagrams thrown at the server's handler. Each one sits
// in a buffer of exactly its length, so a read past the end shows under
// AddressSanitizer.
#include <gtest/gtest.h>

#include <random>

#include "game/game_step.h"
#include "protocol/datagrams.h"
#include "tests/protocol/server_fixture.h"

namespace {

std::vector<std::string> Seeds() {
  std::vector<std::string> s = {
      "PMc10 - I wanna play!\r\n", "PMf - I need the map\r\n", "PMgr - Key Signature",
      "PMgb - Key Signature",     "PMgp - Key Signature",     std::string("PMnAlice\0", 9),
      std::string("PMthello\0", 9), "PMs - I am shutting down, ta ta...",
      std::string("PMst - You have timed out\0", 26), "PMk", "PMm"};
  return s;
}

TEST(ServerFuzzTest, HundredThousandHostileDatagramsLeaveAWorkingServer) {
  ServerGame s(8, true, 99);
  std::mt19937 rng(12345);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const auto seeds = Seeds();
  constexpr int kDatagrams = 100000;
  for (int n = 0; n < kDatagrams; ++n) {
    std::vector<uint8_t> d;
    int how = pick(4);
    if (how == 0) {  // pure noise, sometimes with the right header
      d.resize(static_cast<size_t>(pick(300)));
      for (auto& b : d) b = static_cast<uint8_t>(rng());
      if (d.size() >= 3 && pick(2)) {
        d[0] = 'P';
        d[1] = 'M';
        d[2] = static_cast<uint8_t>("cfgnstkmdo"[pick(10)]);
      }
    } else {  // a real datagram, cut, stretched or with bytes changed
      const std::string& seed = seeds[static_cast<size_t>(pick(static_cast<int>(seeds.size())))];
      d.assign(seed.begin(), seed.end());
      if (how == 1) d.resize(static_cast<size_t>(pick(static_cast<int>(d.size()) + 1)));
      if (how == 2) d.resize(d.size() + static_cast<size_t>(pick(250)), static_cast<uint8_t>(rng()));
      for (int k = pick(4); k > 0 && !d.empty(); --k)
        d[static_cast<size_t>(pick(static_cast<int>(d.size())))] = static_cast<uint8_t>(rng());
    }
    NetAddress from = NetAddress::Of(10, 0, 0, static_cast<uint8_t>(pick(12)),
                                     static_cast<uint16_t>(pick(3)));
    // Most through the handler directly (exact-size buffers); some through
    // the receive loop, which reads at most 255 bytes.
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
  for (const auto& sent : s.socket().sent) EXPECT_LE(sent.bytes.size(), 255u);
  for (int i = 0; i < s.g.MaxPlayers; ++i) {
    const PlayerSlot& p = s.g.Players[i];
    EXPECT_TRUE(p.Kind == 'c' || p.Kind == 'i');
    EXPECT_LE(p.Energy, kFullEnergy);
  }

  // The server still answers a map request with the map it has.
  s.ClearSent();
  NetAddress asker = NetAddress::Of(192, 0, 2, 1, 4000);
  s.Receive(asker, "PMf - I need the map\r\n");
  auto replies = s.SentTo(asker);
  ASSERT_EQ(replies.size(), 1u);
  DatagramBuffer want;
  BuildMap(want, s.g.Tiles);
  EXPECT_EQ(replies[0], std::string(want.bytes.begin(), want.bytes.begin() + want.len));
  EXPECT_EQ(replies[0][3], 2);  // the walled rim is still there
}

}  // namespace
