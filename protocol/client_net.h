// The client's side of the protocol, called from GameStep.
#pragma once

struct GameState;

// A connected client has heard nothing from its server for too long: tell
// the server, end the game and say so.
void ClientGiveUpOnServer(GameState& g);
// Takes at most one datagram from the server and applies it (an update) or
// hands it to the notice handling.
void ClientReceivePhase(GameState& g);
