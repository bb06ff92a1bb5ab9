// The server's receive, called from GameStep.
#pragma once

#include <cstddef>
#include <cstdint>

struct GameState;
struct NetAddress;

// Drains every waiting datagram and applies it.
void ServerReceive(GameState& g);
// Applies one received datagram of len bytes (at most 255 are read).
void HandleServerDatagram(GameState& g, const uint8_t* d, size_t len, const NetAddress& from);
