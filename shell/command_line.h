// The windowed program's command line.
#pragma once

#include <string>
#include <vector>

#include "shell/option_reader.h"

// The size of a shown picture pixel, in screen pixels: 1..4.
constexpr int kMaxScale = 4;

struct GameOptions {
  int Scale = 0;  // 0: chosen from the screen (ChooseScale)
};

extern const char* const kGameUsage;      // --help, on standard output
extern const char* const kGameUsageLine;  // after an error, on standard error

// Reads the arguments after the program name. On Bad, error says why.
ParseResult ParseGameOptions(const std::vector<std::string>& args, GameOptions* out,
                             std::string* error);
