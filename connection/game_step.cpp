#include "connection/game_step.h"

#include "connection/server_notices.h"
#include "game/computer_players.h"
#include "game/game_state.h"
#include "game/energy_fireball_pass.h"
#include "game/player_pass.h"
#include "protocol/chat_board.h"
#include "protocol/client_receive.h"
#include "protocol/server_net.h"
#include "protocol/server_receive.h"
#include "protocol/server_send.h"

namespace {

// A connected client; a server whose user plays has IsClient set too.
bool IsPlainClient(const GameState& g) { return g.IsClient && !g.IsServer; }

void PrePass(GameState& g) {
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
}

// The local player's shield is about to run out: this step's energy pass
// takes the last unit and the shield drops at the next.
void ShieldWarning(GameState& g) {
  int local = g.LocalSlot & 0xFF;
  if (local >= kSlotCount) return;  // 10 (or any value past the slots): no slot
  const PlayerSlot& p = g.Players[local];
  if (p.Shield && p.Energy == 1) PlayEffect(g, "shielddo.wav");
}

// The step's receive: ClientReceive and what its result asks for.
void ClientReceivePhase(GameState& g) {
  switch (ClientReceive(g)) {
    case kReceiveNotice: HandleServerNotice(g); break;
    case kReceiveUpdate: g.ServerSilence = 0; break;
    default: break;
  }
}

}  // namespace

void GameStep(GameState& g) {
  g.LeaderFrags = 0;

  if (IsPlainClient(g)) {
    ++g.ClientQuiet;
    ++g.ServerSilence;
    if (g.ServerSilence > kServerSilenceLimit) ClientGiveUpOnServer(g);
  }

  PrePass(g);
  ShieldWarning(g);

  if (IsPlainClient(g)) {
    ClientReceivePhase(g);
    if (!g.PredictionOn) return;
  } else if (g.IsServer) {
    ServerReceive(g);
  }

  EnergyPass(g);
  ComputerPass(g);
  FireballPass(g);
  PlayerPass(g);

  g.SendParity = 1 - g.SendParity;
  // Now and then the board goes out again, in case a client lost it.
  if (Random(g) % 500 == 1) BroadcastChatBoard(g);
  if (g.IsServer && g.AllowInternet) ServerSend(g);
}
