// vrask-server: the game server without a window. Runs in the current
// directory (maps, "banlist.dat"), prints its port and every message board
// line on stdout, and ends on SIGINT or SIGTERM after telling its players.
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "connection/dedicated_server.h"
#include "connection/end_game.h"
#include "game/game_state.h"
#include "platform/headless_ui.h"
#include "platform/posix_network.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;
void RequestStop(int) { stopRequested = 1; }

// One board line per output line: control characters from a chat text
// cannot break the line structure.
void PrintBoardLine(const char* text) {
  for (const char* c = text; *c; ++c) std::fputc(static_cast<unsigned char>(*c) < 32 ? ' ' : *c, stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  DedicatedOptions options;
  std::string error;
  switch (ParseDedicatedOptions(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
    case ParseResult::Help: std::fputs(kDedicatedUsage, stdout); return 0;
    case ParseResult::Bad: std::fprintf(stderr, "vrask-server: %s\n%s", error.c_str(), kDedicatedUsage); return 2;
    case ParseResult::Run: break;
  }

  HeadlessUi ui;
  SteadyClock clock;
  PosixNetwork net;
  GameState g;
  g.platform = Platform{&ui, &clock, nullptr, &net};
  g.Socket = net.CreateSocket();

  switch (StartDedicatedServer(g, options)) {
    case StartResult::MapFailed:
      std::fprintf(stderr, "Could Not Load File %s\n", options.MapFile.c_str());
      return 1;
    case StartResult::BindFailed:
      std::fprintf(stderr, "vrask-server: cannot bind UDP port %d (in use or not permitted)\n", options.Port);
      return 1;
    case StartResult::Started: break;
  }
  std::printf("%s\n", g.ConnectionStatus.c_str());
  std::fflush(stdout);
  g.OnBoardLine = PrintBoardLine;

  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
  AnnounceDedicatedServer(g);
  RunDedicatedServer(g, [&] { return !stopRequested && !ui.quitPosted; });

  bool failed = ui.quitPosted && !stopRequested;
  g.OnBoardLine = nullptr;
  // EndGame also reloads "pakmap.map" for a next game; a server on its way
  // out has none, so a missing file (--map, --generate) is not reported.
  g.platform.ui = nullptr;
  EndGame(g);  // the shutdown datagram to every remote player
  return failed ? 1 : 0;
}
