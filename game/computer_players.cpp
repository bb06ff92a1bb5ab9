#include "game/computer_players.h"

#include <cstdlib>

#include "game/game_state.h"
#include "game/player_commands.h"
#include "game/spawn.h"

namespace {

constexpr int kDangerDistance = 60;
constexpr int kShieldSafeEnergy = 10;  // in danger the shield goes up only above this

// One fresh draw: true when Random % n == k.
bool Chance(GameState& g, int n, int k) { return Random(g) % n == k; }

bool Near(int x, int y, const PlayerSlot& p) {
  return std::abs(x - p.X) < kDangerDistance && std::abs(y - p.Y) < kDangerDistance;
}

void DecideShield(GameState& g, int i) {
  PlayerSlot& p = g.Players[i];
  if (Chance(g, 200, 1) && p.Energy != 0) p.Shield = 1;
  // The three tests stop at the first that fails; only then is the chance
  // to drop the shield drawn.
  if (ComputerSensesDanger(g, i) && p.Energy > kShieldSafeEnergy && Chance(g, 10, 1)) {
    p.Shield = 1;
  } else if (Chance(g, 300, 1) && p.Energy != 0) {
    p.Shield = 0;
  }
}

void DecideFire(GameState& g, int i) {
  PlayerSlot& p = g.Players[i];
  if (p.Energy < kFullEnergy) return;
  if (!Chance(g, 600, 1) && !ComputerHasTarget(g, i)) return;
  const Fireball& f = g.Fireballs[i];
  if (f.State == FireExploding || f.State == FireFlying || p.Energy != kFullEnergy) return;
  PlayEffect(g, "launchf.wav");
  LaunchFireball(g, i);
}

void Steer(GameState& g, PlayerSlot& p) {
  if (p.Dir == DirStop) {
    static constexpr int kWays[4] = {DirUp, DirDown, DirLeft, DirRight};
    p.WantDir = kWays[Random(g) % 4];
    return;
  }
  const int side = Random(g) % 2;
  if (!Chance(g, 20, 2)) return;
  if (p.Dir == DirUp || p.Dir == DirDown)
    p.WantDir = side == 0 ? DirLeft : DirRight;
  else if (p.Dir == DirLeft || p.Dir == DirRight)
    p.WantDir = side == 0 ? DirUp : DirDown;
}

}  // namespace

bool ComputerSensesDanger(GameState& g, int i) {
  const PlayerSlot& me = g.Players[i];
  for (int j = 0; j < kSlotCount; ++j) {
    if (j == i) continue;
    const PlayerSlot& other = g.Players[j];
    if (other.Active && other.Life == Alive && Near(other.X, other.Y, me)) return true;
    // A cleared fireball still counts where it exploded; only one never
    // launched does not.
    const Fireball& f = g.Fireballs[j];
    if (f.State != FireNone && Near(f.X, f.Y, me) && Chance(g, 5, 1)) return true;
  }
  return false;
}

bool ComputerHasTarget(GameState& g, int i) {
  const PlayerSlot& me = g.Players[i];
  for (int j = 0; j < kSlotCount; ++j) {
    const PlayerSlot& other = g.Players[j];
    if (j == i || !other.Active || other.Life != Alive) continue;
    if (other.X == me.X && ((other.Y < me.Y && me.Dir == DirUp) ||
                            (other.Y > me.Y && me.Dir == DirDown))) {
      if (Chance(g, 2, 1)) return true;
    }
    if (other.Y == me.Y && ((other.X < me.X && me.Dir == DirLeft) ||
                            (other.X > me.X && me.Dir == DirRight))) {
      if (Chance(g, 2, 1)) return true;
    }
  }
  return false;
}

void ComputerPlaySlot(GameState& g, int i) {
  DecideShield(g, i);
  DecideFire(g, i);
  Steer(g, g.Players[i]);
}

void ComputerPass(GameState& g) {
  for (int i = 0; i < kSlotCount; ++i) {
    PlayerSlot& p = g.Players[i];
    if (p.Kind != KindComputer || !p.Active) continue;
    if (p.Life == Alive) {
      ComputerPlaySlot(g, i);
    } else if (g.IsServer && g.FrameCounter == 0) {
      // Only the server brings computer players back, straight from
      // exploding if need be. Energy (0 since the kill) and shield stay.
      p.Life = Alive;
      FindSpawnPoint(g);
      p.X = g.SpawnX;
      p.Y = g.SpawnY;
    }
  }
}
