#include <gtest/gtest.h>

#include "game/game_step.h"
#include "game/rules.h"
#include "support/test_game.h"
#include "game/arena.h"

namespace {

struct ContactsTest : ::testing::Test {
  TestGame t;
  void SetUp() override {
    WalledArena(t.g);
    t.g.SoundsOn = 1;
    t.g.MaxPlayers = 8;
  }
  std::vector<std::string>& effects() { return t.rec.audio.effects; }
};

TEST_F(ContactsTest, TwoUnshieldedPlayersBothDieAndFragsNeverGoBelowZero) {
  PlayerSlot& a = Place(t.g, 0, 200, 200);
  PlayerSlot& b = Place(t.g, 1, 230, 210);
  a.Frags = 0;
  b.Frags = 3;
  a.Energy = b.Energy = 50;
  b.Dir = b.WantDir = 'l';
  PlayerPass(t.g);
  EXPECT_EQ(a.Life, Exploding);
  EXPECT_EQ(b.Life, Exploding);
  EXPECT_EQ(a.Frags, 0);
  EXPECT_EQ(b.Frags, 2);
  EXPECT_EQ(a.Energy, 0);
  EXPECT_EQ(b.Dir, 's');
  EXPECT_EQ(b.WantDir, 's');
  EXPECT_EQ(effects(), std::vector<std::string>{"crash.wav"});  // met once, by slot 0
}

TEST_F(ContactsTest, ShieldedPlayerRunsOverAnUnshieldedOneAndScores) {
  PlayerSlot& a = Place(t.g, 0, 200, 200);
  PlayerSlot& b = Place(t.g, 1, 200, 230);
  a.Shield = 1;
  a.Frags = 4;
  b.Frags = 2;
  PlayerPass(t.g);
  EXPECT_EQ(a.Life, Alive);
  EXPECT_EQ(a.Frags, 5);
  EXPECT_EQ(b.Life, Exploding);
  EXPECT_EQ(b.Frags, 2);  // run over: no frag lost
  EXPECT_EQ(effects(), std::vector<std::string>{"overrun.wav"});
}

TEST_F(ContactsTest, TwoShieldedPlayersPassThroughSilently) {
  PlayerSlot& a = Place(t.g, 0, 200, 200);
  PlayerSlot& b = Place(t.g, 1, 200, 200);
  a.Shield = b.Shield = 1;
  PlayerPass(t.g);
  EXPECT_EQ(a.Life, Alive);
  EXPECT_EQ(b.Life, Alive);
  EXPECT_TRUE(effects().empty());
}

TEST_F(ContactsTest, TouchWindowIsThirtyNineOneWayAndThirtyEightTheOther) {
  auto touches = [&](int dx, int dy) {
    TestGame u;
    PlayerSlot& a = Place(u.g, 0, 200 + dx, 200 + dy);
    Place(u.g, 1, 200, 200);
    PlayerContacts(u.g, 0);
    return a.Life == Exploding;
  };
  EXPECT_TRUE(touches(38, 0));
  EXPECT_FALSE(touches(39, 0));
  EXPECT_TRUE(touches(-39, 0));
  EXPECT_FALSE(touches(-40, 0));
  EXPECT_TRUE(touches(0, 38));
  EXPECT_FALSE(touches(0, 39));
  EXPECT_TRUE(touches(0, -39));
  EXPECT_FALSE(touches(0, -40));
}

TEST_F(ContactsTest, DeadAndInactivePlayersAreNotMet) {
  PlayerSlot& a = Place(t.g, 0, 200, 200);
  Place(t.g, 1, 200, 200).Life = Dead;
  Place(t.g, 2, 200, 200).Active = 0;
  PlayerPass(t.g);
  EXPECT_EQ(a.Life, Alive);
}

TEST_F(ContactsTest, FireballHitWindowIsTwentyPixels) {
  auto hits = [&](int dx, int dy) {
    TestGame u;
    PlayerSlot& a = Place(u.g, 0, 200, 200);
    Fireball& f = u.g.Fireballs[1];
    f.State = FireFlying;
    f.X = 200 + dx;
    f.Y = 200 + dy;
    PlayerContacts(u.g, 0);
    return a.Life == Exploding;
  };
  EXPECT_TRUE(hits(19, 19));
  EXPECT_FALSE(hits(20, 0));
  EXPECT_TRUE(hits(-19, -19));
  EXPECT_FALSE(hits(0, -20));
  EXPECT_FALSE(hits(19, -19));  // one axis each way is no hit
}

TEST_F(ContactsTest, FireballKillsScoresForItsOwnerAndExplodes) {
  PlayerSlot& a = Place(t.g, 0, 200, 200);
  a.Frags = 2;
  t.g.Players[3].Frags = 6;  // the owner need not be playing any more
  Fireball& f = t.g.Fireballs[3];
  f.State = FireFlying;
  f.X = 210;
  f.Y = 205;
  PlayerContacts(t.g, 0);
  EXPECT_EQ(a.Life, Exploding);
  EXPECT_EQ(a.Frags, 2);
  EXPECT_EQ(t.g.Players[3].Frags, 7);
  EXPECT_EQ(f.State, 'e');
  EXPECT_EQ(effects(), std::vector<std::string>{"explode.wav"});
}

TEST_F(ContactsTest, OwnFireballNeverHits) {
  PlayerSlot& a = Place(t.g, 2, 200, 200);
  Fireball& f = t.g.Fireballs[2];
  f.State = FireFlying;
  f.X = 200;
  f.Y = 200;
  PlayerContacts(t.g, 2);
  EXPECT_EQ(a.Life, Alive);
  EXPECT_EQ(f.State, 'f');
}

TEST_F(ContactsTest, KillingAPlayerAt255FragsStartsEverybodyOver) {
  t.g.MaxPlayers = 4;
  PlayerSlot& top = Place(t.g, 0, 200, 200);
  top.Frags = 255;
  t.g.Players[1].Frags = 40;
  t.g.Players[2].Frags = 12;
  t.g.Players[5].Frags = 9;  // beyond MaxPlayers: untouched
  Fireball& f = t.g.Fireballs[2];
  f.State = FireFlying;
  f.X = 200;
  f.Y = 200;
  PlayerContacts(t.g, 0);
  EXPECT_EQ(top.Frags, 1);
  EXPECT_EQ(t.g.Players[1].Frags, 0);
  EXPECT_EQ(t.g.Players[2].Frags, 1);  // reset, then the hit's frag
  EXPECT_EQ(t.g.Players[5].Frags, 9);
}

TEST_F(ContactsTest, FragsStopAt255AndALossFrom255DoesNotReset) {
  PlayerSlot& a = Place(t.g, 0, 200, 200);
  PlayerSlot& b = Place(t.g, 1, 200, 200);
  a.Shield = 1;
  a.Frags = 255;
  t.g.Players[2].Frags = 7;
  PlayerPass(t.g);
  EXPECT_EQ(a.Frags, 255);  // no 256th frag
  EXPECT_EQ(b.Life, Exploding);

  KillPlayer(t.g, 0, -1);
  EXPECT_EQ(a.Frags, 254);
  EXPECT_EQ(t.g.Players[2].Frags, 7);
  EXPECT_EQ(a.Shield, 1);  // a kill leaves the shield as it was
}

TEST_F(ContactsTest, FireballExplodesAtTheFieldLimitAndIsClearedAtFrameZero) {
  Fireball& f = t.g.Fireballs[0];
  f.State = FireFlying;
  f.Dir = 'r';
  f.X = 480;
  f.Y = 200;
  t.g.FrameCounter = 3;
  FireballPass(t.g);
  EXPECT_EQ(f.X, 490);
  EXPECT_EQ(f.State, 'e');
  EXPECT_EQ(effects(), std::vector<std::string>{"explodew.wav"});
  for (int fc = 4; fc < 8; ++fc) {
    t.g.FrameCounter = fc;
    FireballPass(t.g);
    EXPECT_EQ(f.State, 'e');
    EXPECT_EQ(f.X, 490);
  }
  t.g.FrameCounter = 0;
  FireballPass(t.g);
  EXPECT_EQ(f.State, 'c');
  EXPECT_EQ(f.DrawX, 0);
  EXPECT_EQ(f.DrawY, 640);
  EXPECT_EQ(f.X, 490);  // the place of the explosion is kept
}

TEST_F(ContactsTest, FireballsFlyOverInteriorWallsAndFizzleWithoutDirection) {
  for (int r = 1; r < 13; ++r)
    for (int c = 1; c < 13; ++c) SetTile(t.g, r, c, 5);
  Fireball& f = t.g.Fireballs[0];
  f.State = FireFlying;
  f.Dir = 'u';
  f.X = 200;
  f.Y = 400;
  FireballPass(t.g);
  EXPECT_EQ(f.Y, 390);
  EXPECT_EQ(f.State, 'f');
  f.Dir = 'x';
  FireballPass(t.g);
  EXPECT_EQ(f.State, 'n');
  EXPECT_EQ(f.Y, 390);
}

// The full step, as the tick runs it: an exploding fireball goes on killing
// until it is cleared at the next FrameCounter 0.
TEST_F(ContactsTest, ExplodingFireballKillsUntilCleared) {
  Fireball& f = t.g.Fireballs[1];
  f.State = FireExploding;
  f.X = 200;
  f.Y = 200;
  t.g.FrameCounter = 5;
  PlayerSlot& a = Place(t.g, 0, 200, 200);
  GameStep(t.g);
  EXPECT_EQ(a.Life, Exploding);
  EXPECT_EQ(t.g.Players[1].Frags, 1);

  // A newcomer on the spot after the clearing is safe.
  EndFrame(t.g);
  EndFrame(t.g);
  t.g.FrameCounter = 0;
  PlayerSlot& b = Place(t.g, 2, 200, 200);
  GameStep(t.g);
  EXPECT_EQ(f.State, 'c');
  EXPECT_EQ(b.Life, Alive);
}

TEST_F(ContactsTest, ShieldedPlayerInAnExplosionHearsItEveryStepUnharmed) {
  Fireball& f = t.g.Fireballs[1];
  f.State = FireExploding;
  f.X = 205;
  f.Y = 210;
  PlayerSlot& a = Place(t.g, 0, 200, 200);
  a.Shield = 1;
  a.Energy = 70;
  t.g.FrameCounter = 1;
  int steps = 0;
  do {
    effects().clear();
    GameStep(t.g);
    EndFrame(t.g);
    ++steps;
    EXPECT_EQ(effects(), std::vector<std::string>{"explode.wav"}) << steps;
    EXPECT_EQ(a.Life, Alive);
  } while (t.g.FrameCounter != 0);
  EXPECT_EQ(steps, 7);
  effects().clear();
  GameStep(t.g);  // frame 0: cleared before the players move
  EXPECT_TRUE(effects().empty());
  EXPECT_EQ(t.g.Players[1].Frags, 0);
}

}  // namespace
