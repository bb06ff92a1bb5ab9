// Every fixed datagram's bytes, and every parser fed short input.
#include "protocol/datagrams.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "protocol/board_datagram.h"

namespace {

using std::string;
using B = DatagramBuffer&;
string Built(const std::function<void(B)>& build) {
  DatagramBuffer b;
  build(b);
  return string(b.bytes.begin(), b.bytes.begin() + b.len);
}
const uint8_t* U(const string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

TEST(DatagramBytesTest, EveryDatagramByteForByte) {
  TileMap tiles{};
  tiles[0] = 10;
  tiles[195] = 3;
  string map = "PMf" + string(196, 1);
  map[3] = 11;
  map[198] = 4;
  ChatBoard board;
  std::strcpy(board.Lines[7], "\x01\x02\x03hi");
  auto bd = BuildBoardDatagram(board);
  string boardWant = "PMt" + string(252, 0);
  boardWant.replace(3 + 30 * 7, 5, "\x01\x02\x03hi");
  const string accept = "PMok\x28 - You have been accepted, you can now request topography and updates\r\n" +
                        string(24, 0);
  const string cases[][2] = {
      {Built(BuildJoinRequest), "PMc10 - I wanna play!\r\n"},
      {Built([](B b) { BuildAccept(b, 40); }), accept},
      {Built([](B b) { BuildAccept(b, 0x13C); }).substr(4, 1), "\x3C"},  // only the low byte
      {Built([](B b) { BuildDenial(b, 'a'); }), "PMda - There already is a connection from your address\r\n"},
      {Built([](B b) { BuildDenial(b, 'f'); }), "PMdf - Sorry, This server is full, try again later\r\n"},
      {Built([](B b) { BuildDenial(b, 'v'); }), "PMdv - Sorry, Client/Server versions don't match\r\n"},
      {Built([](B b) { BuildDenial(b, 'b'); }), "PMdb - Your computer address has been banned from this server\r\n"},
      {Built([](B b) { BuildDenial(b, 'x'); }), ""},
      {Built(BuildMapRequest), "PMf - I need the map\r\n"},
      {Built([&](B b) { BuildMap(b, tiles); }), map},
      {Built(BuildMapNotice), "PMf"},
      {Built([](B b) { BuildKey(b, 'r'); }), "PMgr - Key Signature"},
      {Built([](B b) { BuildName(b, "Alice"); }), string("PMnAlice\0", 9)},
      {Built([](B b) { BuildName(b, "TooLongNickname"); }), string("PMnTooLongN\0", 12)},
      {Built([](B b) { BuildChatLine(b, "hello"); }), string("PMthello\0", 9)},
      {Built([](B b) { BuildChatLine(b, "123456789012345678901234567890"); }),
       string("PMt12345678901234567890123456\0", 30)},
      {string(bd.begin(), bd.end()), boardWant},
      {Built(BuildKick), "PMk"},
      {Built(BuildLeaving), "PMs - I am shutting down, ta ta..."},
      {Built(BuildTimeoutNotice), "PMst - You have timed out" + string(230, 0)},
  };
  EXPECT_EQ(accept.size(), 100u);
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i][0], cases[i][1]) << "case " << i;
}

TEST(DatagramParseTest, ShortOrWrongInputIsRefusedOrReadOnlyAsFarAsItCame) {
  const string denial = Built([](B b) { BuildDenial(b, 'f'); });
  uint8_t key = 0;
  int tick = 0;
  char reason = 0, text[80];
  TileMap tiles{};
  struct Case {
    string full;
    size_t min;  // the shortest length accepted
    std::function<bool(const uint8_t*, size_t)> parse;
  } cases[] = {
      // Each returns whether the parser accepted; what it read must then be right.
      {"PMx", 3,
       [](const uint8_t* d, size_t n) {
         char type = DatagramType(d, n);
         EXPECT_TRUE(type == 0 || type == 'x');
         return type != 0;
       }},
      {"PMgu", 4,
       [&](const uint8_t* d, size_t n) {
         bool ok = ParseKey(d, n, &key);
         EXPECT_TRUE(!ok || key == 'u');
         return ok;
       }},
      {"PMc10 - I wanna play!\r\n", 5, JoinVersionMatches},  // the rest is not examined
      {Built([](B b) { BuildAccept(b, 60); }), 5,
       [&](const uint8_t* d, size_t n) {
         bool ok = ParseAccept(d, n, &tick);
         EXPECT_TRUE(!ok || tick == 60);
         return ok;
       }},
      {denial, 4,
       [&](const uint8_t* d, size_t n) {
         bool ok = ParseDenial(d, n, &reason, text, sizeof text);
         EXPECT_TRUE(!ok || (reason == 'f' && text == denial.substr(4, n - 4)));
         return ok;
       }},
      // A refused map leaves the tiles alone: true when it wrote anyway.
      {Built([](B b) { BuildMap(b, TileMap{}); }), 199,
       [&](const uint8_t* d, size_t n) {
         tiles.fill(7);
         return ParseMap(d, n, &tiles) ? tiles[0] == 0 : tiles[0] != 7;
       }},
      {Built(BuildTimeoutNotice), 4, IsTimeoutNotice},
  };
  for (auto& c : cases)
    for (size_t n = 0; n <= c.full.size(); ++n) {
      std::vector<uint8_t> d(c.full.begin(), c.full.begin() + n);  // exact size: overreads show
      EXPECT_EQ(c.parse(d.data(), n), n >= c.min) << c.full.substr(0, 3) << " cut to " << n;
    }

  char out[12];
  const string name("PMnAlice\0junk", 13);
  for (size_t n = 0; n <= name.size(); ++n) {
    std::vector<uint8_t> d(name.begin(), name.begin() + n);
    ParseTextField(d.data(), n, out, 11);
    EXPECT_EQ(string(out), n <= 3 ? "" : name.substr(3, std::min<size_t>(n, 8) - 3)) << n;
  }
  ParseTextField(U("PMnABCDEFGHIJKLMNOP"), 19, out, 11);
  EXPECT_STREQ(out, "ABCDEFGHIJK");
  ChatBoard board;
  std::strcpy(board.Lines[7], "line");
  auto bd = BuildBoardDatagram(board);
  for (size_t n = 0; n <= bd.size(); ++n) {
    std::vector<uint8_t> d(bd.begin(), bd.begin() + n);
    EXPECT_EQ(string(ParseBoardDatagram(d.data(), n).Lines[7]), string("line").substr(0, n - std::min<size_t>(n, 213)));
  }
  ASSERT_TRUE(ParseDenial(U(denial), denial.size(), &reason, text, 5));
  EXPECT_STREQ(text, " - S");

  // Wrong content.
  EXPECT_EQ(DatagramType(U("QMx"), 3), 0);
  EXPECT_FALSE(JoinVersionMatches(U("PMc11"), 5));
  EXPECT_FALSE(JoinVersionMatches(U("PMc00"), 5));
  EXPECT_FALSE(ParseAccept(U("PMdv - no"), 9, &tick));
  EXPECT_FALSE(IsTimeoutNotice(kLeavingDatagram, kLeavingLength));
  string map = Built([](B b) { BuildMap(b, TileMap{}); });
  map[3] = 0;  // codes outside 1..11 read as a plain wall
  map[4] = static_cast<char>(200);
  ASSERT_TRUE(ParseMap(U(map), map.size(), &tiles));
  EXPECT_EQ(tiles[0], 1);
  EXPECT_EQ(tiles[1], 1);
  EXPECT_EQ(tiles[2], 0);
}

}  // namespace
