// The state update: coordinates, records, sequence bytes, parsing.
#include "protocol/update_datagram.h"

#include <gtest/gtest.h>

#include <cstring>
#include <algorithm>
#include <string>
#include <vector>

namespace {

TEST(CoordBytesTest, RangeLetterAndByte) {
  struct Case { int v; uint8_t letter, byte; } cases[] = {
      {0, 'l', 1}, {254, 'l', 255}, {255, 'm', 0}, {300, 'm', 45}, {510, 'm', 255},
      // Positions a fireball can reach beyond the rim are sent at the edge.
      {-9, 'l', 1}, {519, 'm', 255}, {640, 'm', 255}};
  for (auto c : cases) {
    uint8_t b[2];
    PutCoord(b, c.v);
    EXPECT_EQ(b[0], c.letter) << c.v;
    EXPECT_EQ(b[1], c.byte) << c.v;
    EXPECT_EQ(GetCoord(b), std::clamp(c.v, 0, 510)) << c.v;
  }
  uint8_t other[2] = {'x', 10};  // any letter but "l" means the upper range
  EXPECT_EQ(GetCoord(other), 265);
}

TEST(UpdateDatagramTest, BytesSequenceAndParsing) {
  GameState g;
  for (int i = 0; i < kSlotCount; ++i) {
    PlayerSlot& p = g.Players[i];
    p.Kind = i == 2 ? KindInternet : KindComputer;
    p.Active = i < 6;
    SetPlayerName(p, i == 2 ? "EightChr" : ("Comp " + std::to_string(i + 1)).c_str());
    p.X = 40 + 40 * i;
    p.Y = 480 - 20 * i;
    p.Dir = 'u';
    p.WantDir = 'r';
    p.Life = Exploding;
    p.Energy = 70;
    p.Frags = 255;  // travels as 0
    p.Shield = 1;
  }
  g.Fireballs[1] = Fireball{FireFlying, 300, 254, DirDown, 0, 0, 0};
  g.Fireballs[7] = Fireball{FireExploding, -9, 300, DirLeft, 0, 0, 0};
  UpdateDatagram u;
  BuildUpdateDatagram(g, u);
  const UpdateDatagram plain = u;
  PlayerSlot& me = g.Players[2];
  uint8_t tag = AddressUpdateTo(u, me, 2);

  EXPECT_EQ(std::string(u.begin(), u.begin() + 3), "PMm");
  const uint8_t want3[21] = {4, 'c', 'l', 161, 'm', 165, 'u' + 1, 'r' + 1, 4, '1', 71, 0, 2,
                             'C', 'o', 'm', 'p', ' ', '4', 0, 0};  // "Comp 4" at (160, 420)
  EXPECT_EQ(std::memcmp(&u[3 + 21 * 3], want3, 21), 0);
  EXPECT_EQ(u[3 + 21 * 2 + 1], 'y');
  EXPECT_EQ(std::string(&u[3 + 21 * 2 + 13], &u[3 + 21 * 3]), "EightChr");  // no terminator
  EXPECT_EQ(u[3 + 21 * 7 + 9], '0');
  const uint8_t wantF1[6] = {'f' + 1, 'm', 45, 'l', 255, 'd' + 1};
  EXPECT_EQ(std::memcmp(&u[171 + 6], wantF1, 6), 0);
  // The last record stops after its y range letter: byte 217 is the sequence.
  const uint8_t wantF7[5] = {'e' + 1, 'l', 1, 'm', 1};
  EXPECT_EQ(std::memcmp(&u[171 + 42], wantF7, 5), 0);

  ParsedUpdate pu;
  ASSERT_TRUE(ParseUpdateDatagram(u.data(), u.size(), &pu));
  for (int i = 0; i < kSlotCount; ++i) {
    const UpdatePlayer& p = pu.Players[i];
    EXPECT_EQ(p.Number, i + 1);
    EXPECT_EQ(p.Tag, i == 2 ? 'y' : 'c');
    EXPECT_EQ(p.X, g.Players[i].X);
    EXPECT_EQ(p.Y, g.Players[i].Y);
    EXPECT_EQ(p.Active, g.Players[i].Active);
    EXPECT_STREQ(p.Name, g.Players[i].Name);
  }
  const UpdatePlayer& p3 = pu.Players[3];
  EXPECT_EQ(std::vector<int>({p3.Dir, p3.WantDir, p3.Life, p3.Frags, p3.Energy, p3.Shield}),
            std::vector<int>({'u', 'r', Exploding, 255, 70, 1}));
  const UpdateFireball& f1 = pu.Fireballs[1];
  EXPECT_EQ(std::vector<int>({f1.State, f1.X, f1.Y, f1.Dir}), std::vector<int>({'f', 300, 254, 'd'}));
  EXPECT_EQ(pu.Fireballs[0].Y, 510);  // parked at 640, arrives at the edge
  EXPECT_EQ(pu.Fireballs[7].X, 0);
  EXPECT_FALSE(pu.Fireballs[7].HasYAndDir);
  for (size_t n = 0; n < kUpdateLength; ++n) {
    std::vector<uint8_t> cut(u.begin(), u.begin() + n);
    ParsedUpdate none;
    none.Seq = 99;
    EXPECT_FALSE(ParseUpdateDatagram(cut.data(), n, &none)) << n;
    EXPECT_EQ(none.Seq, 99);
  }

  // Sequence 0 travels as 1, and so does the next one; 255 wraps to 0.
  EXPECT_EQ(u[217], 1);
  RestoreTag(u, 2, tag);
  EXPECT_EQ(std::memcmp(u.data(), plain.data(), 217), 0);
  AddressUpdateTo(u, me, 2);
  EXPECT_EQ(u[217], 1);
  AddressUpdateTo(u, me, 2);
  EXPECT_EQ(u[217], 2);
  me.UpdateSeq = 255;
  AddressUpdateTo(u, me, 2);
  EXPECT_EQ(u[217], 255);
  EXPECT_EQ(me.UpdateSeq, 0);
}

}  // namespace
