// The map file readers on arbitrary file contents, on a server with one
// remote player.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "game/game_state.h"
#include "maps/map_file.h"
#include "platform/recording_platform.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  EnterScratchDirectory("vrask_map_fuzz");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WriteWholeFile("fuzz.map", data, size);
  RecordingPlatform rec;
  GameState g;
  g.platform = rec.Get();
  g.Socket = rec.net.CreateSocket();
  g.IsServer = 1;
  g.MaxPlayers = 8;
  g.Players[3].Active = 1;
  g.Players[3].Kind = KindInternet;
  g.Players[3].Address = NetAddress::Of(127, 0, 0, 5, 4000);
  TileMap before;
  for (int i = 0; i < kMapCells; ++i) before[i] = static_cast<uint8_t>(i % 7 + 11);  // no file makes these
  g.Tiles = before;

  int described = ReadMapDescription(g, "fuzz.map");
  if (described) {
    FUZZ_CHECK(g.MapDescription.size() <= kMapDescriptionMax);
    FUZZ_CHECK(g.MapDescription.find_first_of("\r\n") == std::string::npos);
  }
  int loaded = LoadMapFile(g, "fuzz.map");
  auto& sent = rec.net.lastSocket->sent;
  if (!loaded) {
    FUZZ_CHECK(g.Tiles == before);  // never half-replaced
    FUZZ_CHECK(sent.empty());
    return 0;
  }
  // Whatever loads is listed by the dialogs too.
  FUZZ_CHECK(described);
  FUZZ_CHECK(std::all_of(g.Tiles.begin(), g.Tiles.end(), [](uint8_t t) { return t <= 10; }));
  FUZZ_CHECK(sent.size() == 1 && sent[0].bytes.size() == 3);  // the map-changed notice

  // Saved and loaded again, the grid comes back the same.
  TileMap loadedTiles = g.Tiles;
  FUZZ_CHECK(SaveMapFile(g, "again.map"));
  g.Tiles = before;
  FUZZ_CHECK(LoadMapFile(g, "again.map"));
  FUZZ_CHECK(g.Tiles == loadedTiles);
  return 0;
}
