// The server's side of the protocol, called from GameStep.
#pragma once

struct GameState;

// Pre-pass: times out slot i when its player has been silent too long.
void ServerTimeoutTest(GameState& g, int slot);
// Drains every waiting datagram and applies it.
void ServerReceive(GameState& g);
// After the simulation: periodic map re-sends and this step's update.
void ServerSend(GameState& g);
