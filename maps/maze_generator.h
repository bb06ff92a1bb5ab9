// The random maze: a perfect maze over a 6 x 6 lattice of rooms, a floor
// corridor round it, a few thinned spots and usually one obstacle in the
// corridor, inside a border of code 1. Every random number comes from the
// game's generator in a fixed order, so a seed always gives the same maze.
#pragma once

#include "game/game_state.h"

// Fills grid with a new maze. Players are not consulted.
void GenerateMaze(GameState& g, TileMap& grid);

// The first half of GenerateMaze, on its own so that tests can look at the
// carved maze before the corridor opens around it: random wall styles, the
// lattice rooms, a border of code 2 and the 35 walls opened between rooms.
void CarveMaze(GameState& g, TileMap& grid);
