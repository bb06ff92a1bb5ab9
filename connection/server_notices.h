// A connected client's reaction to the server's notices (a new map, a kick,
// the server shutting down, a new message board) and to a silent server.
#pragma once

#include <cstddef>
#include <cstdint>

struct GameState;

// Acts on the type letter of LastServerMessage: 'f' fetches the new map,
// 'k' and 's' end the game with a message, 't' takes the message board;
// any other letter is ignored.
void HandleServerNotice(GameState& g);

// A kick or close notice that arrives while the client holds the thread
// waiting for the map (d, len: the datagram from the server): ends the game
// as HandleServerNotice would and returns true; false for anything else.
bool HandleGameEndingNotice(GameState& g, const uint8_t* d, size_t len);

// A connected client has heard nothing from its server for too long: tell
// the server, end the game and say so.
void ClientGiveUpOnServer(GameState& g);

// Takes the message board out of LastServerMessage; when any line differs
// from the board shown, rings and copies all eight lines.
void TakeChatBoard(GameState& g);
