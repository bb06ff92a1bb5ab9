// A join request to the server.
#pragma once

#include <cstddef>
#include <cstdint>

struct GameState;
struct NetAddress;

// A join request: accept it or send every denial that applies.
void HandleJoinRequest(GameState& g, const uint8_t* d, size_t len, const NetAddress& from,
                       int senderSlot);
