// What the server knows of its players' addresses and silences, shared by
// the server's receive and its step.
#pragma once

struct GameState;
struct NetAddress;

// Pre-pass: times out slot i when its player has been silent too long.
void ServerTimeoutTest(GameState& g, int slot);

// The sender's slot: the last of the first MaxPlayers slots that is active,
// of kind "i" and has the sender's IPv4 address (the port is ignored); -1
// when the sender has no slot.
int FindSenderSlot(const GameState& g, const NetAddress& from);
