// The player pass of the game step: turning, the rim, walls ahead, the move,
// then the contacts (contacts.cpp).
//
// A player's position is the top-left corner of its 40 x 40 square. The cell
// probes look one pixel (turning) or one cell (walls ahead) beyond the square,
// at two points one pixel inside its corners.
#include "game/player_pass.h"

#include "game/contacts.h"
#include "game/game_state.h"
#include "game/rules.h"

namespace {

constexpr int kRimLow = 42;    // a player moving left or up stops below this
constexpr int kRimHigh = 558;  // a player moving right or down stops above this

bool Free(const GameState& g, int x, int y) { return TileAt(g, x, y) == 0; }
bool Wall(const GameState& g, int x, int y) { return TileAt(g, x, y) != 0; }

void Turn(const GameState& g, PlayerSlot& p) {
  const int x = p.X, y = p.Y;
  switch (p.WantDir) {
    case DirRight:
      if (Free(g, x + 40, y + 39) && Free(g, x + 40, y + 1)) p.Dir = DirRight;
      break;
    case DirLeft:
      if (Free(g, x - 1, y + 39) && Free(g, x - 1, y + 1)) p.Dir = DirLeft;
      break;
    case DirDown:
      if (Free(g, x + 39, y + 40) && Free(g, x + 1, y + 40)) p.Dir = DirDown;
      break;
    case DirUp:
      if (Free(g, x + 39, y - 1) && Free(g, x + 1, y - 1)) p.Dir = DirUp;
      break;
    default:
      break;
  }
}

void StopAtRim(PlayerSlot& p) {
  if (p.X < kRimLow && p.Dir == DirLeft) p.Dir = DirStop;
  if (p.X > kRimHigh && p.Dir == DirRight) p.Dir = DirStop;
  if (p.Y < kRimLow && p.Dir == DirUp) p.Dir = DirStop;
  if (p.Y > kRimHigh && p.Dir == DirDown) p.Dir = DirStop;
}

// Facing a wall: stop when the player wants to go on that way, otherwise
// take the wanted direction (which a later check may stop in turn).
void BlockedBy(PlayerSlot& p, int dir) { p.Dir = p.WantDir == dir ? DirStop : p.WantDir; }

void WallsAcross(const GameState& g, PlayerSlot& p) {
  if (p.Dir == DirRight && (Wall(g, p.X + 40, p.Y + 39) || Wall(g, p.X + 40, p.Y + 1)))
    BlockedBy(p, DirRight);
  if (p.Dir == DirLeft && (Wall(g, p.X - 40, p.Y + 39) || Wall(g, p.X - 40, p.Y + 1)))
    BlockedBy(p, DirLeft);
}

void WallsAlong(const GameState& g, PlayerSlot& p) {
  if (p.Dir == DirDown && (Wall(g, p.X + 39, p.Y + 40) || Wall(g, p.X + 1, p.Y + 40)))
    BlockedBy(p, DirDown);
  if (p.Dir == DirUp && (Wall(g, p.X + 39, p.Y - 40) || Wall(g, p.X + 1, p.Y - 40)))
    BlockedBy(p, DirUp);
}

void StopAtWalls(const GameState& g, PlayerSlot& p) {
  if (p.X % kCellSize == 0) WallsAcross(g, p);
  if (p.Y % kCellSize == 0) WallsAlong(g, p);
  // Once more across: the vertical check may have handed over a horizontal
  // wanted direction that runs into a wall.
  if (p.X % kCellSize == 0) WallsAcross(g, p);
}

void Move(PlayerSlot& p) {
  p.PrevX = p.X;
  p.PrevY = p.Y;
  switch (p.Dir) {
    case DirDown: p.Y += kPlayerSpeed; break;
    case DirLeft: p.X -= kPlayerSpeed; break;
    case DirRight: p.X += kPlayerSpeed; break;
    case DirUp: p.Y -= kPlayerSpeed; break;
    default: p.Dir = p.WantDir; break;  // standing: try the wanted way next step
  }
  if (p.X == p.PrevX && p.Y == p.PrevY) p.WantDir = DirStop;
}

}  // namespace

void PlayerPass(GameState& g) {
  for (int i = 0; i < kSlotCount; ++i) {
    PlayerSlot& p = g.Players[i];
    if (p.Active != 1 || p.Life != Alive) continue;
    Turn(g, p);
    StopAtRim(p);
    StopAtWalls(g, p);
    Move(p);
    PlayerContacts(g, i);
  }
}
