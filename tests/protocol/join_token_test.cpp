// Join tokens: the cookie's rule, and what the server sends an address
// before and after it has shown a valid cookie, in both modes.
#include "protocol/join_token.h"

#include <gtest/gtest.h>

#include "protocol/server_join.h"
#include "protocol/server_send.h"
#include "tests/protocol/server_fixture.h"

namespace {

const std::string kPlainJoin = "PMc10 - I wanna play!\r\n";
const std::string kMapRequest = "PMf - I need the map\r\n";

JoinTokenKey Key(uint8_t seed) {
  JoinTokenKey k;
  for (size_t i = 0; i < k.size(); ++i) k[i] = static_cast<uint8_t>(seed + i);
  return k;
}

std::string Bytes(const DatagramBuffer& d) { return std::string(d.bytes.begin(), d.bytes.begin() + d.len); }
std::string MarkedJoin(const JoinCookie& c) {
  DatagramBuffer d;
  BuildMarkedJoin(d, c);
  return Bytes(d);
}

TEST(JoinTokenTest, ACookieHoldsForItsAddressAndPortInTwoWindowsOnly) {
  const JoinTokenKey key = Key(1);
  const NetAddress a = NetAddress::Of(10, 0, 0, 1, 5000);
  const uint32_t made = 123456;  // window 12
  const JoinCookie cookie = MakeJoinCookie(key, a, CookieWindow(made));
  JoinCookie flipped = cookie;
  flipped[5] ^= 0x10;
  const struct {
    const char* what;
    NetAddress from;
    JoinCookie cookie;
    uint32_t now;
    JoinTokenKey key;
    bool valid;
  } rows[] = {
      {"same window", a, cookie, made, key, true},
      {"last ms of the next window", a, cookie, 139999, key, true},
      {"first ms of its window", a, cookie, 120000, key, true},
      {"two windows on", a, cookie, 140000, key, false},
      {"the window before it", a, cookie, 119999, key, false},
      {"another port", NetAddress::Of(10, 0, 0, 1, 5001), cookie, made, key, false},
      {"another address", NetAddress::Of(10, 0, 0, 2, 5000), cookie, made, key, false},
      {"a flipped bit", a, flipped, made, key, false},
      {"another server's key", a, cookie, made, Key(2), false},
  };
  for (const auto& r : rows) EXPECT_EQ(JoinCookieValid(r.key, r.from, r.cookie, r.now), r.valid) << r.what;
  // At least 10 s in every case: the window is that long.
  EXPECT_GE(kCookieWindowMs, 10000u);
  EXPECT_NE(NewJoinTokenKey(), NewJoinTokenKey());
}

TEST(JoinTokenTest, MarkedJoinAndChallengeTravelAndShortOnesAreNotRead) {
  JoinCookie c;
  for (size_t i = 0; i < c.size(); ++i) c[i] = static_cast<uint8_t>(0xA0 + i);
  const std::string join = MarkedJoin(c);
  // Still a join request of version 1.0 to a server that reads bytes 0-4.
  EXPECT_EQ(join.substr(0, kPlainJoin.size()), kPlainJoin);
  EXPECT_TRUE(JoinVersionMatches(reinterpret_cast<const uint8_t*>(join.data()), join.size()));
  JoinCookie got{};
  const auto* d = reinterpret_cast<const uint8_t*>(join.data());
  EXPECT_TRUE(ParseMarkedJoin(d, join.size(), &got));
  EXPECT_EQ(got, c);
  EXPECT_FALSE(ParseMarkedJoin(d, kJoinCookieAt + kJoinCookieBytes - 1, &got));
  EXPECT_FALSE(ParseMarkedJoin(reinterpret_cast<const uint8_t*>(kPlainJoin.data()), kPlainJoin.size(), &got));
  DatagramBuffer ch;
  BuildChallenge(ch, c);
  EXPECT_EQ(Bytes(ch).substr(0, 3), "PMh");
  EXPECT_TRUE(ParseChallenge(ch.data(), ch.size(), &got));
  EXPECT_FALSE(ParseChallenge(ch.data(), ch.size() - 1, &got));
}

// A token server on the recording platform with a fixed key and clock.
struct TokenServer : ServerGame {
  explicit TokenServer(bool require) : ServerGame(2) {
    g.RequireToken = require;
    g.TokenKey = Key(9);
    rec.clock.now = 50000;
  }
  JoinCookie CookieFor(const NetAddress& a) { return MakeJoinCookie(g.TokenKey, a, CookieWindow(rec.clock.now)); }
  // Type letter and length of every datagram sent to `to`, as "o100".
  std::vector<std::string> Kinds(const NetAddress& to) {
    std::vector<std::string> out;
    for (const std::string& s : SentTo(to)) out.push_back(s.substr(2, 1) + std::to_string(s.size()));
    return out;
  }
};

TEST(JoinTokenServerTest, WhatAnAddressReceivesBeforeAndAfterItsCookie) {
  const NetAddress a = Client(1), otherPort = Client(1, 5001);
  const std::string garbage(8, '\x55');
  const struct {
    const char* what;
    bool require;
    std::function<std::string(TokenServer&)> datagram;
    std::vector<std::string> replies;
    bool place;
  } rows[] = {
      {"marked join, no cookie", false, [](TokenServer&) { return MarkedJoin({}); }, {"h11"}, false},
      {"marked join, no cookie, required", true, [](TokenServer&) { return MarkedJoin({}); }, {"h11"}, false},
      {"marked join, valid cookie", true, [&](TokenServer& s) { return MarkedJoin(s.CookieFor(a)); }, {"o100", "t255"}, true},
      {"cookie replayed from another port", true,
       [&](TokenServer& s) { return MarkedJoin(s.CookieFor(otherPort)); }, {"h11"}, false},
      {"plain join, tokens not required", false, [](TokenServer&) { return kPlainJoin; }, {"o100", "t255"}, true},
      {"plain join, tokens required", true, [](TokenServer&) { return kPlainJoin; }, {"d50"}, false},
      {"map request from a stranger", false, [](TokenServer&) { return kMapRequest; }, {"f199"}, false},
      {"map request from a stranger, required", true, [](TokenServer&) { return kMapRequest; }, {}, false},
  };
  for (const auto& r : rows) {
    TokenServer s(r.require);
    s.Receive(a, r.datagram(s));
    EXPECT_EQ(s.Kinds(a), r.replies) << r.what;
    EXPECT_EQ(FindSenderSlot(s.g, a) >= 0, r.place) << r.what;
    // Every answer to an address that has shown no cookie is smaller than
    // the datagram that drew it, but the rate-limited plain denial.
    if (!r.place && r.replies != std::vector<std::string>{"d50"} && r.require) {
      for (const std::string& sent : s.SentTo(a)) EXPECT_LT(sent.size(), r.datagram(s).size()) << r.what;
    }
  }
}

TEST(JoinTokenServerTest, ALostAcceptIsSentAgainOnlyToTheAddressAndPortHoldingThePlace) {
  const struct {
    const char* what;
    NetAddress again;
    bool marked;
    std::vector<std::string> replies;
  } rows[] = {
      {"same address and port with its cookie", Client(1), true, {"o100"}},
      {"same address, another port, its cookie", Client(1, 5001), true, {"d56", "d52"}},
      {"same address and port, plain join", Client(1), false, {"d56", "d52"}},
  };
  for (const auto& r : rows) {
    TokenServer s(false);
    s.Receive(Client(1), MarkedJoin(s.CookieFor(Client(1))));
    ASSERT_EQ(FindSenderSlot(s.g, Client(1)), 0);
    s.Receive(Client(2), kPlainJoin);  // the server is now full
    s.ClearSent();
    s.Receive(r.again, r.marked ? MarkedJoin(s.CookieFor(r.again)) : kPlainJoin);
    EXPECT_EQ(s.Kinds(r.again), r.replies) << r.what;
    EXPECT_EQ(FindSenderSlot(s.g, Client(1)), 0) << r.what;
  }
}

// Forged datagrams of every kind from an address that never answers: in
// the required mode it is never given a place, an accept, a board or an
// update, while a proven player plays on.
TEST(JoinTokenServerTest, AForgedAddressGetsNoPlaceBoardOrUpdateWhenTokensAreRequired) {
  TokenServer s(true);
  const NetAddress player = Client(1), forged = Client(7);
  s.Receive(player, MarkedJoin(s.CookieFor(player)));
  ASSERT_GE(FindSenderSlot(s.g, player), 0);
  const std::string forgedKinds[] = {kPlainJoin, MarkedJoin({}), MarkedJoin(s.CookieFor(Client(8))),
                                     kMapRequest, "PMf", "PMgu - Key Signature",
                                     std::string("PMnBob\0", 7), "PMthello", "PMh12345678"};
  for (int step = 0; step < 40; ++step) {
    for (const std::string& d : forgedKinds) s.socket().Queue(forged, d);
    s.rec.clock.now += 40;
    ServerReceive(s.g);
    s.g.SendParity ^= 1;
    ServerSend(s.g);
  }
  EXPECT_LT(FindSenderSlot(s.g, forged), 0);
  size_t forgedBytes = 0, received = 0;
  for (const std::string& d : forgedKinds) forgedBytes += 40 * d.size();
  for (const std::string& sent : s.SentTo(forged)) {
    received += sent.size();
    EXPECT_TRUE(sent[2] == 'h' || sent.substr(0, 4) == "PMdv") << sent.substr(0, 4);
  }
  EXPECT_LT(received, forgedBytes);
  bool playerUpdated = false;
  for (const std::string& sent : s.SentTo(player)) playerUpdated |= sent[2] == 'm';
  EXPECT_TRUE(playerUpdated);
}

}  // namespace
