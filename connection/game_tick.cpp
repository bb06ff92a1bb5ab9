#include "connection/game_tick.h"

#include "connection/game_step.h"
#include "game/game_state.h"

bool GameTick(GameState& g) {
  uint32_t now = g.platform.clock->TickCount();
  if (now - g.LastStepTime <= static_cast<uint32_t>(g.TickInterval & 0xFF)) return false;
  g.LastStepTime = g.platform.clock->TickCount();
  GameStep(g);
  g.FrameCounter = static_cast<uint8_t>((g.FrameCounter + 1) % 8);
  if (g.Watcher) g.Watcher->AfterStep(g);
  if (g.platform.ui) g.platform.ui->InvalidateWindow();
  return true;
}

uint32_t MsUntilNextStep(GameState& g) {
  uint32_t elapsed = g.platform.clock->TickCount() - g.LastStepTime;
  uint32_t interval = static_cast<uint32_t>(g.TickInterval & 0xFF);
  return elapsed > interval ? 0 : interval + 1 - elapsed;
}
