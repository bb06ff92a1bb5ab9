#include "server/dedicated_server.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "connection/game_tick.h"
#include "connection/host_server.h"
#include "game/frame_transitions.h"
#include "game/game_state.h"
#include "maps/map_file.h"
#include "maps/maze_generator.h"
#include "protocol/chat_board.h"
#include "protocol/server_info.h"
#include "render/player_colours.h"
#include "server/operator_snapshot.h"

const char* const kDedicatedUsage =
    "usage: vrask-server [--dir PATH] [--port N] [--speed fast|slow] [--max-players N]\n"
    "                    [--no-computer] [--map FILE | --generate] [--seed N]\n"
    "                    [--require-token]\n"
    "                    [--agones] [--metrics ADDRESS:PORT]\n"
    "                    [--name TEXT] [--record FILE]\n"
    "  --dir PATH       work in PATH instead of the current directory; it is created\n"
    "                   when missing and the shipped maps it lacks are copied in\n"
    "  --port N         UDP port, 1..65000 (default 2727)\n"
    "  --speed S        fast: a step every 40 ms (default), slow: every 60 ms\n"
    "  --max-players N  player places in use, 1..8 (default 8)\n"
    "  --no-computer    leave free places empty instead of letting the computer play\n"
    "  --map FILE       map file to play (default pakmap.map in the current directory)\n"
    "  --generate       play a freshly generated random maze\n"
    "  --seed N         seed of the random generator (default: from the clock)\n"
    "  --require-token  refuse joins that do not prove their address with a join\n"
    "                   token (clients without tokens are told \"versions don't match\");\n"
    "                   send the map to players only (for servers open to the Internet)\n"
    "  --agones         run as an Agones game server: ready, health, the players label\n"
    "                   and shutdown through the SDK sidecar at localhost:$AGONES_SDK_HTTP_PORT\n"
    "  --metrics A:P    serve Prometheus metrics at http://A:P/metrics\n"
    "  --name TEXT      the name players see when they look for games, at most\n"
    "                   16 characters (default \"Vrask server\")\n"
    "  --record FILE    record the game into the demo FILE (vrask --play FILE)\n"
    "  --help, --version\n";

ParseResult ParseDedicatedOptions(const std::vector<std::string>& args, DedicatedOptions* o,
                                  std::string* error) {
  bool haveMap = false;
  // A text option that must not be empty.
  auto text = [](const char* name, const char* refusal, std::string* to, bool* given) {
    return Option{name, true, [=](const std::string& v, std::string* error) {
                    if (v.empty()) {
                      *error = refusal;
                      return false;
                    }
                    *to = v;
                    if (given) *given = true;
                    return true;
                  }};
  };
  const std::vector<Option> options = {
      FlagOption("--no-computer", &o->ComputerFill, false),
      FlagOption("--generate", &o->Generate, true),
      FlagOption("--require-token", &o->RequireToken, true),
      NumberOption("--port", 1, 65000, "the port must be a number from 1 to 65000",
                   [o](long long n) { o->Port = static_cast<int>(n); }),
      {"--speed", true, [o](const std::string& v, std::string* error) {
         if (v != "fast" && v != "slow") {
           *error = "the speed must be fast or slow";
           return false;
         }
         o->TickInterval = v == "fast" ? kFastTickInterval : kSlowTickInterval;
         return true;
       }},
      NumberOption("--max-players", 1, 8, "the maximum number of players must be from 1 to 8",
                   [o](long long n) { o->MaxPlayers = static_cast<int>(n); }),
      text("--dir", "--dir needs a folder", &o->Dir, nullptr),
      text("--map", "--map needs a file name", &o->MapFile, &haveMap),
      text("--record", "--record needs a file name", &o->RecordFile, nullptr),
      NumberOption("--seed", 0, 0xFFFFFFFFll, "the seed must be a number from 0 to 4294967295",
                   [o](long long n) {
                     o->Seed = static_cast<uint32_t>(n);
                     o->Seeded = true;
                   }),
      FlagOption("--agones", &o->Agones, true),
      {"--metrics", true, [o](const std::string& v, std::string* error) {
         size_t colon = v.rfind(':');
         long long port;
         if (colon == std::string::npos || colon == 0 || !ReadNumber(v.substr(colon + 1), 1, 65535, &port)) {
           *error = "--metrics needs ADDRESS:PORT, such as 127.0.0.1:9100";
           return false;
         }
         o->MetricsHost = v.substr(0, colon);
         o->MetricsPort = static_cast<int>(port);
         return true;
       }},
      {"--name", true, [o](const std::string& v, std::string* error) {
         if (v.empty() || v.size() > kInfoNameMax) {
           *error = "the name must be 1 to 16 characters";
           return false;
         }
         o->Name = v;
         return true;
       }},
  };
  const ParseResult read = ReadOptions(args, options, true, error);
  if (read == ParseResult::Run && haveMap && o->Generate) {
    *error = "--map and --generate cannot be used together";
    return ParseResult::Bad;
  }
  return read;
}

StartResult StartDedicatedServer(GameState& g, const DedicatedOptions& o) {
  g.NullAddress = NetAddress{};
  uint32_t seed = o.Seeded ? o.Seed : g.platform.clock->TickCount();
  g.Rng.Seed(seed);
  SetPlayerColours(g);
  g.MaxPlayers = static_cast<uint8_t>(o.MaxPlayers);
  g.TickInterval = o.TickInterval;
  g.ComputerFill = o.ComputerFill ? 1 : 0;
  g.ServerParticipates = 0;
  g.AllowInternet = 1;
  g.Port = o.Port;
  g.RequireToken = o.RequireToken;
  g.ServerName = o.Name;

  if (o.Generate) {
    GenerateMaze(g, g.Tiles);
    g.MapDirty = 1;
  } else if (!LoadMapFile(g, o.MapFile)) {
    return StartResult::MapFailed;
  } else {
    // The description is what players looking for games see of the map.
    ReadMapDescription(g, o.MapFile);
  }

  // The places as a game server sets them up, without the host's own player.
  SetUpServerPlaces(g);
  g.LocalSlot = kNoSlot;
  if (!OpenServerPort(g)) return StartResult::BindFailed;
  g.LastStepTime = g.platform.clock->TickCount();
  return StartResult::Started;
}

void AnnounceDedicatedServer(GameState& g) {
  g.IsServer = 1;
  g.StatusMessage = "=Server Started=";
  PostStatusMessage(g);
}

void RunDedicatedServer(GameState& g, const std::function<bool()>& keepRunning,
                        SnapshotBox* operators) {
  while (keepRunning()) {
    // A step is due once strictly more than TickInterval ms have passed.
    uint32_t due = g.LastStepTime + (g.TickInterval & 0xFF) + 1;
    if (GameTick(g)) {
      ApplyFrameTransitions(g);
      uint32_t late = g.LastStepTime - due;  // wraps with the tick count
      g.Counters.Stepped(late > 0x7FFFFFFF ? 0 : late);
      if (operators) operators->TryPublish(TakeOperatorSnapshot(g));
      continue;
    }
    uint32_t wait = MsUntilNextStep(g);
    if (wait > 0) std::this_thread::sleep_for(std::chrono::milliseconds(wait));
  }
}
