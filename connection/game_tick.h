// The game's heartbeat: a step whenever more than TickInterval ms passed.
#pragma once

#include <cstdint>

struct GameState;

// Runs one step when strictly more than the low byte of TickInterval ms have
// passed since LastStepTime (the unsigned difference survives the tick
// count's wrap-around), advances FrameCounter and asks for a repaint.
// At most one step per call; late time is not made up. True when it stepped.
bool GameTick(GameState& g);

// Milliseconds until GameTick will next step (0 when it is due), so the
// shell can sleep until then instead of polling.
uint32_t MsUntilNextStep(GameState& g);
