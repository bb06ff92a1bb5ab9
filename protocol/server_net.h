// The server's side of the protocol, called from GameStep.
#pragma once

#include <cstddef>
#include <cstdint>

struct GameState;
struct NetAddress;

// Pre-pass: times out slot i when its player has been silent too long.
void ServerTimeoutTest(GameState& g, int slot);
// Drains every waiting datagram and applies it.
void ServerReceive(GameState& g);
// After the simulation: periodic map re-sends and this step's update.
void ServerSend(GameState& g);

// The sender's slot: the last of the first MaxPlayers slots that is active,
// of kind "i" and has the sender's IPv4 address (the port is ignored); -1
// when the sender has no slot.
int FindSenderSlot(const GameState& g, const NetAddress& from);
// Applies one received datagram of len bytes (at most 255 are read).
void HandleServerDatagram(GameState& g, const uint8_t* d, size_t len, const NetAddress& from);
// A join request: accept it or send every denial that applies.
void HandleJoinRequest(GameState& g, const uint8_t* d, size_t len, const NetAddress& from,
                       int senderSlot);
