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

// Which cuts of `full` the parser accepts, as "0"/"1" per length 0..size.
// Each cut sits in a buffer of exactly its size, so an overread shows.
string Acceptance(const string& full, const std::function<bool(const uint8_t*, size_t)>& parse) {
  string out;
  for (size_t n = 0; n <= full.size(); ++n) {
    std::vector<uint8_t> d(full.begin(), full.begin() + n);
    out += parse(d.data(), n) ? '1' : '0';
  }
  return out;
}
string From(size_t min, const string& full) { return string(min, '0') + string(full.size() + 1 - min, '1'); }

TEST(DatagramParseTest, ShortOrWrongInputIsRefusedOrReadOnlyAsFarAsItCame) {
  const string join = "PMc10 - I wanna play!\r\n", accept = Built([](B b) { BuildAccept(b, 60); }),
               denial = Built([](B b) { BuildDenial(b, 'f'); }), map = Built([](B b) { BuildMap(b, TileMap{}); }),
               timeout = Built(BuildTimeoutNotice);
  uint8_t key = 0;
  int tick = 0;
  char reason = 0, text[80];
  TileMap tiles{};
  EXPECT_EQ(Acceptance("PMx", [](auto d, size_t n) { return DatagramType(d, n) != 0; }), "0001");
  EXPECT_EQ(Acceptance("PMgu", [&](auto d, size_t n) { return ParseKey(d, n, &key); }), "00001");
  EXPECT_EQ(Acceptance(join, JoinVersionMatches), From(5, join));  // the rest is not examined
  EXPECT_EQ(Acceptance(accept, [&](auto d, size_t n) { return ParseAccept(d, n, &tick); }), From(5, accept));
  EXPECT_EQ(Acceptance(denial, [&](auto d, size_t n) { return ParseDenial(d, n, &reason, text, sizeof text); }),
            From(4, denial));
  // A refused map leaves the tiles alone.
  auto parseMap = [&](auto d, size_t n) {
    tiles.fill(7);
    return ParseMap(d, n, &tiles) || tiles[0] != 7;
  };
  EXPECT_EQ(Acceptance(map, parseMap), From(199, map));
  EXPECT_EQ(Acceptance(timeout, IsTimeoutNotice), From(4, timeout));
  // The last call of each read the whole datagram.
  EXPECT_EQ(key, 'u');
  EXPECT_EQ(tick, 60);
  EXPECT_EQ(reason, 'f');
  EXPECT_EQ(tiles, TileMap{});
  EXPECT_EQ(text, denial.substr(4));
  ASSERT_TRUE(ParseDenial(U(denial), 10, &reason, text, sizeof text));
  EXPECT_STREQ(text, " - Sor");

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
  EXPECT_EQ(DatagramType(U("PMx"), 3), 'x');
  EXPECT_EQ(DatagramType(U("QMx"), 3), 0);
  EXPECT_FALSE(JoinVersionMatches(U("PMc11"), 5));
  EXPECT_FALSE(JoinVersionMatches(U("PMc00"), 5));
  EXPECT_FALSE(ParseAccept(U("PMdv - no"), 9, &tick));
  EXPECT_FALSE(IsTimeoutNotice(kLeavingDatagram, kLeavingLength));
  string odd = map;
  odd[3] = 0;  // codes outside 1..11 read as a plain wall
  odd[4] = static_cast<char>(200);
  ASSERT_TRUE(ParseMap(U(odd), odd.size(), &tiles));
  EXPECT_EQ(tiles[0], 1);
  EXPECT_EQ(tiles[1], 1);
  EXPECT_EQ(tiles[2], 0);
}

}  // namespace
