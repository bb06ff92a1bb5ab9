// The energy pass and the fireball pass of the game step.
#include "game/energy_fireball_pass.h"

#include "game/game_state.h"
#include "game/rules.h"

void EnergyPass(GameState& g) {
  for (PlayerSlot& p : g.Players) {
    if (!p.Active || p.Life != Alive) continue;
    if (p.Energy < kFullEnergy && p.Shield == 0) ++p.Energy;
    if (p.Shield) {
      if (p.Energy > 0)
        --p.Energy;
      else
        p.Shield = 0;  // the shield outlasts its energy by one step
    }
  }
}

void FireballPass(GameState& g) {
  for (Fireball& f : g.Fireballs) {
    if (f.State == FireExploding && g.FrameCounter == 0) {
      // Only the drawn position is parked: X, Y keep the place of the
      // explosion, which computer players still shy away from.
      f.State = FireCleared;
      f.DrawX = 0;
      f.DrawY = kParkedY;
    }
    if (f.State != FireFlying) continue;
    switch (f.Dir) {
      case DirDown: f.Y += kFireballSpeed; break;
      case DirLeft: f.X -= kFireballSpeed; break;
      case DirRight: f.X += kFireballSpeed; break;
      case DirUp: f.Y -= kFireballSpeed; break;
      default: f.State = FireNone; break;  // a fireball with no direction fizzles
    }
    // Interior walls do not stop a fireball; only the field limits do.
    if (f.X < kFieldLow || f.X > kFieldHigh || f.Y < kFieldLow || f.Y > kFieldHigh) {
      PlayEffect(g, "explodew.wav");
      f.State = FireExploding;
    }
  }
}
