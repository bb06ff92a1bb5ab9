// Finding the games on the local network: one information request to every
// interface's broadcast address and to this machine, on the usual ports,
// and the answers that come back within a short window. Needs no window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "protocol/server_info.h"

constexpr uint16_t kFirstSearchPort = 2727;  // ports asked on every search
constexpr uint16_t kLastSearchPort = 2730;
constexpr uint32_t kFindServersMs = 800;     // how long answers are collected
// A search lists at most this many servers: a flood of forged answers
// cannot grow the list without bound.
constexpr size_t kMaxServersFound = 64;

struct FoundServer {
  NetAddress address;  // where it answered from: what a join goes to
  ServerInfo info;
  uint32_t pingMs = 0;  // from sending the requests to its answer
};

// Sends the requests (also on typedPort when it is not 0 and not one of
// the usual ports) and collects answers for windowMs. Each server is listed
// once, in the order its first answer came; one that answered both through
// a broadcast and on 127.0.0.1 is the same server. Anything that is not a
// well-formed answer from a port that was asked is dropped.
std::vector<FoundServer> FindServers(Network& net, Clock& clock, uint16_t typedPort,
                                     uint32_t windowMs = kFindServersMs);

// One line of vrask --list-servers, without its newline:
// ADDRESS:PORT<TAB>NAME<TAB>MAP<TAB>PLAYERS/PLACES<TAB>PING ms. Tabs and
// control characters inside a name or map description become spaces, so a
// server cannot break the columns.
std::string ServerListLine(const FoundServer& s);
