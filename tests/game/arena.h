// Small helpers for the rules tests: maps and players placed by hand.
#pragma once

#include "game/frame_transitions.h"
#include "game/game_state.h"

// Border of code 1, floor inside.
inline void WalledArena(GameState& g) {
  for (int r = 0; r < kMapSide; ++r)
    for (int c = 0; c < kMapSide; ++c)
      g.Tiles[r * kMapSide + c] = (r == 0 || c == 0 || r == kMapSide - 1 || c == kMapSide - 1);
}

inline void SetTile(GameState& g, int row, int col, uint8_t code) {
  g.Tiles[row * kMapSide + col] = code;
}

// An active, alive player of the given kind at (x, y), standing still.
inline PlayerSlot& Place(GameState& g, int slot, int x, int y, char kind = KindInternet) {
  PlayerSlot& p = g.Players[slot];
  p.Kind = kind;
  p.Active = 1;
  p.Life = Alive;
  p.Number = static_cast<uint8_t>(slot + 1);
  p.X = x;
  p.Y = y;
  p.Dir = p.WantDir = DirStop;
  return p;
}

// What follows a step in the tick: the next frame, then its paint (which
// ends explosions and parks cleared fireballs).
inline void EndFrame(GameState& g) {
  g.FrameCounter = static_cast<uint8_t>((g.FrameCounter + 1) % 8);
  ApplyFrameTransitions(g);
}
