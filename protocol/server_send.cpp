// After the simulation: the periodic map re-send and this step's update to
// half of the remote players.
#include "protocol/server_send.h"

#include "game/game_state.h"
#include "protocol/datagrams.h"
#include "protocol/update_datagram.h"

namespace {
constexpr uint8_t kMapResendSeq = 250;  // about once in 512 steps per player
}

void ServerSend(GameState& g) {
  if (!g.IsServer || !g.AllowInternet) return;
  // All eight slots, not only the first MaxPlayers, as the re-send has
  // always done; only active remote players have an address to use.
  for (PlayerSlot& p : g.Players) {
    if (p.Active && p.Kind == KindInternet && p.UpdateSeq == kMapResendSeq) {
      DatagramBuffer map;
      BuildMap(map, g.Tiles);
      SendDatagram(g, p.Address, map.data(), map.size(), "Send error #6");
    }
  }

  UpdateDatagram u;
  BuildUpdateDatagram(g, u);
  // SendParity has already flipped in this step: 1 serves the even slots.
  int first = g.SendParity == 1 ? 0 : 1;
  for (int i = first; i < g.MaxPlayers && i < kSlotCount; i += 2) {
    PlayerSlot& p = g.Players[i];
    if (!p.Active || p.Kind != KindInternet) continue;
    uint8_t tag = AddressUpdateTo(u, p, i);
    SendDatagram(g, p.Address, u.data(), u.size(), "Send error #8");
    RestoreTag(u, i, tag);
  }
}
