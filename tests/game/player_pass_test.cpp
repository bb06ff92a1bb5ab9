#include <gtest/gtest.h>

#include "game/rules.h"
#include "support/test_game.h"
#include "game/arena.h"

namespace {

TEST(PlayerPassTest, StandingPlayerStaysPut) {
  TestGame t;
  WalledArena(t.g);
  PlayerSlot& p = Place(t.g, 0, 200, 200);
  PlayerPass(t.g);
  EXPECT_EQ(p.X, 200);
  EXPECT_EQ(p.Y, 200);
  EXPECT_EQ(p.Dir, 's');
  EXPECT_EQ(p.PrevX, 200);
}

TEST(PlayerPassTest, MovesFourPixelsTheWantedWayOnceTurned) {
  TestGame t;
  WalledArena(t.g);
  PlayerSlot& p = Place(t.g, 0, 200, 200);
  p.WantDir = 'd';
  PlayerPass(t.g);
  EXPECT_EQ(p.Dir, 'd');
  EXPECT_EQ(p.Y, 204);
  EXPECT_EQ(p.PrevY, 200);
  EXPECT_EQ(p.WantDir, 'd');  // kept while moving
  PlayerPass(t.g);
  EXPECT_EQ(p.Y, 208);
}

TEST(PlayerPassTest, StationaryPlayerFacingAWallTurnsThenStops) {
  TestGame t;
  WalledArena(t.g);
  SetTile(t.g, 1, 2, 3);  // wall right of the cell (1, 1)
  PlayerSlot& p = Place(t.g, 0, 40, 40);
  p.WantDir = 'r';
  PlayerPass(t.g);  // faces the wall without moving; the wish is spent
  EXPECT_EQ(p.X, 40);
  EXPECT_EQ(p.Dir, 'r');
  EXPECT_EQ(p.WantDir, 's');
  PlayerPass(t.g);  // the wall check stops it
  EXPECT_EQ(p.X, 40);
  EXPECT_EQ(p.Dir, 's');
}

TEST(PlayerPassTest, MovingPlayerTurnsUpAtAWallWhenTheWayUpIsFree) {
  TestGame t;
  WalledArena(t.g);
  SetTile(t.g, 3, 4, 1);  // wall right of the cell (3, 3)
  PlayerSlot& p = Place(t.g, 0, 120, 120);
  p.Dir = 'r';
  p.WantDir = 'u';
  PlayerPass(t.g);
  EXPECT_EQ(p.Dir, 'u');
  EXPECT_EQ(p.X, 120);
  EXPECT_EQ(p.Y, 116);
}

TEST(PlayerPassTest, MovingPlayerBlockedAheadAndAboveDoesNotMove) {
  TestGame t;
  WalledArena(t.g);
  SetTile(t.g, 3, 4, 1);  // ahead
  SetTile(t.g, 2, 3, 1);  // above
  PlayerSlot& p = Place(t.g, 0, 120, 120);
  p.Dir = 'r';
  p.WantDir = 'u';
  PlayerPass(t.g);
  EXPECT_EQ(p.X, 120);
  EXPECT_EQ(p.Y, 120);
  EXPECT_EQ(p.WantDir, 's');
  PlayerPass(t.g);
  PlayerPass(t.g);
  EXPECT_EQ(p.X, 120);
  EXPECT_EQ(p.Y, 120);
  EXPECT_EQ(p.Dir, 's');
}

TEST(PlayerPassTest, WantedTurnWaitsUntilTheSideIsClear) {
  TestGame t;
  WalledArena(t.g);
  SetTile(t.g, 2, 3, 1);  // above the cell (3, 3), the cell (2, 4) stays free
  PlayerSlot& p = Place(t.g, 0, 116, 120);
  p.Dir = 'r';
  p.WantDir = 'u';
  // Half over column 3, whose top is walled: keeps going right.
  for (int k = 0; k < 11; ++k) PlayerPass(t.g);
  EXPECT_EQ(p.Dir, 'r');
  EXPECT_EQ(p.X, 160);
  PlayerPass(t.g);  // now fully under the free cell (2, 4)
  EXPECT_EQ(p.Dir, 'u');
  EXPECT_EQ(p.X, 160);
  EXPECT_EQ(p.Y, 116);
}

TEST(PlayerPassTest, RimStopsPlayersOnAFieldWithoutWalls) {
  struct Case {
    int x, y, dir;
  } cases[] = {{41, 200, 'l'}, {559, 200, 'r'}, {200, 41, 'u'}, {200, 559, 'd'}};
  for (const Case& c : cases) {
    TestGame t;  // all floor: only the rim can stop the player
    PlayerSlot& p = Place(t.g, 0, c.x, c.y);
    p.Dir = p.WantDir = c.dir;
    PlayerPass(t.g);
    EXPECT_EQ(p.X, c.x) << static_cast<char>(c.dir);
    EXPECT_EQ(p.Y, c.y) << static_cast<char>(c.dir);
  }
  TestGame t;  // just inside the rim the player still moves
  PlayerSlot& p = Place(t.g, 0, 42, 200);
  p.Dir = p.WantDir = 'l';
  PlayerPass(t.g);
  EXPECT_EQ(p.X, 38);
}

TEST(PlayerPassTest, OnlyActiveAlivePlayersMove) {
  TestGame t;
  WalledArena(t.g);
  PlayerSlot& dead = Place(t.g, 0, 200, 200);
  dead.Life = Dead;
  dead.Dir = dead.WantDir = 'd';
  PlayerSlot& odd = Place(t.g, 1, 300, 300);
  odd.Active = 2;  // only exactly 1 counts as active here
  odd.Dir = odd.WantDir = 'd';
  PlayerPass(t.g);
  EXPECT_EQ(dead.Y, 200);
  EXPECT_EQ(odd.Y, 300);
}

TEST(EnergyPassTest, RechargesToFullAndDrainsTheShield) {
  TestGame t;
  PlayerSlot& p = Place(t.g, 0, 200, 200);
  p.Energy = 69;
  EnergyPass(t.g);
  EXPECT_EQ(p.Energy, 70);
  EnergyPass(t.g);
  EXPECT_EQ(p.Energy, 70);

  p.Energy = 5;
  p.Shield = 1;
  for (int step = 1; step <= 5; ++step) {
    EnergyPass(t.g);
    EXPECT_EQ(p.Shield, 1) << step;
  }
  EXPECT_EQ(p.Energy, 0);
  EnergyPass(t.g);  // the sixth step
  EXPECT_EQ(p.Shield, 0);
  EXPECT_EQ(p.Energy, 0);
  EnergyPass(t.g);
  EXPECT_EQ(p.Energy, 1);
}

TEST(EnergyPassTest, DeadOrInactivePlayersDoNotRecharge) {
  TestGame t;
  PlayerSlot& dead = Place(t.g, 0, 200, 200);
  dead.Life = Exploding;
  PlayerSlot& gone = Place(t.g, 1, 200, 200);
  gone.Active = 0;
  EnergyPass(t.g);
  EXPECT_EQ(dead.Energy, 0);
  EXPECT_EQ(gone.Energy, 0);
}

}  // namespace
