// vrask-bots: joins headless network clients to a server, each playing by
// the computer players' rules, optionally over a simulated bad link. Prints
// one line per event and a summary line at the end.
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "bots/bot_fleet.h"
#include "bots/bot_options.h"

namespace {

std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);
void RequestStop(int) { stopRequested.store(true); }

void PrintLine(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  BotOptions options;
  std::string error;
  switch (ParseBotOptions(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
    case ParseResult::Help: std::fputs(kBotsUsage, stdout); return 0;
    case ParseResult::Bad: std::fprintf(stderr, "vrask-bots: %s\n%s", error.c_str(), kBotsUsage); return 2;
    default: break;
  }
  bool resolved = false;
  const bool loopback = ServerIsLoopback(options.Server, &resolved);
  if (!resolved) {
    std::fprintf(stderr, "vrask-bots: cannot resolve the server name %s\n", options.Server.c_str());
    return 2;
  }
  if (!loopback && options.Count > 1) {
    std::fprintf(stderr,
                 "vrask-bots: a server on another machine tells players apart by address, so "
                 "this machine can field only one bot there (asked for %d)\n",
                 options.Count);
    return 2;
  }
  const uint32_t seed = options.Seeded
                            ? options.Seed
                            : static_cast<uint32_t>(
                                  std::chrono::steady_clock::now().time_since_epoch().count());

  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
  const BotTotals totals = RunBots(options, seed, stopRequested, PrintLine);
  PrintLine(SummaryLine(totals, options.Count));
  return totals.AllPlayedThrough ? 0 : 1;
}
