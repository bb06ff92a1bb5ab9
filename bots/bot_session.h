// A bot's time on a server in its three parts: joining (asking again while
// the server may still hold a place for it), each step of play, and
// leaving. The bots' threads and the bad-link client test share them.
#pragma once

#include <cstdint>
#include <string>

#include "connection/join_server.h"
#include "game/random.h"
#include "platform/faulty_socket.h"

struct GameState;

// How a bot joins: up to this many attempts per try (each holds the thread
// for a second), and how long it keeps trying while the server has no
// answer or still holds a place for its address: longer than the server
// takes to time a silent player out.
constexpr int kJoinAttempts = 5;
constexpr uint32_t kJoinPatienceMs = 40000;

// Joins g (platform, socket and nickname set up) to serverName:port over a
// link with the given faults, trying again while that may still succeed;
// giveUp, when given, ends it at once. The last try's result.
JoinResult JoinAsBot(GameState& g, const std::string& serverName, int port,
                     const LinkFaults& faults, const JoinGiveUp& giveUp);

// After a game step of a joined bot: the frame's transitions, then the keys
// its rules choose. Counts in *updates a step on which an update arrived.
// False when the game has ended (IsClient clear).
bool AfterBotStep(GameState& g, RandomSource& choices, uint64_t* updates);

// Leaves the game properly: the leaving datagram, let out first on a
// delaying link, then the game ended without a message box.
void LeaveAsBot(GameState& g, const LinkFaults& faults);
