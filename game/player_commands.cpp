#include "game/player_commands.h"

#include "game/game_state.h"
#include "game/rules.h"
#include "game/spawn.h"

void RaiseShield(GameState& g, int slot) {
  PlayerSlot& p = g.Players[slot];
  if (p.Life == Alive && p.Active && p.Energy != 0) p.Shield = 1;
}

void LowerShield(GameState& g, int slot) {
  PlayerSlot& p = g.Players[slot];
  if (p.Life == Alive && p.Active) p.Shield = 0;
}

void Reappear(GameState& g, int slot) {
  PlayerSlot& p = g.Players[slot];
  if (p.Life != Dead) return;
  p.Life = Alive;
  p.Shield = 0;
  FindSpawnPoint(g);
  p.X = g.SpawnX;
  p.Y = g.SpawnY;
}

void LaunchFireball(GameState& g, int slot) {
  PlayerSlot& p = g.Players[slot];
  Fireball& f = g.Fireballs[slot];
  if (f.State == FireExploding || f.State == FireFlying || p.Energy != kFullEnergy) return;
  p.Energy = 0;
  f.State = FireFlying;
  f.Dir = p.Dir == DirStop ? DirLeft : p.Dir;
  f.X = p.X;
  f.Y = p.Y;
  switch (f.Dir) {
    case DirUp: f.Y -= kFireballLaunchOffset; break;
    case DirDown: f.Y += kFireballLaunchOffset; break;
    case DirLeft: f.X -= kFireballLaunchOffset; break;
    case DirRight: f.X += kFireballLaunchOffset; break;
    default: break;  // an odd direction code: the fireball starts on the player
  }
}

void SetWantDir(GameState& g, int slot, int key) {
  PlayerSlot& p = g.Players[slot];
  if (p.Life == Alive && p.Active) p.WantDir = key;
}
