// Writes the default map "pakmap.map" into the current directory: the maze
// the generator makes from a fixed seed, saved the way the game saves maps,
// with the description "The Vrask arena".
//
// Build and run from the source tree after building the core library:
//   g++ -std=c++20 -I. tools/make_pakmap.cpp build/libvrask_core.a \
//       build/libvrask_assets.a -o build/make_pakmap
//   (cd data && ../build/make_pakmap)
#include <cstdio>
#include <cstdlib>

#include "game/game_state.h"
#include "maps/map_file.h"
#include "maps/maze_generator.h"

constexpr uint32_t kDefaultMapSeed = 2727;

int main(int argc, char** argv) {
  uint32_t seed = argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10))
                           : kDefaultMapSeed;
  GameState g;
  g.Rng.Seed(seed);
  GenerateMaze(g, g.Tiles);
  g.MapDescription = "The Vrask arena";
  g.IsServer = 1;  // saving needs a running game; nothing is sent
  if (!SaveMapFile(g, "pakmap.map")) {
    std::fputs("make_pakmap: could not write pakmap.map\n", stderr);
    return 1;
  }
  std::printf("pakmap.map written from seed %u\n", seed);
  return 0;
}
