// What recording a demo costs a step of an eight-player game (computer
// players on a generated maze): the frame taken, delta-coded and compressed.
// The bytes per minute are counted at the fast speed (1500 steps a minute).
#include <benchmark/benchmark.h>

#include "connection/demo_file.h"
#include "connection/game_step.h"
#include "game/frame_transitions.h"
#include "game/game_state.h"
#include "maps/maze_generator.h"
#include "support/test_game.h"

namespace {

void BM_DemoRecordStep(benchmark::State& state) {
  TestGame t(2727);
  GameState& g = t.g;
  g.IsServer = 1;
  g.ComputerFill = 1;
  g.MaxPlayers = 8;
  g.ConnectionStatus = "Server, port 2727";
  GenerateMaze(g, g.Tiles);
  for (int i = 0; i < kSlotCount; ++i) MakeComputerSlot(g, i, i + 1);
  DemoEncoder encoder;
  std::vector<uint8_t> out;
  encoder.Header(DemoHeader{}, out);
  size_t bytes = 0;
  int64_t steps = 0;
  for (auto _ : state) {
    state.PauseTiming();
    GameStep(g);
    g.FrameCounter = static_cast<uint8_t>((g.FrameCounter + 1) % 8);
    ApplyFrameTransitions(g);
    state.ResumeTiming();
    encoder.Frame(TakeDemoFrame(g), out);
    bytes += out.size();
    out.clear();
    ++steps;
  }
  state.counters["bytes_per_minute"] = static_cast<double>(bytes) * 1500 / static_cast<double>(steps);
}
BENCHMARK(BM_DemoRecordStep)->Iterations(15000);

}  // namespace
