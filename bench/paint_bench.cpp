// Cost of drawing the window: the normal paint that follows each step of
// an eight-player game, and the full repaint after MapDirty.
#include <benchmark/benchmark.h>

#include "platform/recording_platform.h"
#include "render/game_scene.h"
#include "render/paint_window.h"
#include "render/pictures.h"
#include "render/surface.h"

namespace {

struct RunningGame {
  RecordingPlatform rec;
  GameState g;
  PictureSet pictures;
  Surface surface;

  RunningGame() {
    g.platform = rec.Get();
    LoadBitmaps(g, pictures);
    StartComputerGame(g, 2727);
    std::vector<ScreenRect> changed;
    for (int i = 0; i < 200; ++i) {
      StepGame(g);
      PaintAndTakeChanges(g, surface, changed);
    }
  }
};

// With argument 1 the caches are emptied (untimed) before each paint, as
// the other programs of a machine empty them in the 40 to 80 ms between two
// paints of the window: the window's real cost is then mostly the memory a
// paint must fetch afresh, which a warm loop of paints does not show.
void EmptyCachesIf(benchmark::State& state) {
  if (state.range(0) == 0) return;
  state.PauseTiming();
  static std::vector<char> elsewhere(64 << 20);
  for (size_t i = 0; i < elsewhere.size(); i += 64) ++elsewhere[i];
  benchmark::DoNotOptimize(elsewhere.data());
  state.ResumeTiming();
}

// One paint after each step, and taking what it changed as the window
// does; the step itself is not timed.
void BM_PaintAfterStep(benchmark::State& state) {
  RunningGame game;
  std::vector<ScreenRect> rects;
  for (auto _ : state) {
    state.PauseTiming();
    StepGame(game.g);
    state.ResumeTiming();
    EmptyCachesIf(state);
    PaintAndTakeChanges(game.g, game.surface, rects);
    benchmark::DoNotOptimize(rects.data());
  }
}
BENCHMARK(BM_PaintAfterStep)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The window with no game: the map's walls animate, so it paints at each
// phase change (every second step) and shows what changed.
void BM_IdlePaint(benchmark::State& state) {
  RecordingPlatform rec;
  GameState g;
  PictureSet pictures;
  Surface surface;
  g.platform = rec.Get();
  LoadBitmaps(g, pictures);
  StartComputerGame(g, 2727);
  for (PlayerSlot& p : g.Players) p.Active = 0;
  g.IsServer = 0;
  g.ConnectionStatus = "Not Connected";
  std::vector<ScreenRect> rects;
  for (auto _ : state) {
    g.FrameCounter = static_cast<uint8_t>((g.FrameCounter + 2) % 8);
    EmptyCachesIf(state);
    PaintAndTakeChanges(g, surface, rects);
    benchmark::DoNotOptimize(rects.data());
  }
}
BENCHMARK(BM_IdlePaint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The paint after a map change: full clear, every wall, every sprite.
void BM_FullRepaint(benchmark::State& state) {
  RunningGame game;
  for (auto _ : state) {
    game.g.MapDirty = 1;
    PaintWindow(game.g, game.surface);
    benchmark::DoNotOptimize(game.surface.pixels.data());
  }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace
