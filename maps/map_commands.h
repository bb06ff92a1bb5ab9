// The three map commands of the main window's menu. Each checks its
// condition when it runs, since a hot key posts it even while the menu item
// is greyed; the dialogs are passed in so that tests can stand in for them.
#pragma once

#include <functional>

struct GameState;

using MapDialogRunner = std::function<int(GameState&)>;

// 40003 "&Load Map...": on a server, the "Choose a map..." dialog; anywhere
// else a refusal box.
void LoadMapCommand(GameState& g, const MapDialogRunner& runChooseMap);

// 40043 "Save Current Map...": in a game (server or client), the map
// control dialog; otherwise a refusal box.
void SaveMapCommand(GameState& g, const MapDialogRunner& runMapControl);

// 40004 "&Generate Map...": a new maze on a server; nothing elsewhere.
void GenerateMapCommand(GameState& g);
