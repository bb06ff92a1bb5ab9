// A server and its clients in one process over real loopback UDP: the
// server's socket on a free port of 127.0.0.1, each client sending from
// its own 127.0.0.x. One hand-set clock drives everybody; while a client
// holds the thread (the second of a connection attempt, the map wait) the
// clock's sleeps run the server's steps that fall due.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "connection/game_step.h"
#include "connection/join_server.h"
#include "game/frame_transitions.h"
#include "platform/posix_network.h"
#include "platform/recording_platform.h"
#include "render/player_colours.h"
#include "support/test_game.h"
#include "tests/protocol/loopback.h"

// One program: its own message boxes, sounds, network and game.
struct Program {
  RecordingUi ui;
  RecordingAudio audio;
  std::unique_ptr<PosixNetwork> net;
  GameState g;
  // A client sends from `source`; a server (no source) binds its port.
  Program(Clock& clock, std::optional<NetAddress> source)
      : net(source ? std::make_unique<PosixNetwork>(*source) : std::make_unique<PosixNetwork>()) {
    g.platform = Platform{&ui, &clock, &audio, net.get()};
    g.Socket = net->CreateSocket();
    SetPlayerColours(g);
    g.SoundsOn = 1;
  }
};

struct ClientWorld {
  ScopedTempDir dir;  // "pakmap.map" for EndGame
  FakeClock clock;
  Program server{clock, std::nullopt};
  std::vector<std::unique_ptr<Program>> clients;
  uint16_t port = 0;
  uint32_t serverLast = 0;
  // While false the server is gone quiet: its steps do not run.
  bool serverRuns = true;

  explicit ClientWorld(int tickInterval = 40, bool computerFill = true) {
    WriteFile("pakmap.map", BorderMapText());
    GameState& s = server.g;
    port = BindFreeUdpPort(*server.net, s.Socket);
    for (int r = 0; r < kMapSide; ++r)
      for (int c = 0; c < kMapSide; ++c)
        s.Tiles[r * kMapSide + c] = (r == 0 || c == 0 || r == 13 || c == 13 || (r == 7 && c == 7)) ? 2 : 0;
    s.MaxPlayers = 8;
    s.ComputerFill = computerFill ? 1 : 0;
    s.AllowInternet = 1;
    s.TickInterval = tickInterval;
    s.Port = port;
    s.Rng.Seed(11);
    for (int i = 0; i < 8; ++i) MakeComputerSlot(s, i, i + 1);
    s.IsServer = 1;
    clock.onSleep = [this] { CatchUpServer(); };
  }

  Program& AddClient(const char* ip, const char* nick) {
    NetAddress source;
    ParseDottedAddress(ip, &source);
    clients.push_back(std::make_unique<Program>(clock, source));
    clients.back()->g.Nickname = nick;
    return *clients.back();
  }

  // The server steps whenever its interval has passed on the clock.
  void CatchUpServer() {
    const uint32_t interval = server.g.TickInterval & 0xFF;
    while (clock.now - serverLast > interval) {
      serverLast += interval + 1;
      if (!serverRuns) continue;
      GameStep(server.g);
      ApplyFrameTransitions(server.g);
    }
  }

  // Lets loopback deliver what was just sent (it normally has by the time
  // sendto returns; this bounds the rare case it has not).
  static void Settle() { std::this_thread::sleep_for(std::chrono::microseconds(300)); }

  // One step of the clients' time: the server first, then every client.
  void Step(int n = 1) {
    for (int k = 0; k < n; ++k) {
      clock.now += 41;
      CatchUpServer();
      Settle();
      for (auto& c : clients)
        if (c->g.IsClient) {
          GameStep(c->g);
          ApplyFrameTransitions(c->g);
        }
    }
  }

  // Steps until done() holds, at most maxSteps times; whether it holds.
  bool StepUntil(const std::function<bool()>& done, int maxSteps = 20) {
    for (int k = 0; k < maxSteps && !done(); ++k) Step();
    return done();
  }

  int Join(Program& c) { return JoinServer(c.g, "127.0.0.1", port, 3).Joined() ? 1 : 0; }
  // The server's slot of a client, found by its address.
  int SlotOf(const char* ip) {
    for (int i = 0; i < 8; ++i) {
      const PlayerSlot& p = server.g.Players[i];
      if (p.Active && p.Kind == KindInternet && p.Address.DottedIp() == ip) return i;
    }
    return -1;
  }
  std::string Newest(const GameState& g) const { return g.Board.Lines[kChatLines - 1] + 3; }
};
