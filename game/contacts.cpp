// What happens when a player, after its move, meets another player or a
// fireball, and the kill that follows.
#include "game/contacts.h"

#include "game/game_state.h"
#include "game/rules.h"

namespace {

void ScoreFrag(PlayerSlot& p) {
  if (p.Frags != kMaxFrags) ++p.Frags;
}

bool PlayersTouch(const PlayerSlot& a, const PlayerSlot& b) {
  // Deliberately lopsided (39 one way, 38 the other), as the game has
  // always measured it.
  return b.X - 39 <= a.X && a.X <= b.X + 38 && b.Y - 39 <= a.Y && a.Y <= b.Y + 38;
}

bool FireballHits(const Fireball& f, const PlayerSlot& p) {
  const int s = kFireballHitSpan;
  return (f.X <= p.X && p.X <= f.X + s && f.Y <= p.Y && p.Y <= f.Y + s) ||
         (p.X <= f.X && f.X <= p.X + s && p.Y <= f.Y && f.Y <= p.Y + s);
}

void PlayerContact(GameState& g, int i, int j) {
  PlayerSlot& a = g.Players[i];
  PlayerSlot& b = g.Players[j];
  if (!a.Shield && !b.Shield)
    PlayEffect(g, "crash.wav");
  else if (!a.Shield || !b.Shield)
    PlayEffect(g, "overrun.wav");

  // A shielded player runs over an unshielded one and scores; two
  // unshielded players both die and each loses a frag; two shielded ones
  // pass through each other.
  if (!a.Shield) {
    if (b.Shield) {
      KillPlayer(g, i, 0);
      ScoreFrag(b);
    } else {
      KillPlayer(g, i, -1);
    }
  }
  if (!b.Shield) {
    if (a.Shield) {
      KillPlayer(g, j, 0);
      ScoreFrag(a);
    } else {
      KillPlayer(g, j, -1);
    }
  }
}

void FireballHit(GameState& g, int i, int j) {
  if (!g.Players[i].Shield) {
    KillPlayer(g, i, 0);
    ScoreFrag(g.Players[j]);  // the owner scores even when no longer playing
  }
  PlayEffect(g, "explode.wav");  // also when the shield took the hit
  g.Fireballs[j].State = FireExploding;
}

}  // namespace

void PlayerContacts(GameState& g, int i) {
  // Slot i's own state is not looked at again: a player killed at one
  // contact still meets the slots after it in this pass.
  for (int j = 0; j < kSlotCount; ++j) {
    if (j == i) continue;
    const PlayerSlot& other = g.Players[j];
    if (other.Life == Alive && other.Active && PlayersTouch(g.Players[i], other))
      PlayerContact(g, i, j);
    // An exploding fireball still kills until it is cleared.
    const Fireball& f = g.Fireballs[j];
    if ((f.State == FireFlying || f.State == FireExploding) && FireballHits(f, g.Players[i]))
      FireballHit(g, i, j);
  }
}

void KillPlayer(GameState& g, int slot, int fragChange) {
  PlayerSlot& p = g.Players[slot];
  p.Life = Exploding;
  p.Energy = 0;
  p.Dir = p.WantDir = DirStop;  // the shield stays as it was
  if ((p.Frags > 0 && fragChange < 0) || (p.Frags < kMaxFrags && fragChange > 0))
    p.Frags = static_cast<uint8_t>(p.Frags + fragChange);
  if (p.Frags == kMaxFrags) {
    // The frag counter is one byte: at its top everybody starts over.
    for (int k = 0; k < g.MaxPlayers && k < kSlotCount; ++k) g.Players[k].Frags = 0;
    p.Frags = 1;
  }
}
