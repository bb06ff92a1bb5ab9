#include "protocol/server_net.h"

#include <cstdio>

#include "game/game_state.h"
#include "protocol/chat_board.h"
#include "protocol/datagrams.h"

namespace {
constexpr uint32_t kPlayerTimeout = 400;  // steps of silence a player may keep
}

int FindSenderSlot(const GameState& g, const NetAddress& from) {
  int found = -1;
  for (int i = 0; i < g.MaxPlayers && i < kSlotCount; ++i) {
    const PlayerSlot& p = g.Players[i];
    if (p.Active && p.Kind == KindInternet && p.Address.SameHost(from)) found = i;
  }
  return found;
}

void ServerTimeoutTest(GameState& g, int slot) {
  PlayerSlot& p = g.Players[slot];
  if (!g.IsServer || !p.Active || p.Kind == KindComputer || slot == (g.LocalSlot & 0xFF)) return;
  if (++p.Silence <= kPlayerTimeout) return;
  ++g.Counters.TimeOuts;
  char text[64];
  std::snprintf(text, sizeof text, "%s Timed out :(", p.Name);
  g.StatusMessage = text;
  PostStatusMessage(g);
  DatagramBuffer notice;
  BuildTimeoutNotice(notice);
  SendDatagram(g, p.Address, notice.data(), notice.size(), "Send error #30");
  // A timed-out player's replacement is named from the index, not the number.
  MakeComputerSlot(g, slot, slot);
}
