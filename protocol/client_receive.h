// The client's side of the protocol: what a connected client does with the
// server's datagrams at each step. Usable without a window: a program that
// has joined a server (connection/join_server.h) calls GameStep on time
// and this does the rest.
#pragma once

#include <cstddef>
#include <cstdint>

struct GameState;

// What ClientReceive took, and what the step then does.
enum ClientReceiveResult : int {
  kReceiveDropped = 0,  // a receive failure, or a datagram not starting "PM"
  kReceiveNothing = 1,  // nothing waiting, the name sent instead, or a stale update
  kReceiveNotice = 2,   // a notice is in LastServerMessage: HandleServerNotice
  kReceiveUpdate = 3,   // an update was applied: the server is alive
};

// Steps without an update after which the client gives up on its server,
// and steps without sending anything after which it sends its name again.
constexpr uint32_t kServerSilenceLimit = 200;
constexpr uint32_t kClientQuietLimit = 200;

// Takes at most one datagram from the server. While not yet a client, or
// after a quiet spell, sends the name instead (which also lets any sequence
// number through again).
int ClientReceive(GameState& g);

// Keeps a notice from the server (its first bytes) in LastServerMessage,
// zero-filled beyond them, for HandleServerNotice.
void KeepServerMessage(GameState& g, const uint8_t* d, size_t len);

// Applies a received update: kReceiveUpdate, kReceiveNothing for a stale
// one (its sequence number below the last), kReceiveDropped when the bytes
// are not a whole 218-byte update.
int ApplyUpdate(GameState& g, const uint8_t* d, size_t len);
