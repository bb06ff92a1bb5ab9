#include "game/spawn.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/test_game.h"
#include "game/arena.h"

namespace {

bool Clear(const GameState& g, int x, int y) {
  for (const PlayerSlot& p : g.Players)
    if (p.Active && p.Life == Alive && std::abs(p.X - x) < 60 && std::abs(p.Y - y) < 60)
      return false;
  return true;
}

TEST(SpawnTest, DrawsColumnThenRowAndSkipsWallsAndCrowdedCells) {
  TestGame t;
  WalledArena(t.g);
  SetTile(t.g, 3, 2, 4);
  Place(t.g, 0, 200, 200);
  // (c 2, r 3) is a wall; (c 5, r 5) is where the player stands; (c 7, r 1)
  // is free.
  t.g.Rng.Script({1, 2, 4, 4, 6, 0});
  FindSpawnPoint(t.g);
  EXPECT_EQ(t.g.SpawnX, 280);
  EXPECT_EQ(t.g.SpawnY, 40);
  EXPECT_EQ(t.g.Rng.ScriptLeft(), 0u);
}

TEST(SpawnTest, SpotsOnAnOpenMapAreAlwaysFreeAndClear) {
  TestGame t(77);
  WalledArena(t.g);
  Place(t.g, 0, 200, 200);
  Place(t.g, 1, 80, 400);
  for (int k = 0; k < 500; ++k) {
    FindSpawnPoint(t.g);
    int c = t.g.SpawnX / 40, r = t.g.SpawnY / 40;
    ASSERT_TRUE(c >= 1 && c <= 11 && r >= 1 && r <= 11);
    ASSERT_EQ(t.g.SpawnX % 40, 0);
    ASSERT_EQ(t.g.Tiles[r * 14 + c], 0);
    ASSERT_TRUE(Clear(t.g, t.g.SpawnX, t.g.SpawnY));
  }
}

TEST(SpawnTest, CrowdedMapFallsBackToTheRoomiestFreeCell) {
  TestGame t;
  for (auto& tile : t.g.Tiles) tile = 1;
  // Three free cells, all near somebody; (1, 9) is the farthest from them.
  SetTile(t.g, 1, 1, 0);
  SetTile(t.g, 5, 5, 0);
  SetTile(t.g, 9, 1, 0);
  Place(t.g, 0, 40, 40);
  Place(t.g, 1, 200, 200);
  Place(t.g, 2, 40, 380);
  Place(t.g, 3, 400, 400).Life = Dead;  // the dead crowd nobody
  FindSpawnPoint(t.g);
  EXPECT_EQ(t.g.SpawnX, 40);
  EXPECT_EQ(t.g.SpawnY, 360);
}

TEST(SpawnTest, MapWithoutFloorInTheSpawnCellsUsesAnyFreeCell) {
  TestGame t;
  for (auto& tile : t.g.Tiles) tile = 1;
  SetTile(t.g, 12, 12, 0);  // the only floor, outside columns and rows 1..11
  FindSpawnPoint(t.g);
  EXPECT_EQ(t.g.SpawnX, 480);
  EXPECT_EQ(t.g.SpawnY, 480);
}

TEST(SpawnTest, MapWithoutAnyFloorStillGivesAnInnerSpot) {
  TestGame t;
  for (auto& tile : t.g.Tiles) tile = 2;
  t.g.SpawnX = t.g.SpawnY = -1;
  FindSpawnPoint(t.g);
  EXPECT_EQ(t.g.SpawnX, 40);
  EXPECT_EQ(t.g.SpawnY, 40);
}

TEST(SpawnTest, FullyCrowdedMapEndsAtAFreeCellNextToNobody) {
  TestGame t;
  WalledArena(t.g);
  for (int r = 7; r <= 11; ++r)
    for (int c = 1; c <= 11; ++c) SetTile(t.g, r, c, 1);
  // Each player crowds the 3 x 3 cells around it: eight of them cover all
  // free cells of rows 1..6.
  int i = 0;
  for (int row : {2, 5})
    for (int col : {2, 5, 8, 11}) Place(t.g, i++, col * 40, row * 40);
  const uint64_t before = t.g.Rng.Draws();
  FindSpawnPoint(t.g);
  EXPECT_GT(t.g.Rng.Draws() - before, 1000u);  // the random search gave up
  const int c = t.g.SpawnX / 40, r = t.g.SpawnY / 40;
  EXPECT_TRUE(c >= 1 && c <= 11 && r >= 1 && r <= 6);
  EXPECT_EQ(t.g.Tiles[r * 14 + c], 0);
  // Not on anybody: one cell away from the nearest player.
  for (const PlayerSlot& p : t.g.Players)
    EXPECT_FALSE(p.X == t.g.SpawnX && p.Y == t.g.SpawnY);
}

}  // namespace
