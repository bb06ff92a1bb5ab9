#include "shell/command_line.h"

const char* const kGameUsageLine =
    "usage: vrask [--scale N] [--record FILE | --play FILE] [--list-servers [--timeout MS]]\n"
    "             [--render-demo FILE OUT.png --at STEP] [--help] [--version]\n";

const char* const kGameUsage =
    "usage: vrask [--scale N] [--record FILE | --play FILE] [--list-servers [--timeout MS]]\n"
    "             [--render-demo FILE OUT.png --at STEP] [--help] [--version]\n"
    "  --scale N   show every pixel as an N x N block, 1..4 (default: from the\n"
    "              screen's device pixel ratio, 1 on an ordinary screen)\n"
    "  --list-servers  print the games found on the local network and on this\n"
    "              machine, one a line (ADDRESS:PORT, name, map, players/places,\n"
    "              ping, separated by tabs), without a window; exit 1 when none\n"
    "  --timeout MS  how long --list-servers waits for answers, 1..60000 (800)\n"
    "  --record FILE  record the next game played into the demo FILE\n"
    "  --play FILE  play the demo FILE back in the window: Space pauses,\n"
    "              Left/Right a second back or forward, Up/Down faster or\n"
    "              slower (1/4x to 8x), Home from the start, Escape quits\n"
    "  --render-demo FILE OUT.png --at STEP  write the frame of the demo FILE\n"
    "              at STEP (from 0) as a PNG picture, without a window\n"
    "  --help      show this and exit\n"
    "  --version   show the version and exit\n"
    "The game folder is $VRASK_HOME, else $XDG_DATA_HOME/vrask, else\n"
    "~/.local/share/vrask; missing shipped files are copied into it.\n";

ParseResult ParseGameOptions(const std::vector<std::string>& given, GameOptions* out,
                             std::string* error) {
  // --render-demo takes two values; the reader takes options of one.
  std::vector<std::string> args = given;
  for (size_t i = 0; i < args.size(); ++i)
    if (args[i] == "--render-demo") {
      if (i + 2 >= args.size()) {
        *error = "--render-demo needs a demo file and a picture file";
        return ParseResult::Bad;
      }
      out->RenderDemo = args[i + 1];
      out->RenderOut = args[i + 2];
      args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 3);
      break;
    }
  bool atGiven = false;
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
      {"--record", true, [out](const std::string& v, std::string*) { out->RecordFile = v; return true; }},
      {"--play", true, [out](const std::string& v, std::string*) { out->PlayFile = v; return true; }},
      NumberOption("--at", 0, 0x7FFFFFFF, "the step must be a whole number from 0",
                   [out, &atGiven](long long n) {
                     out->RenderAt = static_cast<int>(n);
                     atGiven = true;
                   }),
  };
  ParseResult r = ReadOptions(args, options, true, error);
  if (r != ParseResult::Run) return r;
  if (atGiven != !out->RenderDemo.empty()) {
    *error = atGiven ? "--at belongs to --render-demo" : "--render-demo needs --at STEP";
    return ParseResult::Bad;
  }
  if (!out->RecordFile.empty() && !out->PlayFile.empty()) {
    *error = "a demo cannot be recorded while one is played";
    return ParseResult::Bad;
  }
  return r;
}
