// The client's receive: one datagram per step from its server, the update
// applied or the notice handed on, the name sent as a sign of life.
#include "protocol/client_receive.h"

#include <algorithm>
#include <cstring>

#include "game/game_state.h"
#include "protocol/datagrams.h"
#include "protocol/eighth_fireball.h"
#include "protocol/receive_from_server.h"
#include "protocol/update_datagram.h"

namespace {

// Datagrams from other senders are read and dropped within one step; a
// flood of them must still not keep the client inside the step for ever.
constexpr int kMaxDatagramsPerStep = 2048;

void SendName(GameState& g) {
  DatagramBuffer d;
  BuildName(d, g.Nickname.c_str());
  SendDatagram(g, g.ServerAddress, d.data(), d.size(), "Send error #21");
}

void ApplyPlayer(GameState& g, int i, const UpdatePlayer& u) {
  PlayerSlot& p = g.Players[i];
  if (u.Tag == 'y') g.LocalSlot = i;
  p.Kind = u.Tag == 'c' ? KindComputer : KindInternet;
  p.X = u.X;
  p.Y = u.Y;
  p.Dir = u.Dir;
  p.WantDir = u.WantDir;
  p.Life = u.Life;
  p.Active = u.Active;
  p.Energy = static_cast<uint8_t>(u.Energy);
  p.Frags = static_cast<uint8_t>(u.Frags);
  p.Shield = static_cast<uint8_t>(u.Shield);
  SetPlayerName(p, u.Name, kNameTextMax);
  p.Number = static_cast<uint8_t>(i + 1);
}

void ApplyFireball(Fireball& f, const UpdateFireball& u) {
  f.State = u.State;
  // A cleared or unused fireball keeps where it was; only a live one moves.
  if (f.State != FireFlying && f.State != FireExploding) return;
  f.X = u.X;
  f.Y = u.Y;
  f.Dir = u.Dir;
}

}  // namespace

int ApplyUpdate(GameState& g, const uint8_t* d, size_t len) {
  ParsedUpdate u;
  if (!ParseUpdateDatagram(d, len, &u)) return kReceiveDropped;
  // An older update than the last is dropped, and lets the next one through
  // whatever its number: so the server's wrap from 255 to 1 costs one update.
  if (u.Seq < g.LastUpdateSeq) {
    g.LastUpdateSeq = 0;
    return kReceiveNothing;
  }
  g.LastUpdateSeq = u.Seq;
  for (int i = 0; i < kSlotCount; ++i)
    if (u.Players[i].Number == i + 1) ApplyPlayer(g, i, u.Players[i]);
  for (int i = 0; i < kSlotCount - 1; ++i) ApplyFireball(g.Fireballs[i], u.Fireballs[i]);
  ReckonEighthFireball(g, u.Fireballs[kSlotCount - 1], static_cast<int>(g.ServerSilence));
  return kReceiveUpdate;
}

void KeepServerMessage(GameState& g, const uint8_t* d, size_t len) {
  std::memset(g.LastServerMessage, 0, sizeof g.LastServerMessage);
  g.LastServerMessageLength = std::min(len, sizeof g.LastServerMessage);
  std::memcpy(g.LastServerMessage, d, g.LastServerMessageLength);
}

int ClientReceive(GameState& g) {
  if (!g.IsClient || g.ClientQuiet > kClientQuietLimit) {
    g.LastUpdateSeq = 0;
    SendName(g);
    g.ClientQuiet = 0;
    return kReceiveNothing;
  }
  if (!g.Socket) return kReceiveNothing;
  uint8_t buf[kClientReceiveMax];
  int budget = kMaxDatagramsPerStep;
  for (;;) {
    // Only the server's datagrams reach here (a forged "s" or "k" from
    // anyone else would end the game); a refused report ends nothing.
    size_t got = 0;
    switch (ReceiveFromServer(g.Socket.get(), g.ServerAddress, buf, sizeof buf, &got, &budget)) {
      case ServerReceive::Nothing: return kReceiveNothing;
      case ServerReceive::Failed: ReportFatalError(g, "Receive error #23"); return kReceiveDropped;
      case ServerReceive::Got: break;
    }
    if (got < 2 || buf[0] != 'P' || buf[1] != 'M') return kReceiveDropped;
    if (got < 3 || buf[2] != 'm') {
      KeepServerMessage(g, buf, got);
      return kReceiveNotice;
    }
    // When updates queue up, each with another behind it is skipped at
    // random, so the client usually catches up with a later one.
    if (g.Socket->Pending() > 0 && Random(g) % 2 == 1) continue;
    return ApplyUpdate(g, buf, got);
  }
}
