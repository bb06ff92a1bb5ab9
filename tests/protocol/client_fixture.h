// A connected client on the recording platform: its server at 10.0.0.1:2727,
// a walled map in the game folder for EndGame, updates built from a state.
#pragma once

#include <string>
#include <vector>

#include "game/game_state.h"
#include "protocol/update_datagram.h"
#include "support/test_game.h"

struct ClientGame : TestGame {
  ScopedTempDir dir;
  NetAddress server = NetAddress::Of(10, 0, 0, 1, 2727);

  ClientGame() {
    WriteFile("pakmap.map", BorderMapText());
    g.IsClient = 1;
    g.AllowInternet = 1;
    g.Port = 2727;
    g.ServerAddress = server;
    g.Nickname = "Rex";
    g.SoundsOn = 1;
  }
  void FromServer(const std::string& bytes) { socket().Queue(server, bytes); }
  // Datagrams sent to the server, oldest first, by this socket and any
  // socket before it.
  std::vector<std::string> Sent() {
    std::vector<std::string> out;
    for (auto& d : rec.net.sent)
      if (d.addr == server) out.emplace_back(d.bytes.begin(), d.bytes.end());
    return out;
  }
};

// An update from `src` with sequence byte seq.
inline std::string UpdateBytes(const GameState& src, uint8_t seq) {
  UpdateDatagram u;
  BuildUpdateDatagram(src, u);
  u[kUpdateSeqAt] = seq;
  return std::string(u.begin(), u.end());
}
