// Replies to senders without a place are paced per address and for all of
// them together; players in a place are never held back.
#include <gtest/gtest.h>

#include "game/stranger_limiter.h"
#include "protocol/datagrams.h"
#include "tests/protocol/server_fixture.h"

namespace {

const std::string kJoin = "PMc10 - I wanna play!\r\n";
const std::string kMapRequest = "PMf - I need the map\r\n";

// Replies of type `type` sent to the host of `to`, whatever the port.
int RepliesTo(ServerGame& s, const NetAddress& to, char type) {
  int n = 0;
  for (auto& d : s.socket().sent) n += d.addr.SameHost(to) && d.bytes.size() > 2 && d.bytes[2] == type;
  return n;
}

TEST(StrangerLimitTest, AFloodingStrangerGetsBurstPlusRateWhileOthersAreServed) {
  ServerGame s;
  NetAddress player = Client(3);
  ASSERT_GE(s.Join(player), 0);
  s.ClearSent();
  // The second runs across the wrap of the tick count.
  const uint32_t start = 0xFFFFFE00u;
  for (int ms = 0; ms < 1000; ++ms) {
    s.rec.clock.now = start + static_cast<uint32_t>(ms);
    // The flood comes from ever new ports of one host.
    s.Receive(Client(1, static_cast<uint16_t>(1000 + ms)), kMapRequest);
    if (ms % 250 == 0) s.Receive(Client(2), kMapRequest);  // an honest stranger, 4 a second
    s.Receive(player, kMapRequest);
    s.Receive(player, kJoin);
  }
  int flooder = RepliesTo(s, Client(1), 'f');
  // The burst, then one every 250 ms; the fourth of the second would be due
  // at 1000 ms.
  EXPECT_EQ(flooder, int{StrangerLimiter::kPerSourceBurst + StrangerLimiter::kPerSourceRate} - 1);
  EXPECT_EQ(RepliesTo(s, Client(2), 'f'), 4);
  EXPECT_EQ(RepliesTo(s, player, 'f'), 1000);
  EXPECT_EQ(RepliesTo(s, player, 'd'), 1000);  // "already connected", every time
  EXPECT_EQ(s.g.StrangerReplies.Refused(), 1000u - flooder);
}

TEST(StrangerLimitTest, AllStrangersTogetherAreCappedAndANewPlayerStillJoinsRightAfter) {
  ServerGame s;
  // One second of forged requests, each from another address: map requests
  // and joins of a wrong version (denied, so the places stay free).
  for (int n = 0; n < 1000; ++n) {
    s.rec.clock.now = static_cast<uint32_t>(n);
    s.Receive(NetAddress::Of(192, 0, 2 + n / 250, static_cast<uint8_t>(n % 250), 7),
              n % 2 ? kMapRequest : "PMc01 - I wanna play!\r\n");
  }
  int answered = static_cast<int>(s.socket().sent.size());
  EXPECT_LE(answered, int{StrangerLimiter::kAllBurst + StrangerLimiter::kAllRate});
  EXPECT_GE(answered, int{StrangerLimiter::kAllBurst + StrangerLimiter::kAllRate} - 2);

  // The next step: a player joins and fetches the map at once.
  s.rec.clock.now = 1040;
  NetAddress newcomer = NetAddress::Of(127, 0, 0, 2, 4000);
  s.ClearSent();
  s.Receive(newcomer, kJoin);
  ASSERT_GE(FindSenderSlot(s.g, newcomer), 0);
  s.Receive(newcomer, kMapRequest);
  EXPECT_EQ(RepliesTo(s, newcomer, 'o'), 1);
  EXPECT_EQ(RepliesTo(s, newcomer, 'f'), 1);
}

TEST(StrangerLimitTest, AnActiveFlooderIsNotForgottenAmongManyNewAddresses) {
  // Ten seconds: one host asks 100 times a second, and 1000 other hosts
  // once each (100 a second, within the shared rate), pushing the flooder's
  // set of the table to forget someone again and again.
  StrangerLimiter limiter;
  const std::array<uint8_t, 4> flooder{198, 51, 100, 7};
  int allowed = 0;
  for (uint32_t ms = 0; ms < 10000; ms += 10) {
    allowed += limiter.Allow(flooder, ms);
    uint32_t n = ms / 10;
    EXPECT_TRUE(limiter.Allow({203, 0, static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)}, ms + 5)) << n;
  }
  EXPECT_LE(allowed, int{StrangerLimiter::kPerSourceBurst + 10 * StrangerLimiter::kPerSourceRate});
}

}  // namespace
