// One step of a recorded game as the player held it: everything the window
// draws from (players, fireballs, maze, board, status texts, the flags that
// choose what the bar shows) and the sound effect the step played, laid out
// in a fixed number of bytes. Consecutive frames differ in few bytes, which
// is what the demo file's delta coding relies on.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

struct GameState;

// The bytes of one frame. The layout is the file format's: changing it
// means a new demo format version.
constexpr size_t kDemoFrameBytes = 1199;
using DemoFrame = std::array<uint8_t, kDemoFrameBytes>;

// Sound effects a frame can name, by number 1..8 (0: none this step).
constexpr int kDemoEffectCount = 8;
extern const char* const kDemoEffects[kDemoEffectCount];
// The number of an effect file, 0 for one not in the list.
int DemoEffectNumber(const char* file);

// The frame of the state as it is now. The effect is g.LastEffect.
DemoFrame TakeDemoFrame(const GameState& g);

// Whether a decoded frame could have come from a game: tile codes 0..10,
// flags 0 or 1. Other fields hold whatever a peer sent and are drawn safely
// whatever they hold. On false, what names what was wrong.
bool DemoFrameValid(const DemoFrame& frame, std::string* what);

// Puts a frame into a state that only shows it: the fields the window draws
// from. MapDirty is set when the maze changed (the next paint clears the
// window). Returns the frame's effect number.
int ApplyDemoFrame(const DemoFrame& frame, GameState& g);
