#include "maps/generate_map.h"

#include "game/game_state.h"
#include "maps/maze_generator.h"
#include "protocol/datagrams.h"

int GenerateMap(GameState& g) {
  GenerateMaze(g, g.Tiles);
  if (g.IsServer && g.AllowInternet && g.MaxPlayers != 0) {
    DatagramBuffer map;
    BuildMap(map, g.Tiles);
    SendToInternetPlayers(g, map.data(), map.size(), "Send error #60");
  }
  g.MapDirty = 1;
  if (g.platform.ui) g.platform.ui->InvalidateWindow();
  return 1;
}
