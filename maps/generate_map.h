// A new random maze for the running game.
#pragma once

struct GameState;

// Replaces Tiles with a generated maze, sends it to every internet player
// when the server admits them, and marks the map for a full repaint.
// Always returns 1.
int GenerateMap(GameState& g);
