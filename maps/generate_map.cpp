#include "maps/generate_map.h"

#include "game/game_state.h"
#include "maps/maze_generator.h"
#include "protocol/datagrams.h"

int GenerateMap(GameState& g) {
  GenerateMaze(g, g.Tiles);
  if (g.IsServer && g.AllowInternet && g.MaxPlayers != 0) {
    DatagramBuffer map;
    BuildMap(map, g.Tiles);
    for (int i = 0; i < g.MaxPlayers && i < kSlotCount; ++i) {
      const PlayerSlot& p = g.Players[i];
      if (p.Active && p.Kind == KindInternet)
        SendDatagram(g, p.Address, map.data(), map.size(), "Send error #60");
    }
  }
  g.MapDirty = 1;
  if (g.platform.ui) g.platform.ui->InvalidateWindow();
  return 1;
}
