#pragma once

struct GameState;

// Ends the running game, if any, and returns the program to idle: the other
// side is told, the socket renewed, places freed, the menu and status reset,
// the board and chat entry emptied and "pakmap.map" loaded again. When that
// map cannot be loaded the program quits. Returns 0 in that case, else 1.
int EndGame(GameState& g);
