// The right-hand column of the window (from x 540): connection state, the
// server's addresses, the player list, the chat board and the chat input.
#pragma once

struct GameState;
struct Surface;

// Where the bar and its pieces sit.
constexpr int kStatusBarX = 540;

// Runs at the start of every paint: every third paint at FrameCounter 0
// moves the address line on to the next of the three server addresses.
void AdvanceStatusPhase(GameState& g);

// The idle bar (bricks and music icon) while "Not Connected", otherwise
// the full bar. Draws from the game's Random for the flicker and tremble.
void DrawStatusBar(GameState& g, Surface& s);

// Top-left of the k-th listed player's line (x, y as the gauge is placed):
// each line one pixel further right and 21 lower than the one before.
constexpr int PlayerLineX(int k) { return 543 + k; }
constexpr int PlayerLineY(int k) { return 134 + 21 * k; }
