// Writes a map made by the game's maze generator from a fixed seed, saved
// the way the game saves maps. With no arguments it writes the default map
// "pakmap.map" ("The Vrask arena", seed 2727); data/ also ships a few saved
// maps made with it, so that a new host has maps to choose from.
//
// Build and run from the source tree after building the core library:
//   g++ -std=c++20 -I. tools/make_pakmap.cpp build/libvrask_core.a \
//       build/libvrask_assets.a -o build/make_pakmap
//   (cd data && ../build/make_pakmap [seed [file [description]]])
#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/game_state.h"
#include "maps/map_file.h"
#include "maps/maze_generator.h"

constexpr uint32_t kDefaultMapSeed = 2727;

int main(int argc, char** argv) {
  uint32_t seed = argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10))
                           : kDefaultMapSeed;
  std::string file = argc > 2 ? argv[2] : "pakmap.map";
  GameState g;
  g.Rng.Seed(seed);
  GenerateMaze(g, g.Tiles);
  g.MapDescription = argc > 3 ? argv[3] : "The Vrask arena";
  g.IsServer = 1;  // saving needs a running game; nothing is sent
  if (!SaveMapFile(g, file)) {
    std::fprintf(stderr, "make_pakmap: could not write %s\n", file.c_str());
    return 1;
  }
  std::printf("%s written from seed %u\n", file.c_str(), seed);
  return 0;
}
