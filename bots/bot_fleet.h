// Runs a number of bots, each a whole network client of its own (the same
// joining, receiving, keep-alive and notice handling as the window's
// client) on its own thread, and counts what they did.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "bots/bot_options.h"

struct BotTotals {
  int Joined = 0;
  int Playing = 0;  // still in the game at the end
  uint64_t Sent = 0, Received = 0, Updates = 0;
  // Every bot joined and was still playing at the end.
  bool AllPlayedThrough = false;
};

// Receives one event line ("Bot 2: joined" ...); called from the bots'
// threads one at a time.
using BotSay = std::function<void(const std::string& line)>;

// True when the server is a loopback address (127.x.x.x) on this machine,
// where each bot can send from its own address. *resolved is false when
// the name did not resolve.
bool ServerIsLoopback(const std::string& server, bool* resolved);

// Joins o.Count bots and plays until stop becomes true or o.Seconds have
// passed (seed: the bots' own; each bot gets seed + its number). Each bot
// that is still playing then leaves properly.
BotTotals RunBots(const BotOptions& o, uint32_t seed, const std::atomic<bool>& stop,
                  const BotSay& say);

// "bots still playing: 8 of 8, datagrams sent 1200, received 9000, updates applied 8800"
std::string SummaryLine(const BotTotals& t, int count);
