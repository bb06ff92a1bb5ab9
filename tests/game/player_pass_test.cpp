#include <gtest/gtest.h>

#include "game/player_commands.h"
#include "game/energy_fireball_pass.h"
#include "game/player_pass.h"
#include "support/test_game.h"
#include "game/arena.h"

namespace {

struct PlayerPassTest : ::testing::Test {
  TestGame t;
  void SetUp() override { WalledArena(t.g); }
  PlayerSlot& Mover(int x, int y, int dir, int want) {
    PlayerSlot& p = Place(t.g, 0, x, y);
    p.Dir = dir;
    p.WantDir = want;
    return p;
  }
};

TEST_F(PlayerPassTest, StationaryPlayerFacingAWallTurnsThenStops) {
  SetTile(t.g, 1, 2, 3);  // wall right of the cell (1, 1)
  PlayerSlot& p = Mover(40, 40, 's', 'r');
  PlayerPass(t.g);  // faces the wall without moving; the wish is spent
  EXPECT_EQ(p.X, 40);
  EXPECT_EQ(p.Dir, 'r');
  EXPECT_EQ(p.WantDir, 's');
  PlayerPass(t.g);
  EXPECT_EQ(p.X, 40);
  EXPECT_EQ(p.Dir, 's');
}

TEST_F(PlayerPassTest, TurningUpAtAWallOnlyWhereTheWayUpIsFree) {
  SetTile(t.g, 3, 4, 1);  // wall right of the cell (3, 3)
  PlayerSlot& p = Mover(120, 120, 'r', 'u');
  PlayerPass(t.g);
  EXPECT_EQ(p.Dir, 'u');
  EXPECT_EQ(p.X, 120);
  EXPECT_EQ(p.Y, 116);

  SetTile(t.g, 2, 3, 1);  // now blocked above as well
  PlayerSlot& q = Mover(120, 120, 'r', 'u');
  for (int k = 0; k < 3; ++k) PlayerPass(t.g);
  EXPECT_EQ(q.X, 120);
  EXPECT_EQ(q.Y, 120);
  EXPECT_EQ(q.Dir, 's');
}

TEST_F(PlayerPassTest, BlockedDownwardWithTheWantedWayWalledTooStaysPut) {
  SetTile(t.g, 4, 3, 1);  // below the cell (3, 3)
  SetTile(t.g, 3, 4, 1);  // right of it
  PlayerSlot& p = Mover(120, 120, 'd', 'r');
  PlayerPass(t.g);  // the wall below hands over 'r', which is walled as well
  EXPECT_EQ(p.X, 120);
  EXPECT_EQ(p.Y, 120);
}

TEST_F(PlayerPassTest, WantedTurnWaitsUntilTheSideIsClear) {
  SetTile(t.g, 2, 3, 1);  // above the cell (3, 3); (2, 4) stays free
  PlayerSlot& p = Mover(116, 120, 'r', 'u');
  for (int k = 0; k < 11; ++k) PlayerPass(t.g);
  EXPECT_EQ(p.Dir, 'r');
  EXPECT_EQ(p.X, 160);
  PlayerPass(t.g);  // now fully under the free cell (2, 4)
  EXPECT_EQ(p.Dir, 'u');
  EXPECT_EQ(p.Y, 116);
}

TEST(RimTest, RimStopsPlayersOnAFieldWithoutWalls) {
  struct Case {
    int x, y, dir, endX;
  } cases[] = {{41, 200, 'l', 41}, {559, 200, 'r', 559}, {200, 41, 'u', 200},
               {200, 559, 'd', 200}, {42, 200, 'l', 38}};  // the last still moves
  for (const Case& c : cases) {
    TestGame t;  // all floor: only the rim can stop the player
    PlayerSlot& p = Place(t.g, 0, c.x, c.y);
    p.Dir = p.WantDir = c.dir;
    PlayerPass(t.g);
    EXPECT_EQ(p.X, c.endX) << static_cast<char>(c.dir);
    EXPECT_EQ(p.Y, c.y) << static_cast<char>(c.dir);
  }
}

TEST(EnergyPassTest, RechargesToFullAndDrainsTheShield) {
  TestGame t;
  PlayerSlot& p = Place(t.g, 0, 200, 200);
  PlayerSlot& dead = Place(t.g, 1, 300, 300);
  dead.Life = Exploding;
  p.Energy = 69;
  EnergyPass(t.g);
  EnergyPass(t.g);
  EXPECT_EQ(p.Energy, 70);
  EXPECT_EQ(dead.Energy, 0);  // only the living recharge

  p.Energy = 5;
  RaiseShield(t.g, 0);
  for (int step = 1; step <= 5; ++step) {
    EnergyPass(t.g);
    EXPECT_EQ(p.Shield, 1) << step;
  }
  EXPECT_EQ(p.Energy, 0);
  EnergyPass(t.g);  // the sixth step
  EXPECT_EQ(p.Shield, 0);
  EXPECT_EQ(p.Energy, 0);
}

}  // namespace
