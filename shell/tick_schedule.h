// When the window's timer must next call the tick.
//
// While a game runs the tick is due once a step (MsUntilNextStep). With no
// game running a step changes nothing but the animation counter (and a draw
// of the random generator), so the window need not wake for every one: only
// when the picture it shows would change, that is when the animation phase
// (FrameCounter / 2) moves on and something on screen is drawn by phase
// (the wall tiles, the music note), and never while the window is hidden.
// The steps skipped meanwhile are run when it wakes (CatchUpIdleSteps), so
// the animation keeps its speed. Everything else that can change the
// picture (input, a menu command, a music notice, a game starting) wakes the
// window through its repaint request or its own event.
#pragma once

#include <cstdint>

struct GameState;

// What MsUntilTickDue returns when no timer is needed: the window sleeps
// until something wakes it.
constexpr uint32_t kNoTickDue = UINT32_MAX;

// What besides the game state decides whether the tick must run. New reasons
// to keep the timer running join here.
struct TickNeeds {
  bool windowShown = true;  // shown and not minimised
};

// The milliseconds until the tick must next run (0: now), or kNoTickDue.
uint32_t MsUntilTickDue(const GameState& g, const TickNeeds& needs);

// True while a game runs: a server (with or without its own player) or a
// connected client.
bool GameRunning(const GameState& g);

// With no game running, runs the steps that fell due while the window slept,
// all but the last (the tick that follows runs that one), at most seven so
// the animation counter never laps itself; each is timed as if the tick had
// called it on time. Returns how many it ran.
int CatchUpIdleSteps(GameState& g);
