#include "server/operator_snapshot.h"

#include "game/game_state.h"

OperatorSnapshot TakeOperatorSnapshot(const GameState& g) {
  OperatorSnapshot s;
  s.Places = g.MaxPlayers;
  for (int i = 0; i < g.MaxPlayers && i < kSlotCount; ++i) {
    const PlayerSlot& p = g.Players[i];
    if (!p.Active) continue;
    if (p.Kind == KindInternet) ++s.Players;
    if (p.Kind == KindComputer) ++s.Computers;
  }
  s.Counters = g.Counters;
  return s;
}
