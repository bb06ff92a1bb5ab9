#include "game/spawn.h"

#include <algorithm>
#include <cstdlib>

#include "game/game_state.h"

namespace {

constexpr int kRandomTries = 2000;
constexpr int kClearance = 60;

bool Crowded(const GameState& g, int x, int y) {
  for (const PlayerSlot& p : g.Players)
    if (p.Active && p.Life == Alive && std::abs(p.X - x) < kClearance &&
        std::abs(p.Y - y) < kClearance)
      return true;
  return false;
}

// Distance from (x, y) to the nearest alive player, on the larger axis.
int RoomAround(const GameState& g, int x, int y) {
  int best = 1 << 30;
  for (const PlayerSlot& p : g.Players)
    if (p.Active && p.Life == Alive) {
      int d = std::max(std::abs(p.X - x), std::abs(p.Y - y));
      if (d < best) best = d;
    }
  return best;
}

// The free cell within [lo, hi] farthest from the alive players; false when
// there is no free cell there.
bool RoomiestCell(const GameState& g, int lo, int hi, int* x, int* y) {
  int bestRoom = -1;
  for (int r = lo; r <= hi; ++r)
    for (int c = lo; c <= hi; ++c) {
      if (g.Tiles[r * kMapSide + c] != 0) continue;
      int room = RoomAround(g, c * kCellSize, r * kCellSize);
      if (room > bestRoom) {
        bestRoom = room;
        *x = c * kCellSize;
        *y = r * kCellSize;
      }
    }
  return bestRoom >= 0;
}

}  // namespace

void FindSpawnPoint(GameState& g) {
  // The usual search: random cells until one is free and uncrowded.
  for (int t = 0; t < kRandomTries; ++t) {
    int c = Random(g) % 11 + 1;
    int r = Random(g) % 11 + 1;
    if (g.Tiles[r * kMapSide + c] != 0) continue;
    int x = c * kCellSize, y = r * kCellSize;
    if (Crowded(g, x, y)) continue;
    g.SpawnX = x;
    g.SpawnY = y;
    return;
  }
  // A map without a free, uncrowded cell would make the random search spin
  // for ever: fall back to the free cell farthest from everybody, then to any
  // free cell at all, and on a map with no floor to the first inner cell.
  int x = kCellSize, y = kCellSize;
  if (!RoomiestCell(g, 1, 11, &x, &y)) RoomiestCell(g, 0, kMapSide - 1, &x, &y);
  g.SpawnX = x;
  g.SpawnY = y;
}
