// A connected client's reaction to the server's notices (a new map, a kick,
// the server shutting down, a new message board) and to a silent server.
#pragma once

struct GameState;

// Acts on the type letter of LastServerMessage: 'f' fetches the new map,
// 'k' and 's' end the game with a message, 't' takes the message board;
// any other letter is ignored.
void HandleServerNotice(GameState& g);

// Takes the message board out of LastServerMessage; when any line differs
// from the board shown, rings and copies all eight lines.
void TakeChatBoard(GameState& g);
