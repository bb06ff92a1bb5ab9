// The energy pass and the fireball pass of the game step.
#pragma once

struct GameState;

// Recharges unshielded players by one and drains raised shields by one; a
// shield with no energy left drops.
void EnergyPass(GameState& g);

// Clears exploded fireballs at FrameCounter 0 and moves flying ones; one that
// leaves the field explodes there.
void FireballPass(GameState& g);
