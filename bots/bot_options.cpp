#include "bots/bot_options.h"

#include <charconv>

const char* const kBotsUsage =
    "usage: vrask-bots [--server HOST] [--port N] [--count N] [--seconds S] [--seed N]\n"
    "                  [--loss P] [--duplicate P] [--reorder P] [--delay MS]\n"
    "  --server HOST    the server to join (default localhost)\n"
    "  --port N         its UDP port, 1..65000 (default 2727)\n"
    "  --count N        bots to join, 1..253 (default 1); more than one needs a\n"
    "                   server on this machine (127.x.x.x), each bot sending from\n"
    "                   its own address 127.0.0.2, 127.0.0.3, ...\n"
    "  --seconds S      leave after S seconds (default: at Ctrl+C)\n"
    "  --seed N         seed of the bots' choices and of the bad link (default: clock)\n"
    "  --loss P         percent of datagrams lost, both ways (0..100, default 0)\n"
    "  --duplicate P    percent of datagrams arriving twice\n"
    "  --reorder P      percent of datagrams overtaken by the next one\n"
    "  --delay MS       every datagram arrives MS milliseconds later (0..10000)\n"
    "  --help\n"
    "exit status: 0 when every bot played from its join to the end, 1 otherwise,\n"
    "2 for bad arguments\n";

namespace {

bool ToNumber(const std::string& s, long long lo, long long hi, long long* out) {
  long long v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi) return false;
  *out = v;
  return true;
}

bool ToPercent(const std::string& s, double* out) {
  double v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !(v >= 0 && v <= 100))
    return false;
  *out = v / 100;
  return true;
}

}  // namespace

ParseResult ParseBotOptions(const std::vector<std::string>& args, BotOptions* o,
                            std::string* error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-h" || a == "--help") return ParseResult::Help;
    const bool known = a == "--server" || a == "--port" || a == "--count" || a == "--seconds" ||
                       a == "--seed" || a == "--loss" || a == "--duplicate" ||
                       a == "--reorder" || a == "--delay";
    if (!known) {
      *error = "unknown argument " + a;
      return ParseResult::Bad;
    }
    if (i + 1 >= args.size()) {
      *error = a + " needs a value";
      return ParseResult::Bad;
    }
    const std::string& v = args[++i];
    long long n = 0;
    if (a == "--server") {
      if (v.empty() || v.size() > 254) {
        *error = "--server needs a host name or address";
        return ParseResult::Bad;
      }
      o->Server = v;
    } else if (a == "--port") {
      if (!ToNumber(v, 1, 65000, &n)) {
        *error = "the port must be a number from 1 to 65000";
        return ParseResult::Bad;
      }
      o->Port = static_cast<int>(n);
    } else if (a == "--count") {
      if (!ToNumber(v, 1, kMaxBots, &n)) {
        *error = "the count must be a number from 1 to " + std::to_string(kMaxBots);
        return ParseResult::Bad;
      }
      o->Count = static_cast<int>(n);
    } else if (a == "--seconds") {
      if (!ToNumber(v, 1, 100000000, &n)) {
        *error = "the seconds must be a number from 1 to 100000000";
        return ParseResult::Bad;
      }
      o->Seconds = static_cast<int>(n);
    } else if (a == "--seed") {
      if (!ToNumber(v, 0, 0xFFFFFFFFll, &n)) {
        *error = "the seed must be a number from 0 to 4294967295";
        return ParseResult::Bad;
      }
      o->Seed = static_cast<uint32_t>(n);
      o->Seeded = true;
    } else if (a == "--delay") {
      if (!ToNumber(v, 0, 10000, &n)) {
        *error = "the delay must be a number of milliseconds from 0 to 10000";
        return ParseResult::Bad;
      }
      o->Faults.DelayMs = static_cast<uint32_t>(n);
    } else {
      double* p = a == "--loss" ? &o->Faults.Loss
                  : a == "--duplicate" ? &o->Faults.Duplicate
                                       : &o->Faults.Reorder;
      if (!ToPercent(v, p)) {
        *error = a + " needs a percentage from 0 to 100";
        return ParseResult::Bad;
      }
    }
  }
  return ParseResult::Run;
}
