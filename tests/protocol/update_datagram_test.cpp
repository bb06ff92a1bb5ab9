// The state update: values, coordinates, records, sequence bytes.
#include "protocol/update_datagram.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/test_game.h"

namespace {

TEST(CoordBytesTest, RangeLetterAndByte) {
  struct Case { int v; uint8_t letter, byte; } cases[] = {
      {0, 'l', 1}, {254, 'l', 255}, {255, 'm', 0}, {300, 'm', 45}, {510, 'm', 255},
      // Positions a fireball can reach beyond the rim are sent at the edge.
      {-9, 'l', 1}, {519, 'm', 255}, {529, 'm', 255}, {640, 'm', 255}};
  for (auto c : cases) {
    uint8_t b[2];
    PutCoord(b, c.v);
    EXPECT_EQ(b[0], c.letter) << c.v;
    EXPECT_EQ(b[1], c.byte) << c.v;
    EXPECT_EQ(GetCoord(b), std::clamp(c.v, 0, 510)) << c.v;
  }
  uint8_t other[2] = {'x', 10};  // any letter but "l" means the upper range
  EXPECT_EQ(GetCoord(other), 265);
  EXPECT_EQ(PutValue(255), 0);
  EXPECT_EQ(GetValue(0), 255);
}

GameState Sample() {
  GameState g;
  for (int i = 0; i < kSlotCount; ++i) {
    PlayerSlot& p = g.Players[i];
    p.Kind = i == 2 ? KindInternet : KindComputer;
    p.Active = i < 6;
    char name[16];
    std::snprintf(name, sizeof name, "Comp %d", i + 1);
    SetPlayerName(p, name);
    p.X = 40 + 40 * i;
    p.Y = 480 - 20 * i;
    p.Dir = 'u';
    p.WantDir = 'r';
    p.Life = Exploding;
    p.Energy = 70;
    p.Frags = 255;
    p.Shield = 1;
  }
  SetPlayerName(g.Players[2], "EightChr");
  g.Fireballs[1] = Fireball{FireFlying, 300, 254, DirDown, 0, 0, 0};
  g.Fireballs[7] = Fireball{FireExploding, -9, 300, DirLeft, 0, 0, 0};
  return g;
}

TEST(UpdateDatagramTest, RecordsByteForByte) {
  GameState g = Sample();
  UpdateDatagram u;
  BuildUpdateDatagram(g, u);
  EXPECT_EQ(std::string(u.begin(), u.begin() + 3), "PMm");
  const uint8_t* r3 = &u[3 + 21 * 3];  // slot 3: "Comp 4" at (160, 420)
  const uint8_t want3[21] = {4, 'c', 'l', 161, 'm', 165, 'u' + 1, 'r' + 1, 4, '1', 71, 0, 2,
                             'C', 'o', 'm', 'p', ' ', '4', 0, 0};
  EXPECT_EQ(std::memcmp(r3, want3, 21), 0);
  const uint8_t* r2 = &u[3 + 21 * 2];
  EXPECT_EQ(r2[1], 'p');
  EXPECT_EQ(std::string(r2 + 13, r2 + 21), "EightChr");  // no terminator
  EXPECT_EQ(u[3 + 21 * 7 + 9], '0');
  const uint8_t* f1 = &u[171 + 6];
  const uint8_t wantF1[6] = {'f' + 1, 'm', 45, 'l', 255, 'd' + 1};
  EXPECT_EQ(std::memcmp(f1, wantF1, 6), 0);
  // The last record stops after its y range letter: byte 217 is the sequence.
  const uint8_t* f7 = &u[171 + 42];
  const uint8_t wantF7[4] = {'e' + 1, 'l', 1, 'm'};
  EXPECT_EQ(std::memcmp(f7, wantF7, 4), 0);
  EXPECT_EQ(u[0 + 3], 1);  // slot numbers
}

TEST(UpdateDatagramTest, RecipientCopyAndSequence) {
  GameState g = Sample();
  UpdateDatagram u;
  BuildUpdateDatagram(g, u);
  UpdateDatagram before = u;
  PlayerSlot& p = g.Players[2];
  p.UpdateSeq = 0;
  uint8_t tag = AddressUpdateTo(u, p, 2);
  EXPECT_EQ(u[3 + 42 + 1], 'y');
  EXPECT_EQ(u[217], 1);
  RestoreTag(u, 2, tag);
  EXPECT_EQ(std::memcmp(u.data(), before.data(), 217), 0);
  AddressUpdateTo(u, p, 2);
  EXPECT_EQ(u[217], 1);  // 1 twice from 0
  AddressUpdateTo(u, p, 2);
  EXPECT_EQ(u[217], 2);
  p.UpdateSeq = 255;
  AddressUpdateTo(u, p, 2);
  EXPECT_EQ(u[217], 255);
  EXPECT_EQ(p.UpdateSeq, 0);  // wraps
}

TEST(UpdateDatagramTest, ParserReadsBackWhatWasBuiltAndRefusesShortInput) {
  GameState g = Sample();
  UpdateDatagram u;
  BuildUpdateDatagram(g, u);
  AddressUpdateTo(u, g.Players[2], 2);
  ParsedUpdate pu;
  ASSERT_TRUE(ParseUpdateDatagram(u.data(), u.size(), &pu));
  for (int i = 0; i < kSlotCount; ++i) {
    const UpdatePlayer& p = pu.Players[i];
    EXPECT_EQ(p.Number, i + 1);
    EXPECT_EQ(p.X, g.Players[i].X);
    EXPECT_EQ(p.Y, g.Players[i].Y);
    EXPECT_EQ(p.Dir, 'u');
    EXPECT_EQ(p.WantDir, 'r');
    EXPECT_EQ(p.Life, Exploding);
    EXPECT_EQ(p.Active, g.Players[i].Active);
    EXPECT_EQ(p.Frags, 255);
    EXPECT_EQ(p.Energy, 70);
    EXPECT_EQ(p.Shield, 1);
    EXPECT_EQ(std::string(p.Name), std::string(g.Players[i].Name).substr(0, 8));
  }
  EXPECT_EQ(pu.Players[2].Tag, 'y');
  EXPECT_EQ(pu.Players[3].Tag, 'c');
  EXPECT_EQ(pu.Fireballs[1].State, 'f');
  EXPECT_EQ(pu.Fireballs[1].X, 300);
  EXPECT_EQ(pu.Fireballs[1].Y, 254);
  EXPECT_EQ(pu.Fireballs[1].Dir, 'd');
  EXPECT_EQ(pu.Fireballs[0].State, 'n');
  EXPECT_EQ(pu.Fireballs[0].Y, 510);  // a parked fireball at 640 arrives at the edge
  EXPECT_EQ(pu.Fireballs[7].State, 'e');
  EXPECT_EQ(pu.Fireballs[7].X, 0);
  EXPECT_FALSE(pu.Fireballs[7].HasYAndDir);
  EXPECT_EQ(pu.Seq, 1);
  for (size_t n = 0; n < kUpdateLength; ++n) {
    ParsedUpdate none;
    none.Seq = 99;
    EXPECT_FALSE(ParseUpdateDatagram(u.data(), n, &none)) << n;
    EXPECT_EQ(none.Seq, 99);
  }
}

}  // namespace
