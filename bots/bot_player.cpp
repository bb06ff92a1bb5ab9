#include "bots/bot_player.h"

#include <utility>

#include "game/computer_players.h"
#include "game/game_state.h"
#include "shell/control_input.h"

std::string ChooseBotKeys(GameState& g, RandomSource& rng) {
  const int slot = g.LocalSlot;
  if (slot < 0 || slot >= kSlotCount) return "";
  PlayerSlot& p = g.Players[slot];
  if (!p.Active) return "";
  if (p.Life != Alive) return g.FrameCounter == 0 ? "b" : "";

  // Let the rules act on the real slot, see what they changed, then put
  // everything back: only the keys go out, the server decides the rest.
  const PlayerSlot before = p;
  const Fireball fireBefore = g.Fireballs[slot];
  const int sounds = g.SoundsOn;
  const char kind = p.Kind;
  g.SoundsOn = 0;
  p.Kind = KindComputer;
  std::swap(g.Rng, rng);
  ComputerPlaySlot(g, slot);
  std::swap(g.Rng, rng);
  const PlayerSlot after = p;
  const Fireball fireAfter = g.Fireballs[slot];
  p = before;
  p.Kind = kind;
  g.Fireballs[slot] = fireBefore;
  g.SoundsOn = sounds;

  std::string keys;
  if (after.WantDir != before.WantDir) keys += static_cast<char>(after.WantDir);
  if (after.Shield && !before.Shield) keys += 'p';
  if (!after.Shield && before.Shield) keys += 'a';
  if (fireAfter.State == FireFlying && fireBefore.State != FireFlying) keys += 'b';
  return keys;
}

void PlayBotStep(GameState& g, RandomSource& rng) {
  for (char key : ChooseBotKeys(g, rng)) ApplyControlKey(g, key);
}
