#include "shell/command_line.h"

const char* const kGameUsageLine = "usage: vrask [--scale N] [--help] [--version]\n";

const char* const kGameUsage =
    "usage: vrask [--scale N] [--help] [--version]\n"
    "  --scale N   show every pixel as an N x N block, 1..4 (default: from the\n"
    "              screen's device pixel ratio, 1 on an ordinary screen)\n"
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
       }}};
  return ReadOptions(args, options, true, error);
}
