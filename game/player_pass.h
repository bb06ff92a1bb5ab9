// The player pass of the game step.
#pragma once

struct GameState;

// Turns, stops at walls and the rim, moves, then meets the other players and
// the fireballs.
void PlayerPass(GameState& g);
