// The message board's newest line, written and sent: a server sends the
// whole board to its remote players after every new line.
#pragma once

struct GameState;

// StatusMessage as the newest board line, in the status colour.
void PostStatusMessage(GameState& g);
// A chat text as the newest board line, in the colour of place `slot`.
void AppendChatLine(GameState& g, int slot, const char* text);
// On a server open to the network: the board to every remote player.
void BroadcastChatBoard(GameState& g);
