#include "game/game_step.h"

#include "game/game_state.h"
#include "protocol/server_net.h"

void GameStep(GameState& g) {
  g.LeaderFrags = 0;

  for (int i = 0; i < kSlotCount; ++i) {
    PlayerSlot& p = g.Players[i];
    p.DrawX = p.X;
    p.DrawY = p.Y;
    if (g.IsServer) ServerTimeoutTest(g, i);
    Fireball& f = g.Fireballs[i];
    f.DrawX = f.X;
    f.DrawY = f.Y;
    if (p.Active && p.Frags > g.LeaderFrags) g.LeaderFrags = p.Frags;
  }

  if (g.IsServer) ServerReceive(g);

  g.SendParity = 1 - g.SendParity;
  if (Random(g) % 500 == 1) BroadcastChatBoard(g);
  if (g.IsServer && g.AllowInternet) ServerSend(g);
}
