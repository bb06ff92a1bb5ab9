#pragma once

struct GameState;

// Finds a free cell in columns and rows 1..11 with no alive player within 60
// pixels on both axes, and leaves its position in SpawnX, SpawnY.
void FindSpawnPoint(GameState& g);
