#include "bots/bot_session.h"

#include "bots/bot_player.h"
#include "connection/end_game.h"
#include "game/frame_transitions.h"
#include "game/game_state.h"
#include "protocol/datagrams.h"

namespace {

// Sends the leaving datagram and, on a delaying link, lets it out before
// anything else is sent: a join that overtook it would be given a place
// that the late leaving datagram then takes away again.
void SendLeaving(GameState& g, const LinkFaults& faults) {
  SendDatagram(g, g.ServerAddress, kLeavingDatagram, kLeavingLength, "Send error #25");
  if (faults.Perfect()) return;
  Clock& clock = *g.platform.clock;
  const uint32_t until = clock.TickCount() + faults.DelayMs + FaultySocket::kReorderHoldMs + 20;
  while (static_cast<int32_t>(until - clock.TickCount()) > 0) {
    if (g.Socket) g.Socket->Pending();
    clock.Sleep(5);
  }
}

}  // namespace

JoinResult JoinAsBot(GameState& g, const std::string& serverName, int port,
                     const LinkFaults& faults, const JoinGiveUp& giveUp) {
  // A lost accept leaves the bot a place on the server that it does not
  // know of: the server then denies it as "already connected" until it
  // times that place out, so the bot keeps trying for a while.
  Clock& clock = *g.platform.clock;
  JoinResult join;
  bool heldPlace = false;
  const uint32_t start = clock.TickCount();
  while (!(giveUp && giveUp())) {
    join = JoinServer(g, serverName, port, kJoinAttempts, {}, giveUp);
    if (join.Joined()) break;
    // The first denial of this try says why it was refused.
    const char denial = join.Denials.empty() ? 0 : join.Denials[0];
    const bool full = denial == 'f';
    // A server denies a second request from a place-holder twice: "already
    // connected" ('a'), then "full" when no other place is free; the second
    // reply is read by the next attempt. Full is final only for a bot
    // without a place there.
    const bool heldNow = join.Denials.find('a') != std::string::npos;
    heldPlace |= heldNow;
    // When the link loses datagrams, "full" alone may also be about a place
    // held for this bot: its accept and the "already connected" after it
    // were both lost. Full is final only on a clean link.
    const bool mayHoldPlace = heldNow || (full && !faults.Perfect());
    // The place the server keeps for this address would only free itself
    // after the server's 400-step time-out, and a second lost accept on a
    // bad link would hold it again: give it back at once, as leaving does.
    // (A bot that holds no place there gives back nothing.)
    if (mayHoldPlace && g.Socket) SendLeaving(g, faults);
    const bool mayPass =
        join.Denials.empty() || denial == 'a' || (full && (heldPlace || mayHoldPlace));
    if (!mayPass || clock.TickCount() - start >= kJoinPatienceMs) break;
    // The next try starts on a fresh socket: a late accept for a place just
    // given back must not be read as the answer to the next request (the
    // bot would think it plays while the server has no place for it).
    g.Socket = g.platform.net->CreateSocket();
  }
  return join;
}

bool AfterBotStep(GameState& g, RandomSource& choices, uint64_t* updates) {
  ApplyFrameTransitions(g);
  if (!g.IsClient) return false;
  if (g.ServerSilence == 0) ++*updates;
  PlayBotStep(g, choices);
  return true;
}

void LeaveAsBot(GameState& g, const LinkFaults& faults) {
  // EndGame sends the leaving datagram too, but drops the socket at once:
  // on a delaying link it is let out first.
  if (!faults.Perfect()) SendLeaving(g, faults);
  g.platform.ui = nullptr;
  EndGame(g);
}
