// The windowed program's command line.
#pragma once

#include <string>
#include <vector>

#include "render/scaled_copy.h"
#include "shell/option_reader.h"

struct GameOptions {
  int Scale = 0;  // 0: chosen from the screen (ChooseScale)
  bool ListServers = false;  // --list-servers: print the games found, no window
  int TimeoutMs = 800;       // --timeout: how long --list-servers listens
  std::string RecordFile;    // --record: the demo file of the next game
  std::string PlayFile;      // --play: the demo to show instead of a game
  std::string RenderDemo, RenderOut;  // --render-demo FILE OUT.png
  int RenderAt = 0;          // --at: the frame --render-demo writes
};

extern const char* const kGameUsage;      // --help, on standard output
extern const char* const kGameUsageLine;  // after an error, on standard error

// Reads the arguments after the program name. On Bad, error says why.
ParseResult ParseGameOptions(const std::vector<std::string>& args, GameOptions* out,
                             std::string* error);
