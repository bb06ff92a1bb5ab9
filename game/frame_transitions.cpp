#include "game/frame_transitions.h"

#include "game/game_state.h"

bool ExplosionEndsThisFrame(const GameState& g, const PlayerSlot& p) {
  return p.Life == Exploding && g.FrameCounter == 0;
}

void ParkFireball(Fireball& f) {
  f.State = FireNone;
  f.X = 0;
  f.Y = kParkedY;
  f.DrawX = 0;
  f.DrawY = kParkedY;
}

void ApplyFrameTransitions(GameState& g) {
  for (PlayerSlot& p : g.Players)
    if (p.Active && ExplosionEndsThisFrame(g, p)) p.Life = Dead;
  for (Fireball& f : g.Fireballs)
    if (f.State == FireCleared) ParkFireball(f);
}
