// Every datagram's bytes, and every parser fed short input.
#include "protocol/datagrams.h"

#include <gtest/gtest.h>

#include <string>

#include "protocol/update_datagram.h"

namespace {

std::string Bytes(const DatagramBuffer& b) { return std::string(b.bytes.begin(), b.bytes.begin() + b.len); }
const uint8_t* U(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

TEST(DatagramBytesTest, ClientDatagrams) {
  DatagramBuffer b;
  BuildJoinRequest(b);
  EXPECT_EQ(Bytes(b), "PMc10 - I wanna play!\r\n");
  EXPECT_EQ(b.len, 23u);
  BuildMapRequest(b);
  EXPECT_EQ(Bytes(b), "PMf - I need the map\r\n");
  EXPECT_EQ(b.len, 22u);
  BuildKey(b, 'r');
  EXPECT_EQ(Bytes(b), "PMgr - Key Signature");
  EXPECT_EQ(b.len, 20u);
  BuildName(b, "Alice");
  EXPECT_EQ(Bytes(b), std::string("PMnAlice\0", 9));
  BuildName(b, "TooLongNickname");
  EXPECT_EQ(Bytes(b), std::string("PMnTooLongN\0", 12));
  BuildChatLine(b, "hello");
  EXPECT_EQ(Bytes(b), std::string("PMthello\0", 9));
  BuildChatLine(b, "123456789012345678901234567890");
  EXPECT_EQ(b.len, 3u + 26 + 1);
  BuildLeaving(b);
  EXPECT_EQ(Bytes(b), "PMs - I am shutting down, ta ta...");
  EXPECT_EQ(b.len, 34u);
}

TEST(DatagramBytesTest, ServerDatagrams) {
  DatagramBuffer b;
  BuildAccept(b, 40);
  ASSERT_EQ(b.len, 100u);
  std::string accept = Bytes(b);
  EXPECT_EQ(accept.substr(0, 4), "PMok");
  EXPECT_EQ(accept[4], 40);
  EXPECT_EQ(accept.substr(5, 71),
            " - You have been accepted, you can now request topography and updates\r\n");
  EXPECT_EQ(accept.substr(76), std::string(24, '\0'));
  BuildAccept(b, 0x13C);  // only the low byte travels
  EXPECT_EQ(b.bytes[4], 0x3C);

  BuildDenial(b, 'a');
  EXPECT_EQ(Bytes(b), "PMda - There already is a connection from your address\r\n");
  BuildDenial(b, 'f');
  EXPECT_EQ(Bytes(b), "PMdf - Sorry, This server is full, try again later\r\n");
  BuildDenial(b, 'v');
  EXPECT_EQ(Bytes(b), "PMdv - Sorry, Client/Server versions don't match\r\n");
  BuildDenial(b, 'b');
  EXPECT_EQ(Bytes(b), "PMdb - Your computer address has been banned from this server\r\n");
  BuildDenial(b, 'x');
  EXPECT_EQ(b.len, 0u);

  TileMap tiles{};
  tiles[0] = 10;
  tiles[195] = 3;
  BuildMap(b, tiles);
  ASSERT_EQ(b.len, 199u);
  EXPECT_EQ(Bytes(b).substr(0, 3), "PMf");
  EXPECT_EQ(b.bytes[3], 11);
  EXPECT_EQ(b.bytes[4], 1);
  EXPECT_EQ(b.bytes[198], 4);

  BuildMapNotice(b);
  EXPECT_EQ(Bytes(b), "PMf");
  BuildKick(b);
  EXPECT_EQ(Bytes(b), "PMk");
  BuildTimeoutNotice(b);
  ASSERT_EQ(b.len, 255u);
  EXPECT_EQ(Bytes(b), std::string("PMst - You have timed out") + std::string(230, '\0'));
}

TEST(DatagramParseTest, HeaderAndKey) {
  EXPECT_EQ(DatagramType(U("PMx"), 3), 'x');
  EXPECT_EQ(DatagramType(U("PMx"), 2), 0);
  EXPECT_EQ(DatagramType(U("QMx"), 3), 0);
  EXPECT_EQ(DatagramType(nullptr, 0), 0);
  uint8_t key = 0;
  EXPECT_FALSE(ParseKey(U("PMg"), 3, &key));
  EXPECT_TRUE(ParseKey(U("PMgu"), 4, &key));
  EXPECT_EQ(key, 'u');
}

TEST(DatagramParseTest, JoinVersion) {
  std::string join = "PMc10 - I wanna play!\r\n";
  EXPECT_TRUE(JoinVersionMatches(U(join), join.size()));
  EXPECT_TRUE(JoinVersionMatches(U(join), 5));  // the rest is not examined
  for (size_t n = 0; n < 5; ++n) EXPECT_FALSE(JoinVersionMatches(U(join), n)) << n;
  EXPECT_FALSE(JoinVersionMatches(U("PMc11"), 5));
  EXPECT_FALSE(JoinVersionMatches(U("PMc00"), 5));
}

TEST(DatagramParseTest, TextFieldsStopAtTheTerminatorTheEndOrTheLimit) {
  char out[12];
  std::string name("PMnAlice\0junk", 13);
  ParseTextField(U(name), name.size(), out, 11);
  EXPECT_STREQ(out, "Alice");
  for (size_t n = 0; n <= 8; ++n) {  // every truncation reads only what came
    ParseTextField(U(name), n, out, 11);
    EXPECT_EQ(std::string(out), n <= 3 ? "" : name.substr(3, n - 3)) << n;
  }
  std::string longer = "PMnABCDEFGHIJKLMNOP";
  ParseTextField(U(longer), longer.size(), out, 11);
  EXPECT_STREQ(out, "ABCDEFGHIJK");
}

TEST(DatagramParseTest, AcceptAndDenial) {
  DatagramBuffer b;
  BuildAccept(b, 60);
  int tick = 0;
  EXPECT_TRUE(ParseAccept(b.data(), b.len, &tick));
  EXPECT_EQ(tick, 60);
  for (size_t n = 0; n < 5; ++n) EXPECT_FALSE(ParseAccept(b.data(), n, &tick)) << n;
  EXPECT_FALSE(ParseAccept(U("PMdv - no"), 9, &tick));

  BuildDenial(b, 'f');
  char reason = 0;
  char text[80];
  ASSERT_TRUE(ParseDenial(b.data(), b.len, &reason, text, sizeof text));
  EXPECT_EQ(reason, 'f');
  EXPECT_STREQ(text, " - Sorry, This server is full, try again later\r\n");
  ASSERT_TRUE(ParseDenial(b.data(), 10, &reason, text, sizeof text));
  EXPECT_STREQ(text, " - Sor");
  ASSERT_TRUE(ParseDenial(b.data(), b.len, &reason, text, 5));
  EXPECT_STREQ(text, " - S");
  EXPECT_FALSE(ParseDenial(b.data(), 3, &reason, text, sizeof text));
}

TEST(DatagramParseTest, MapNeedsAllItsBytesAndReadsOddCodesAsWall) {
  TileMap tiles{};
  for (int i = 0; i < kMapCells; ++i) tiles[i] = static_cast<uint8_t>(i % 11);
  DatagramBuffer b;
  BuildMap(b, tiles);
  TileMap back{};
  ASSERT_TRUE(ParseMap(b.data(), b.len, &back));
  EXPECT_EQ(back, tiles);
  TileMap untouched{};
  untouched.fill(7);
  EXPECT_FALSE(ParseMap(b.data(), 198, &untouched));
  EXPECT_FALSE(ParseMap(b.data(), 3, &untouched));  // the notice is not a map
  EXPECT_EQ(untouched[0], 7);
  b.bytes[3] = 0;
  b.bytes[4] = 200;
  ASSERT_TRUE(ParseMap(b.data(), b.len, &back));
  EXPECT_EQ(back[0], 1);
  EXPECT_EQ(back[1], 1);
}

TEST(DatagramParseTest, TimeoutNoticeIsAnSWithT) {
  DatagramBuffer b;
  BuildTimeoutNotice(b);
  EXPECT_TRUE(IsTimeoutNotice(b.data(), b.len));
  EXPECT_TRUE(IsTimeoutNotice(b.data(), 4));
  EXPECT_FALSE(IsTimeoutNotice(b.data(), 3));
  EXPECT_FALSE(IsTimeoutNotice(kLeavingDatagram, kLeavingLength));
}

}  // namespace
