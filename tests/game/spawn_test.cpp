#include "game/spawn.h"

#include <gtest/gtest.h>

#include "support/test_game.h"
#include "game/arena.h"

namespace {

TEST(SpawnTest, DrawsColumnThenRowAndSkipsWallsAndCrowdedCells) {
  TestGame t;
  WalledArena(t.g);
  SetTile(t.g, 3, 2, 4);
  Place(t.g, 0, 200, 200);
  // (c 2, r 3) is a wall, (c 5, r 5) is taken, (c 7, r 1) is free.
  t.g.Rng.Script({1, 2, 4, 4, 6, 0});
  FindSpawnPoint(t.g);
  EXPECT_EQ(t.g.SpawnX, 280);
  EXPECT_EQ(t.g.SpawnY, 40);
  EXPECT_EQ(t.g.Rng.ScriptLeft(), 0u);
}

TEST(SpawnTest, BoundedSearchFallsBackToTheRoomiestFreeCell) {
  TestGame t;
  WalledArena(t.g);
  for (int r = 7; r <= 11; ++r)
    for (int c = 1; c <= 11; ++c) SetTile(t.g, r, c, 1);
  // Eight players crowd every free cell of rows 1..6.
  int i = 0;
  for (int row : {2, 5})
    for (int col : {2, 5, 8, 11}) Place(t.g, i++, col * 40, row * 40);
  const uint64_t before = t.g.Rng.Draws();
  FindSpawnPoint(t.g);
  EXPECT_GT(t.g.Rng.Draws() - before, 1000u);  // the random search gave up
  const int c = t.g.SpawnX / 40, r = t.g.SpawnY / 40;
  EXPECT_TRUE(c >= 1 && c <= 11 && r >= 1 && r <= 6);
  EXPECT_EQ(t.g.Tiles[r * 14 + c], 0);
  for (const PlayerSlot& p : t.g.Players)
    EXPECT_FALSE(p.X == t.g.SpawnX && p.Y == t.g.SpawnY);
}

TEST(SpawnTest, NoFreeCellInOneToElevenOrNoFloorAtAll) {
  struct Case {
    int floorRow, floorCol, x, y;
  } cases[] = {{12, 12, 480, 480},  // the only floor lies outside 1..11
               {-1, -1, 40, 40}};   // no floor: still an inner spot
  for (const Case& k : cases) {
    TestGame t;
    t.g.Tiles.fill(2);
    if (k.floorRow >= 0) SetTile(t.g, k.floorRow, k.floorCol, 0);
    FindSpawnPoint(t.g);
    EXPECT_EQ(t.g.SpawnX, k.x);
    EXPECT_EQ(t.g.SpawnY, k.y);
  }
}

}  // namespace
