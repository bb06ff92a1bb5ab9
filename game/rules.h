// The rules that advance the game by one step, in the order GameStep runs
// them: energy, (computer players), fireballs, players. Each pass works on
// all eight slots in slot order.
#pragma once

struct GameState;

constexpr int kPlayerSpeed = 4;       // pixels per step
constexpr int kFireballSpeed = 10;    // pixels per step
constexpr int kFireballLaunchOffset = 39;  // a fireball starts this far ahead of its player
constexpr int kFireballHitSpan = 19;  // hit window: 20 pixels on both axes
constexpr int kFieldLow = 40;         // a fireball outside [40, 480] explodes
constexpr int kFieldHigh = 480;
constexpr int kMaxFrags = 255;

// Recharges unshielded players by one and drains raised shields by one; a
// shield with no energy left drops.
void EnergyPass(GameState& g);

// Clears exploded fireballs at FrameCounter 0 and moves flying ones; one that
// leaves the field explodes there.
void FireballPass(GameState& g);

// Turns, stops at walls and the rim, moves, then meets the other players and
// the fireballs.
void PlayerPass(GameState& g);

// The contacts of slot i with every other slot, after i has moved.
void PlayerContacts(GameState& g, int i);

// The player explodes; frags change by fragChange (0 or -1), never below 0.
// Reaching 255 frags starts everybody over: all frags 0, this slot 1.
void KillPlayer(GameState& g, int slot, int fragChange);
