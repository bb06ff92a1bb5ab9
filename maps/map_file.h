// Map files: 14 lines of 14 tile characters ('0' + code, ':' for 10) ended
// by CR LF, then a description of up to 64 characters.
#pragma once

#include <string>

struct GameState;

constexpr int kMapDescriptionMax = 64;

// 1 when the file holds 196 map characters; leaves its description in
// MapDescription. Does not check that the characters are valid tiles.
int ReadMapDescription(GameState& g, const std::string& name);

// Replaces Tiles with the file's grid (never half-replaced), tells a
// server's remote players that the map changed and marks the map for
// redrawing. Fails on a client connected to someone else's server.
int LoadMapFile(GameState& g, const std::string& name);

// Writes Tiles and MapDescription. Fails unless a game is running. The file
// is written beside the target and renamed over it, so a failed save never
// leaves a half-written map where a good one stood.
int SaveMapFile(GameState& g, const std::string& name);

// Creates the file or empties it: how a saved map is deleted.
int ClearMapFile(GameState& g, const std::string& name);
