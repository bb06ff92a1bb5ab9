#include "shell/tick_schedule.h"

#include "connection/game_step.h"
#include "game/game_state.h"

namespace {

constexpr int kAnimationFrames = 8;
// The playfield and the status bar pick their pictures by FrameCounter / 2.
constexpr int kFramesPerPhase = 2;

uint32_t StepPeriod(const GameState& g) { return static_cast<uint32_t>(g.TickInterval & 0xFF) + 1; }

// Whether the idle picture changes when the animation phase does: every
// wall tile is drawn from the phase's column, the music note drifts with it,
// and a player or fireball left on the field (a game never started leaves
// none) is animated too.
bool IdlePictureMoves(const GameState& g) {
  if (g.MusicOn) return true;
  for (uint8_t t : g.Tiles)
    if (t != 0) return true;
  for (int i = 0; i < kSlotCount; ++i) {
    if (g.Players[i].Active) return true;
    char f = g.Fireballs[i].State;
    if (f == FireFlying || f == FireExploding) return true;
  }
  return false;
}

}  // namespace

bool GameRunning(const GameState& g) { return g.IsServer || g.IsClient; }

uint32_t MsUntilTickDue(const GameState& g, const TickNeeds& needs) {
  // The k-th step after the last one is due k periods after it.
  auto untilStep = [&](uint32_t k) {
    uint32_t elapsed = g.platform.clock->TickCount() - g.LastStepTime;
    return elapsed >= k * StepPeriod(g) ? 0 : k * StepPeriod(g) - elapsed;
  };
  if (GameRunning(g)) return untilStep(1);
  if (!needs.windowShown || !IdlePictureMoves(g)) return kNoTickDue;
  // The phase moves on at the step that makes FrameCounter even.
  return untilStep((g.FrameCounter + 1) % kFramesPerPhase == 0 ? 1 : 2);
}

int CatchUpIdleSteps(GameState& g) {
  if (GameRunning(g)) return 0;
  uint32_t period = StepPeriod(g);
  uint32_t due = (g.platform.clock->TickCount() - g.LastStepTime) / period;
  int ran = 0;
  // The last step due is the tick's own; a longer sleep is not made up.
  while (due > 1 && ran < kAnimationFrames - 1) {
    g.LastStepTime += period;
    GameStep(g);
    g.FrameCounter = static_cast<uint8_t>((g.FrameCounter + 1) % kAnimationFrames);
    --due;
    ++ran;
  }
  return ran;
}
