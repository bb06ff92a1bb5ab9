#include <gtest/gtest.h>

#include "connection/game_step.h"
#include "game/arena.h"
#include "game/contacts.h"
#include "game/energy_fireball_pass.h"
#include "game/player_pass.h"
#include "support/test_game.h"

namespace {

struct ContactsTest : ::testing::Test {
  TestGame t;
  void SetUp() override {
    WalledArena(t.g);
    t.g.SoundsOn = 1;
    t.g.MaxPlayers = 8;
  }
  std::vector<std::string>& effects() { return t.rec.audio.effects; }
  Fireball& Ball(int slot, char state, int x, int y) {
    Fireball& f = t.g.Fireballs[slot];
    f.State = state;
    f.X = x;
    f.Y = y;
    return f;
  }
};

TEST_F(ContactsTest, UnshieldedPlayersBothDieAndAShieldRunsOver) {
  PlayerSlot& a = Place(t.g, 0, 200, 200);
  PlayerSlot& b = Place(t.g, 1, 230, 210);
  b.Frags = 3;
  b.Dir = b.WantDir = 'l';
  PlayerSlot& shielded = Place(t.g, 2, 400, 400);
  PlayerSlot& victim = Place(t.g, 3, 400, 430);
  shielded.Shield = 1;
  victim.Frags = 2;
  PlayerPass(t.g);
  EXPECT_EQ(a.Life, Exploding);
  EXPECT_EQ(b.Life, Exploding);
  EXPECT_EQ(a.Frags, 0);  // never below zero
  EXPECT_EQ(b.Frags, 2);
  EXPECT_EQ(b.Dir, 's');
  EXPECT_EQ(shielded.Life, Alive);
  EXPECT_EQ(shielded.Frags, 1);
  EXPECT_EQ(victim.Life, Exploding);
  EXPECT_EQ(victim.Frags, 2);  // run over: no frag lost
  // Each pair met once, by its lower slot.
  EXPECT_EQ(effects(), (std::vector<std::string>{"crash.wav", "overrun.wav"}));
}

TEST_F(ContactsTest, TouchAndFireballHitWindows) {
  auto dies = [](int dx, int dy, bool fireball) {
    TestGame u;
    PlayerSlot& a = Place(u.g, 0, 200 + dx, 200 + dy);
    if (fireball) {
      u.g.Fireballs[1].State = FireFlying;
      u.g.Fireballs[1].X = u.g.Fireballs[1].Y = 200;
    } else {
      Place(u.g, 1, 200, 200);
    }
    PlayerContacts(u.g, 0);
    return a.Life == Exploding;
  };
  // Players: 39 one way, 38 the other, on both axes.
  EXPECT_TRUE(dies(38, 0, false));
  EXPECT_FALSE(dies(39, 0, false));
  EXPECT_TRUE(dies(-39, 0, false));
  EXPECT_FALSE(dies(-40, 0, false));
  EXPECT_TRUE(dies(0, 38, false));
  EXPECT_FALSE(dies(0, 39, false));
  EXPECT_TRUE(dies(0, -39, false));
  EXPECT_FALSE(dies(0, -40, false));
  // Fireballs: under 20 on both axes, both off the same way.
  EXPECT_TRUE(dies(19, 19, true));
  EXPECT_TRUE(dies(-19, -19, true));
  EXPECT_FALSE(dies(19, -19, true));
  EXPECT_FALSE(dies(20, 0, true));
  EXPECT_FALSE(dies(0, -20, true));
}

TEST_F(ContactsTest, FireballScoresForItsOwnerButNeverHitsIt) {
  PlayerSlot& a = Place(t.g, 0, 200, 200);
  a.Frags = 2;
  t.g.Players[3].Frags = 6;  // the owner need not be playing any more
  Fireball& f = Ball(3, FireFlying, 210, 205);
  PlayerContacts(t.g, 0);
  EXPECT_EQ(a.Life, Exploding);
  EXPECT_EQ(a.Frags, 2);
  EXPECT_EQ(t.g.Players[3].Frags, 7);
  EXPECT_EQ(f.State, 'e');
  EXPECT_EQ(effects(), std::vector<std::string>{"explode.wav"});

  PlayerSlot& owner = Place(t.g, 2, 300, 300);
  Fireball& own = Ball(2, FireFlying, 300, 300);
  PlayerContacts(t.g, 2);
  EXPECT_EQ(owner.Life, Alive);
  EXPECT_EQ(own.State, 'f');
}

TEST_F(ContactsTest, KillingAPlayerAt255FragsStartsEverybodyOver) {
  t.g.MaxPlayers = 4;
  PlayerSlot& top = Place(t.g, 0, 200, 200);
  top.Frags = 255;
  t.g.Players[1].Frags = 40;
  t.g.Players[2].Frags = 12;
  t.g.Players[5].Frags = 9;  // beyond MaxPlayers: untouched
  Ball(2, FireFlying, 200, 200);
  PlayerContacts(t.g, 0);
  EXPECT_EQ(top.Frags, 1);
  EXPECT_EQ(t.g.Players[1].Frags, 0);
  EXPECT_EQ(t.g.Players[2].Frags, 1);  // reset, then the hit's frag
  EXPECT_EQ(t.g.Players[5].Frags, 9);
}

TEST_F(ContactsTest, FireballFliesOnTheFieldLimitsAndExplodesPastThem) {
  struct Case {
    int x, y, dir;
    char state;  // after one move of 10
  } cases[] = {
      {470, 200, 'r', 'f'}, {480, 200, 'r', 'e'},  // lands on 480, then on 490
      {50, 200, 'l', 'f'},  {40, 200, 'l', 'e'},
      {200, 470, 'd', 'f'}, {200, 480, 'd', 'e'},
      {200, 50, 'u', 'f'},  {200, 40, 'u', 'e'},
  };
  for (const Case& c : cases) {
    Fireball& f = Ball(0, FireFlying, c.x, c.y);
    f.Dir = c.dir;
    FireballPass(t.g);
    EXPECT_EQ(f.State, c.state) << c.x << "," << c.y << " " << static_cast<char>(c.dir);
  }
}

TEST_F(ContactsTest, FireballExplodesAtTheFieldLimitAndIsClearedAtFrameZero) {
  Fireball& f = Ball(0, FireFlying, 480, 200);
  f.Dir = 'r';
  t.g.FrameCounter = 3;
  FireballPass(t.g);
  EXPECT_EQ(f.X, 490);
  EXPECT_EQ(f.State, 'e');
  EXPECT_EQ(effects(), std::vector<std::string>{"explodew.wav"});
  t.g.FrameCounter = 7;
  FireballPass(t.g);
  EXPECT_EQ(f.State, 'e');
  t.g.FrameCounter = 0;
  FireballPass(t.g);
  EXPECT_EQ(f.State, 'c');
  EXPECT_EQ(f.DrawY, 640);
  EXPECT_EQ(f.X, 490);  // the place of the explosion is kept
}

// The full step: an exploding fireball kills until the next FrameCounter 0.
TEST_F(ContactsTest, ExplodingFireballKillsUntilCleared) {
  Fireball& f = Ball(1, FireExploding, 200, 200);
  t.g.FrameCounter = 5;
  PlayerSlot& a = Place(t.g, 0, 200, 200);
  GameStep(t.g);
  EXPECT_EQ(a.Life, Exploding);
  EXPECT_EQ(t.g.Players[1].Frags, 1);
  t.g.FrameCounter = 0;
  PlayerSlot& b = Place(t.g, 2, 200, 200);
  GameStep(t.g);
  EXPECT_EQ(f.State, 'c');
  EXPECT_EQ(b.Life, Alive);
}

TEST_F(ContactsTest, ShieldedPlayerInAnExplosionHearsItEveryStepUnharmed) {
  Ball(1, FireExploding, 205, 210);
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
}

}  // namespace
