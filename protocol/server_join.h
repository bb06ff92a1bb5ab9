// A join request to the server.
#pragma once

#include <cstddef>
#include <cstdint>

struct GameState;
struct NetAddress;

// True when a reply may go to the sender: always to a sender with a place,
// to others as often as the stranger limiter allows (takes its tokens).
bool MayAnswerStranger(GameState& g, int senderSlot, const NetAddress& from);

// A join datagram, marked or plain. A marked join without a valid cookie
// draws only the challenge; a plain one, on a server that requires tokens,
// only the "v" denial. Otherwise HandleJoinRequest.
void HandleJoinDatagram(GameState& g, const uint8_t* d, size_t len, const NetAddress& from,
                        int senderSlot);

// A join request: accept it or send every denial that applies. proven: the
// sender returned a valid cookie, so a join from the very address and port
// that holds a place is answered with the accept again (its first accept
// was lost) instead of the "a" denial.
void HandleJoinRequest(GameState& g, const uint8_t* d, size_t len, const NetAddress& from,
                       int senderSlot, bool proven = false);
