#include "game/player_commands.h"

#include <gtest/gtest.h>

#include "support/test_game.h"
#include "game/arena.h"

namespace {

TEST(PlayerCommandsTest, ShieldNeedsEnergyAndALivingActivePlayer) {
  TestGame t;
  PlayerSlot& p = Place(t.g, 0, 200, 200);
  RaiseShield(t.g, 0);
  EXPECT_EQ(p.Shield, 0);  // no energy
  p.Energy = 1;
  RaiseShield(t.g, 0);
  EXPECT_EQ(p.Shield, 1);
  p.Life = Exploding;
  LowerShield(t.g, 0);
  EXPECT_EQ(p.Shield, 1);  // the dead keep what they had
  p.Life = Alive;
  LowerShield(t.g, 0);
  EXPECT_EQ(p.Shield, 0);
  p.Active = 0;
  RaiseShield(t.g, 0);
  EXPECT_EQ(p.Shield, 0);
}

TEST(PlayerCommandsTest, LaunchNeedsExactlyFullEnergy) {
  TestGame t;
  PlayerSlot& p = Place(t.g, 0, 200, 160);
  p.Energy = 69;
  LaunchFireball(t.g, 0);
  EXPECT_EQ(t.g.Fireballs[0].State, 'n');
  EXPECT_EQ(p.Energy, 69);

  p.Energy = 70;  // standing still: the fireball flies left
  LaunchFireball(t.g, 0);
  const Fireball& f = t.g.Fireballs[0];
  EXPECT_EQ(f.State, 'f');
  EXPECT_EQ(f.Dir, 'l');
  EXPECT_EQ(f.X, 161);
  EXPECT_EQ(f.Y, 160);
  EXPECT_EQ(p.Energy, 0);
}

TEST(PlayerCommandsTest, LaunchStartsAheadAndWaitsForTheLastFireball) {
  struct Case {
    int dir, x, y;
  } cases[] = {{'u', 200, 121}, {'d', 200, 199}, {'r', 239, 160}};
  for (const Case& c : cases) {
    TestGame t;
    PlayerSlot& p = Place(t.g, 4, 200, 160);
    p.Dir = c.dir;
    p.Energy = 70;
    LaunchFireball(t.g, 4);
    EXPECT_EQ(t.g.Fireballs[4].Dir, c.dir);
    EXPECT_EQ(t.g.Fireballs[4].X, c.x);
    EXPECT_EQ(t.g.Fireballs[4].Y, c.y);
  }
  TestGame t;
  PlayerSlot& p = Place(t.g, 0, 200, 160);
  for (char busy : {FireFlying, FireExploding}) {
    t.g.Fireballs[0].State = busy;
    p.Energy = 70;
    LaunchFireball(t.g, 0);
    EXPECT_EQ(p.Energy, 70);
    EXPECT_EQ(t.g.Fireballs[0].State, busy);
  }
  t.g.Fireballs[0].State = FireCleared;
  LaunchFireball(t.g, 0);
  EXPECT_EQ(t.g.Fireballs[0].State, 'f');
}

TEST(PlayerCommandsTest, ReappearOnlyFromDeadAtAFreeSpot) {
  TestGame t;
  WalledArena(t.g);
  PlayerSlot& p = Place(t.g, 0, 200, 200);
  p.Life = Exploding;
  p.Shield = 1;
  Reappear(t.g, 0);
  EXPECT_EQ(p.Life, Exploding);  // still exploding: not yet
  p.Life = Dead;
  Reappear(t.g, 0);
  EXPECT_EQ(p.Life, Alive);
  EXPECT_EQ(p.Shield, 0);
  EXPECT_EQ(p.X, t.g.SpawnX);
  EXPECT_EQ(p.Y, t.g.SpawnY);
  EXPECT_EQ(t.g.Tiles[p.Y / 40 * 14 + p.X / 40], 0);
}

TEST(PlayerCommandsTest, WantedDirectionTakesAnyKeyWhileAlive) {
  TestGame t;
  PlayerSlot& p = Place(t.g, 0, 200, 200);
  SetWantDir(t.g, 0, 'r');
  EXPECT_EQ(p.WantDir, 'r');
  SetWantDir(t.g, 0, 'z');  // odd codes are stored and later ignored
  EXPECT_EQ(p.WantDir, 'z');
  p.Life = Dead;
  SetWantDir(t.g, 0, 'u');
  EXPECT_EQ(p.WantDir, 'z');
}

}  // namespace
