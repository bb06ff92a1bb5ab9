// The headless dedicated server: its command line, its set-up (a game
// server in which the host does not play) and its stepping loop. The
// executable (server/main.cpp) supplies the platform and the signals.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "shell/command_line.h"

struct GameState;
class SnapshotBox;

struct DedicatedOptions {
  int Port = 2727;
  int TickInterval = 40;  // --speed fast; slow is 60
  int MaxPlayers = 8;
  bool ComputerFill = true;
  std::string MapFile = "pakmap.map";
  std::string Dir;  // --dir: the folder to work in; empty for the current one
  bool Generate = false;
  bool Seeded = false;
  uint32_t Seed = 0;
  bool RequireToken = false;  // --require-token: joins without a join token are refused
  bool Agones = false;      // --agones: talk to the Agones SDK sidecar
  std::string MetricsHost;  // --metrics ADDRESS:PORT; empty for none
  int MetricsPort = 0;
  std::string Name = "Vrask server";  // --name: in answers to game searches
  std::string RecordFile;  // --record: the demo file of the game
};

extern const char* const kDedicatedUsage;

// Reads the arguments after the program name. On Bad, error says why.
ParseResult ParseDedicatedOptions(const std::vector<std::string>& args, DedicatedOptions* out,
                                  std::string* error);

enum class StartResult { Started, MapFailed, BindFailed };

// Seeds Random, loads (or generates) the map, sets up the places for the
// computer, binds the socket and sets the status, as a game server does
// without its host taking part. Nothing is posted yet.
StartResult StartDedicatedServer(GameState& g, const DedicatedOptions& o);

// Marks the server running and posts "=Server Started=".
void AnnounceDedicatedServer(GameState& g);

// Steps on time until keepRunning answers false. Between steps it sleeps
// until the next one is due. After each step the frame transitions that a
// window would make while drawing are applied, the step's lateness is
// counted and, given operators, a snapshot is handed to them.
void RunDedicatedServer(GameState& g, const std::function<bool()>& keepRunning,
                        SnapshotBox* operators = nullptr);
