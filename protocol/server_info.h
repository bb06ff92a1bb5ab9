// The server-information request and its answer: how a player finds the
// games running nearby without typing an address.
//
// The two type letters are ones the game's own protocol never uses, so a
// server or client that knows only that protocol drops both. The request
// carries a version and is padded to kInfoRequestLength; a server answers
// only a request at least that long, and the answer is never longer than
// the request that asked for it, so a forged request (a victim's address as
// sender) can never make a server send more than the forger sent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "protocol/datagrams.h"

constexpr char kInfoRequestType = 'q';
constexpr char kInfoAnswerType = 'r';
constexpr uint8_t kInfoVersion = 1;  // of the request and of the answer
constexpr size_t kInfoRequestLength = 128;
constexpr size_t kInfoNameMax = 16;       // characters of a server's name
constexpr size_t kInfoDescriptionMax = 64;  // as a map description holds

// Answer, version 1 (later versions may only append fields):
//   0-2 "PMr", 3 answer version, 4-5 the join version digits "1" "0",
//   6-22 server name (zero-padded, 16 characters at most),
//   23-87 map description (zero-padded, 64 characters at most),
//   88 players, 89 places, 90 step length in ms, 91 flags (bit 0: tokens).
constexpr size_t kInfoAnswerLength = 92;
static_assert(kInfoAnswerLength <= kInfoRequestLength, "an answer may never outgrow its request");

struct ServerInfo {
  int version = kInfoVersion;  // of the answer as received
  std::string protocol;        // the join version digits, "10"
  std::string name;
  std::string description;
  int players = 0;
  int places = 0;
  int tickInterval = 0;
  bool requiresTokens = false;
};

// "PMq", the version byte and zero filler: kInfoRequestLength bytes.
void BuildInfoRequest(DatagramBuffer& out);
// True when the request is long enough to be answered under the size rule.
bool InfoRequestAnswerable(const uint8_t* d, size_t len);

void BuildInfoAnswer(DatagramBuffer& out, const ServerInfo& info);
// False for anything not a version 1 (or later) answer of at least
// kInfoAnswerLength bytes, or longer than a request could have asked for.
// Texts are cut at their field's end whether or not a terminator came.
bool ParseInfoAnswer(const uint8_t* d, size_t len, ServerInfo* info);

// What this server would answer now: its name, the map's description, the
// players in places of kind 'i' and the host's own player, its places, its
// speed and the token flag.
ServerInfo DescribeServer(const GameState& g);
