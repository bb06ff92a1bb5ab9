// vrask-server: the game server without a window. Runs in the current
// directory or the --dir folder (maps, "banlist.dat"), prints its port and every message board
// line on stdout, and ends on SIGINT or SIGTERM after telling its players.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "connection/demo_recorder.h"
#include "connection/end_game.h"
#include "game/game_state.h"
#include "platform/headless_ui.h"
#include "platform/posix_network.h"
#include "server/agones_client.h"
#include "server/dedicated_server.h"
#include "server/metrics_server.h"
#include "shell/game_folder.h"

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
    case ParseResult::Version: std::printf("vrask-server %d.%d\n", kVersionMajor, kVersionMinor); return 0;
    case ParseResult::Bad: std::fprintf(stderr, "vrask-server: %s\n%s", error.c_str(), kDedicatedUsage); return 2;
    case ParseResult::Run: break;
  }
  // The demo file is named from where the server was started.
  if (!options.RecordFile.empty()) options.RecordFile = std::filesystem::absolute(options.RecordFile).string();
  if (!options.Dir.empty()) {
    std::vector<std::string> notCopied;
    if (!EnterGameFolder(options.Dir, &error, &notCopied)) {
      std::fprintf(stderr, "vrask-server: cannot use the folder %s: %s\n", options.Dir.c_str(), error.c_str());
      return 1;
    }
    for (const std::string& n : notCopied) std::fprintf(stderr, "vrask-server: not copied: %s\n", n.c_str());
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

  // The operators' HTTP (Agones sidecar, metrics page) runs on threads of
  // its own and sees only the snapshot each step hands over.
  SnapshotBox operators;
  MetricsServer metrics(operators);
  if (!options.MetricsHost.empty() && !metrics.Start(options.MetricsHost, options.MetricsPort)) {
    std::fprintf(stderr, "vrask-server: cannot serve metrics at %s:%d\n", options.MetricsHost.c_str(),
                 options.MetricsPort);
    return 1;
  }
  std::unique_ptr<AgonesClient> agones;
  if (options.Agones) {
    int sdkPort = AgonesSdkPort(std::getenv("AGONES_SDK_HTTP_PORT"));
    if (sdkPort < 0) {
      std::fprintf(stderr, "vrask-server: AGONES_SDK_HTTP_PORT is not a port number\n");
      return 1;
    }
    agones = std::make_unique<AgonesClient>("localhost", sdkPort, operators, AgonesTimings{},
                                            [](const std::string& problem) {
                                              std::fprintf(stderr, "vrask-server: %s\n", problem.c_str());
                                            });
  }

  if (!options.RecordFile.empty())
    ArmDemoRecording(g, options.RecordFile, static_cast<int64_t>(std::time(nullptr)),
                     [](const std::string& text) { std::fprintf(stderr, "vrask-server: %s\n", text.c_str()); });
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
  AnnounceDedicatedServer(g);
  operators.TryPublish(TakeOperatorSnapshot(g));
  if (agones) agones->Start();  // listening by now: ready may go out
  RunDedicatedServer(g, [&] { return !stopRequested && !ui.quitPosted; }, &operators);

  bool failed = ui.quitPosted && !stopRequested;
  g.OnBoardLine = nullptr;
  // EndGame also reloads "pakmap.map" for a next game; a server on its way
  // out has none, so a missing file (--map, --generate) is not reported.
  g.platform.ui = nullptr;
  EndGame(g);  // the shutdown datagram to every remote player
  if (agones) agones->Shutdown();
  metrics.Stop();
  return failed ? 1 : 0;
}
