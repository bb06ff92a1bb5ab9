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
  p.Active = 0;
  LowerShield(t.g, 0);
  EXPECT_EQ(p.Shield, 1);
}

TEST(PlayerCommandsTest, LaunchNeedsFullEnergyAndAFreeFireball) {
  TestGame t;
  PlayerSlot& p = Place(t.g, 0, 200, 160);
  const Fireball& f = t.g.Fireballs[0];
  p.Energy = 69;
  LaunchFireball(t.g, 0);
  EXPECT_EQ(f.State, 'n');
  EXPECT_EQ(p.Energy, 69);

  p.Energy = 70;  // standing still: the fireball flies left from X - 39
  LaunchFireball(t.g, 0);
  EXPECT_EQ(f.State, 'f');
  EXPECT_EQ(f.Dir, 'l');
  EXPECT_EQ(f.X, 161);
  EXPECT_EQ(f.Y, 160);
  EXPECT_EQ(p.Energy, 0);

  p.Energy = 70;  // the last one still flies
  LaunchFireball(t.g, 0);
  EXPECT_EQ(p.Energy, 70);
  t.g.Fireballs[0].State = FireCleared;
  p.Dir = 'd';
  LaunchFireball(t.g, 0);
  EXPECT_EQ(f.Dir, 'd');
  EXPECT_EQ(f.X, 200);
  EXPECT_EQ(f.Y, 199);
}

TEST(PlayerCommandsTest, ReappearOnlyFromDeadWithTheShieldDown) {
  TestGame t;
  WalledArena(t.g);
  PlayerSlot& p = Place(t.g, 0, 200, 200);
  p.Life = Exploding;
  p.Shield = 1;
  Reappear(t.g, 0);
  EXPECT_EQ(p.Life, Exploding);  // not yet
  p.Life = Dead;
  Reappear(t.g, 0);
  EXPECT_EQ(p.Life, Alive);
  EXPECT_EQ(p.Shield, 0);
  EXPECT_EQ(p.X, t.g.SpawnX);
}

}  // namespace
