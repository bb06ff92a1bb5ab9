#include "shell/command_line.h"

const char* const kGameUsageLine =
    "usage: vrask [--scale N] [--list-servers [--timeout MS]] [--help] [--version]\n";

const char* const kGameUsage =
    "usage: vrask [--scale N] [--list-servers [--timeout MS]] [--help] [--version]\n"
    "  --scale N   show every pixel as an N x N block, 1..4 (default: from the\n"
    "              screen's device pixel ratio, 1 on an ordinary screen)\n"
    "  --list-servers  print the games found on the local network and on this\n"
    "              machine, one a line (ADDRESS:PORT, name, map, players/places,\n"
    "              ping, separated by tabs), without a window; exit 1 when none\n"
    "  --timeout MS  how long --list-servers waits for answers, 1..60000 (800)\n"
    "  --help      show this and exit\n"
    "  --version   show the version and exit\n"
    "The game folder is $VRASK_HOME, else $XDG_DATA_HOME/vrask, else\n"
    "~/.local/share/vrask; missing shipped files are copied into it.\n";

ParseResult ParseGameOptions(const std::vector<std::string>& args, GameOptions* out,
                             std::string* error) {
  const std::vector<Option> options = {
      {"--scale", true, [out](const std::string& v, std::string* error) {
         if (v.size() != 1 || v[0] < '1' || v[0] > '0' + kMaxScale) {
           *error = "the scale must be a whole number from 1 to 4";
           return false;
         }
         out->Scale = v[0] - '0';
         return true;
       }},
      FlagOption("--list-servers", &out->ListServers, true),
      NumberOption("--timeout", 1, 60000, "the timeout must be a number of ms from 1 to 60000",
                   [out](long long n) { out->TimeoutMs = static_cast<int>(n); }),
  };
  return ReadOptions(args, options, true, error);
}
