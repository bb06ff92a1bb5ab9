// A server game on the recording platform: a walled 14 x 14 map, every
// place played by the computer, network play on. Shared by the server tests.
#pragma once

#include <string>
#include <vector>

#include "game/game_state.h"
#include "protocol/server_net.h"
#include "protocol/server_receive.h"
#include "render/player_colours.h"
#include "support/test_game.h"

struct ServerGame : TestGame {
  explicit ServerGame(int maxPlayers = 8, bool computerFill = true, uint32_t seed = 7)
      : TestGame(seed) {
    for (int r = 0; r < kMapSide; ++r)
      for (int c = 0; c < kMapSide; ++c)
        g.Tiles[r * kMapSide + c] = (r == 0 || c == 0 || r == 13 || c == 13) ? 1 : 0;
    SetPlayerColours(g);
    g.MaxPlayers = static_cast<uint8_t>(maxPlayers);
    g.ComputerFill = computerFill ? 1 : 0;
    g.AllowInternet = 1;
    g.IsServer = 1;
    for (int i = 0; i < maxPlayers; ++i) MakeComputerSlot(g, i, i + 1);
  }

  // Hands one datagram to the receive loop as if it came from `from`.
  void Receive(const NetAddress& from, const std::string& bytes) {
    socket().Queue(from, bytes);
    ServerReceive(g);
  }
  // Datagrams sent to `to` (the port counts) since the last Clear().
  std::vector<std::string> SentTo(const NetAddress& to) {
    std::vector<std::string> out;
    for (auto& d : socket().sent)
      if (d.addr == to) out.emplace_back(d.bytes.begin(), d.bytes.end());
    return out;
  }
  void ClearSent() { socket().sent.clear(); }
  // Joins from `from` and returns the slot given.
  int Join(const NetAddress& from) {
    Receive(from, "PMc10 - I wanna play!\r\n");
    return FindSenderSlot(g, from);
  }
  std::string NewestBoardText() const { return g.Board.Lines[kChatLines - 1] + 3; }
};

inline NetAddress Client(int n, uint16_t port = 5000) {
  return NetAddress::Of(10, 0, 0, static_cast<uint8_t>(n), port);
}
