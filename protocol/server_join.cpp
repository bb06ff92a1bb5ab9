// A join request: the token handshake for a marked join, then the tests of
// version, room, address and ban list, and either the accept reply or
// every denial that applies.
#include "protocol/server_join.h"

#include <cstdio>

#include "game/game_state.h"
#include "protocol/ban_list.h"
#include "protocol/chat_board.h"
#include "protocol/datagrams.h"
#include "protocol/join_token.h"

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

void SendAccept(GameState& g, const NetAddress& from) {
  DatagramBuffer reply;
  BuildAccept(reply, g.TickInterval);
  SendDatagram(g, from, reply.data(), reply.size(), "Send error #5");
}

void Accept(GameState& g, int k, const NetAddress& from) {
  PlaceNewPlayer(g, k, KindInternet);
  PlayerSlot& p = g.Players[k];
  p.Silence = 0;
  p.Address = from;
  // The name arrives in the player's name datagram; UpdateSeq carries on.
  SendAccept(g, from);
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

uint32_t Now(const GameState& g) { return g.platform.clock ? g.platform.clock->TickCount() : 0; }

}  // namespace

bool MayAnswerStranger(GameState& g, int senderSlot, const NetAddress& from) {
  if (senderSlot >= 0) return true;
  if (g.StrangerReplies.Allow(from.ip, Now(g))) return true;
  ++g.Counters.StrangerRepliesRefused;
  return false;
}

void HandleJoinDatagram(GameState& g, const uint8_t* d, size_t len, const NetAddress& from,
                        int senderSlot) {
  JoinCookie cookie;
  if (!ParseMarkedJoin(d, len, &cookie)) {
    if (!MayAnswerStranger(g, senderSlot, from)) return;
    // A client that does not know tokens is told it cannot play here in
    // the only words it understands.
    if (g.RequireToken)
      Deny(g, 'v', from, "Send error #4");
    else
      HandleJoinRequest(g, d, len, from, senderSlot);
    return;
  }
  const uint32_t now = Now(g);
  if (!JoinCookieValid(g.TokenKey, from, cookie, now)) {
    // Smaller than the marked join that drew it, so it needs no limit: a
    // forged address receives less than was forged.
    DatagramBuffer challenge;
    BuildChallenge(challenge, MakeJoinCookie(g.TokenKey, from, CookieWindow(now)));
    SendDatagram(g, from, challenge.data(), challenge.size(), "Send error #5");
    return;
  }
  if (MayAnswerStranger(g, senderSlot, from)) HandleJoinRequest(g, d, len, from, senderSlot, true);
}

void HandleJoinRequest(GameState& g, const uint8_t* d, size_t len, const NetAddress& from,
                       int senderSlot, bool proven) {
  if (proven && senderSlot >= 0 && g.Players[senderSlot].Address == from) {
    SendAccept(g, from);
    return;
  }
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
