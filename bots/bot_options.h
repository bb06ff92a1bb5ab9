// vrask-bots' command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/faulty_socket.h"
#include "shell/command_line.h"

struct BotOptions {
  std::string Server = "localhost";
  int Port = 2727;
  int Count = 1;
  int Seconds = 0;  // 0: until SIGINT or SIGTERM
  bool Seeded = false;
  uint32_t Seed = 0;
  LinkFaults Faults;  // Seed is set per bot when the bots start
};

// Loopback source addresses 127.0.0.2 .. 127.0.0.254 give this many bots.
constexpr int kMaxBots = 253;

extern const char* const kBotsUsage;

// Reads the arguments after the program name. On Bad, error says why.
ParseResult ParseBotOptions(const std::vector<std::string>& args, BotOptions* out,
                            std::string* error);
