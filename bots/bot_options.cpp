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

bool ToPercent(const std::string& s, double* out) {
  double v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !(v >= 0 && v <= 100))
    return false;
  *out = v / 100;
  return true;
}

Option PercentOption(const std::string& name, double* to) {
  return {name, true, [=](const std::string& v, std::string* error) {
            if (ToPercent(v, to)) return true;
            *error = name + " needs a percentage from 0 to 100";
            return false;
          }};
}

}  // namespace

ParseResult ParseBotOptions(const std::vector<std::string>& args, BotOptions* o,
                            std::string* error) {
  const std::vector<Option> options = {
      {"--server", true, [o](const std::string& v, std::string* error) {
         if (v.empty() || v.size() > 254) {
           *error = "--server needs a host name or address";
           return false;
         }
         o->Server = v;
         return true;
       }},
      NumberOption("--port", 1, 65000, "the port must be a number from 1 to 65000",
                   [o](long long n) { o->Port = static_cast<int>(n); }),
      NumberOption("--count", 1, kMaxBots,
                   "the count must be a number from 1 to " + std::to_string(kMaxBots),
                   [o](long long n) { o->Count = static_cast<int>(n); }),
      NumberOption("--seconds", 1, 100000000, "the seconds must be a number from 1 to 100000000",
                   [o](long long n) { o->Seconds = static_cast<int>(n); }),
      NumberOption("--seed", 0, 0xFFFFFFFFll, "the seed must be a number from 0 to 4294967295",
                   [o](long long n) {
                     o->Seed = static_cast<uint32_t>(n);
                     o->Seeded = true;
                   }),
      PercentOption("--loss", &o->Faults.Loss),
      PercentOption("--duplicate", &o->Faults.Duplicate),
      PercentOption("--reorder", &o->Faults.Reorder),
      NumberOption("--delay", 0, 10000, "the delay must be a number of milliseconds from 0 to 10000",
                   [o](long long n) { o->Faults.DelayMs = static_cast<uint32_t>(n); }),
  };
  // vrask-bots has no --version: it is taken for an unknown option.
  return ReadOptions(args, options, false, error);
}
