// One game step on a server with eight computer players, as the headless
// server runs it: the step, the next frame and the frame's transitions.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "connection/game_step.h"
#include "game/frame_transitions.h"
#include "game/game_state.h"
#include "maps/maze_generator.h"
#include "support/test_game.h"

namespace {

void SetUpEightComputers(GameState& g) {
  g.IsServer = 1;
  g.AllowInternet = 0;
  g.ComputerFill = 1;
  g.MaxPlayers = 8;
  g.SoundsOn = 0;
  GenerateMaze(g, g.Tiles);
  for (int i = 0; i < kSlotCount; ++i) MakeComputerSlot(g, i, i + 1);
}

void BM_GameStepEightComputers(benchmark::State& state) {
  TestGame t(2727);
  GameState& g = t.g;
  SetUpEightComputers(g);
  for (auto _ : state) {
    GameStep(g);
    g.FrameCounter = static_cast<uint8_t>((g.FrameCounter + 1) % 8);
    ApplyFrameTransitions(g);
    benchmark::DoNotOptimize(g.Players);
  }
  int frags = 0;
  for (const PlayerSlot& p : g.Players) frags += p.Frags;
  state.counters["frags"] = frags;  // shows the game really went on
}
BENCHMARK(BM_GameStepEightComputers);

}  // namespace
