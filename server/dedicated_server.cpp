#include "server/dedicated_server.h"

#include <charconv>
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
#include "render/player_colours.h"

const char* const kDedicatedUsage =
    "usage: vrask-server [--dir PATH] [--port N] [--speed fast|slow] [--max-players N]\n"
    "                    [--no-computer] [--map FILE | --generate] [--seed N]\n"
    "  --dir PATH       work in PATH instead of the current directory; it is created\n"
    "                   when missing and the shipped maps it lacks are copied in\n"
    "  --port N         UDP port, 1..65000 (default 2727)\n"
    "  --speed S        fast: a step every 40 ms (default), slow: every 60 ms\n"
    "  --max-players N  player places in use, 1..8 (default 8)\n"
    "  --no-computer    leave free places empty instead of letting the computer play\n"
    "  --map FILE       map file to play (default pakmap.map in the current directory)\n"
    "  --generate       play a freshly generated random maze\n"
    "  --seed N         seed of the random generator (default: from the clock)\n"
    "  --help, --version\n";

namespace {

bool ToNumber(const std::string& s, long long lo, long long hi, long long* out) {
  long long v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi) return false;
  *out = v;
  return true;
}

}  // namespace

ParseResult ParseDedicatedOptions(const std::vector<std::string>& args, DedicatedOptions* o,
                                  std::string* error) {
  bool haveMap = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-h" || a == "--help") return ParseResult::Help;
    if (a == "--version") return ParseResult::Version;
    if (a == "--no-computer") {
      o->ComputerFill = false;
      continue;
    }
    if (a == "--generate") {
      o->Generate = true;
      continue;
    }
    bool takesValue = a == "--port" || a == "--speed" || a == "--max-players" || a == "--map" ||
                      a == "--seed" || a == "--dir";
    if (!takesValue) {
      *error = "unknown argument " + a;
      return ParseResult::Bad;
    }
    if (i + 1 >= args.size()) {
      *error = a + " needs a value";
      return ParseResult::Bad;
    }
    const std::string& v = args[++i];
    long long n = 0;
    if (a == "--port") {
      if (!ToNumber(v, 1, 65000, &n)) {
        *error = "the port must be a number from 1 to 65000";
        return ParseResult::Bad;
      }
      o->Port = static_cast<int>(n);
    } else if (a == "--speed") {
      if (v != "fast" && v != "slow") {
        *error = "the speed must be fast or slow";
        return ParseResult::Bad;
      }
      o->TickInterval = v == "fast" ? kFastTickInterval : kSlowTickInterval;
    } else if (a == "--max-players") {
      if (!ToNumber(v, 1, 8, &n)) {
        *error = "the maximum number of players must be from 1 to 8";
        return ParseResult::Bad;
      }
      o->MaxPlayers = static_cast<int>(n);
    } else if (a == "--dir") {
      if (v.empty()) {
        *error = "--dir needs a folder";
        return ParseResult::Bad;
      }
      o->Dir = v;
    } else if (a == "--map") {
      if (v.empty()) {
        *error = "--map needs a file name";
        return ParseResult::Bad;
      }
      o->MapFile = v;
      haveMap = true;
    } else {
      if (!ToNumber(v, 0, 0xFFFFFFFFll, &n)) {
        *error = "the seed must be a number from 0 to 4294967295";
        return ParseResult::Bad;
      }
      o->Seed = static_cast<uint32_t>(n);
      o->Seeded = true;
    }
  }
  if (haveMap && o->Generate) {
    *error = "--map and --generate cannot be used together";
    return ParseResult::Bad;
  }
  return ParseResult::Run;
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

  if (o.Generate) {
    GenerateMaze(g, g.Tiles);
    g.MapDirty = 1;
  } else if (!LoadMapFile(g, o.MapFile)) {
    return StartResult::MapFailed;
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

void RunDedicatedServer(GameState& g, const std::function<bool()>& keepRunning) {
  while (keepRunning()) {
    if (GameTick(g)) {
      ApplyFrameTransitions(g);
      continue;
    }
    uint32_t wait = MsUntilNextStep(g);
    if (wait > 0) std::this_thread::sleep_for(std::chrono::milliseconds(wait));
  }
}
