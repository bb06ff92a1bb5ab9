#include "maps/map_commands.h"

#include "game/game_state.h"
#include "maps/generate_map.h"

namespace {
void Refuse(GameState& g, const char* text, const char* title) {
  if (g.platform.ui)
    g.platform.ui->MessageBox(text, title, MsgButtons::Ok, MsgIcon::Information, true);
}
}  // namespace

void LoadMapCommand(GameState& g, const MapDialogRunner& runChooseMap) {
  if (!g.IsServer) {
    Refuse(g, "You cannot load a map: You are not running a server!", "Cannot load level");
    return;
  }
  runChooseMap(g);
}

void SaveMapCommand(GameState& g, const MapDialogRunner& runMapControl) {
  if (!g.IsServer && !g.IsClient) {
    Refuse(g, "You cannot save this map: You are not in a game!", "Cannot save level");
    return;
  }
  runMapControl(g);
}

void GenerateMapCommand(GameState& g) {
  if (g.IsServer) GenerateMap(g);
}
