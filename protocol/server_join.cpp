// A join request: the tests of version, room, address and ban list, then
// either the accept reply or every denial that applies.
#include "protocol/server_join.h"

#include <cstdio>

#include "game/game_state.h"
#include "protocol/ban_list.h"
#include "protocol/chat_board.h"
#include "protocol/datagrams.h"

namespace {

// The first of the first MaxPlayers slots that is free or played by the
// computer, or -1.
int FreeSlot(const GameState& g) {
  for (int i = 0; i < g.MaxPlayers && i < kSlotCount; ++i) {
    const PlayerSlot& p = g.Players[i];
    if (!p.Active || p.Kind == KindComputer) return i;
  }
  return -1;
}

void Accept(GameState& g, int k, const NetAddress& from) {
  PlaceNewPlayer(g, k, KindInternet);
  PlayerSlot& p = g.Players[k];
  p.Silence = 0;
  p.Address = from;
  // The name arrives in the player's name datagram; UpdateSeq carries on.
  DatagramBuffer reply;
  BuildAccept(reply, g.TickInterval);
  SendDatagram(g, from, reply.data(), reply.size(), "Send error #5");
  ++g.Counters.JoinsAccepted;
  g.StatusMessage = "Player Has Joined =)";
  PostStatusMessage(g);
}

void Deny(GameState& g, char reason, const NetAddress& from, const char* errorText) {
  DatagramBuffer reply;
  BuildDenial(reply, reason);
  SendDatagram(g, from, reply.data(), reply.size(), errorText);
  g.Counters.Denied(reason);
}

}  // namespace

void HandleJoinRequest(GameState& g, const uint8_t* d, size_t len, const NetAddress& from,
                       int senderSlot) {
  bool versionOk = JoinVersionMatches(d, len);
  int room = FreeSlot(g);
  // A missing or unreadable ban list (0) bans nobody.
  bool banned = BanLookup(from.ip) == 2;
  if (senderSlot < 0 && room >= 0 && versionOk && !banned) {
    Accept(g, room, from);
    return;
  }
  if (senderSlot >= 0) Deny(g, 'a', from, "Send error #2");
  if (room < 0) Deny(g, 'f', from, "Send error #3");
  if (!versionOk) Deny(g, 'v', from, "Send error #4");
  if (banned) Deny(g, 'b', from, "Send error #4");
}
