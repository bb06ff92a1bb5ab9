// A running game for the drawing benchmark and test: a server without
// network play whose eight places are computer players, on the arena map.
#pragma once

#include <cstdint>

#include "connection/game_step.h"
#include "game/game_state.h"
#include "render/player_colours.h"

// The grid of the shipped "pakmap.map".
inline constexpr const char* kArenaRows[kMapSide] = {
    "11111111111111", "10000000000001", "10202080010801", "10211111010201", "10000003000001",
    "10611401110101", "10010000040001", "10511131010101", "10000100010101", "10514101110701",
    "10010000010101", "10870115011101", "10000000000001", "11111111111111"};

inline void StartComputerGame(GameState& g, uint32_t seed) {
  for (int r = 0; r < kMapSide; ++r)
    for (int c = 0; c < kMapSide; ++c)
      g.Tiles[static_cast<size_t>(r * kMapSide + c)] = static_cast<uint8_t>(kArenaRows[r][c] - '0');
  g.Rng.Seed(seed);
  SetPlayerColours(g);
  g.IsServer = 1;
  g.IsClient = 0;
  g.AllowInternet = 0;
  g.ComputerFill = 1;
  g.MaxPlayers = kSlotCount;
  g.LocalSlot = kNoSlot;
  g.ConnectionStatus = "Server";
  g.ServerAddressText[0] = "No Internet Players";
  for (int i = 0; i < kSlotCount; ++i) MakeComputerSlot(g, i, i + 1);
  g.MapDirty = 1;
}

// One step as the game tick makes it, with the animation counter.
inline void StepGame(GameState& g) {
  GameStep(g);
  g.FrameCounter = static_cast<uint8_t>((g.FrameCounter + 1) % 8);
}
