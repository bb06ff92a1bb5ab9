#include "render/player_colours.h"

#include <cstring>

#include "game/game_state.h"

void SetPlayerColours(GameState& g) {
  static const uint8_t kColours[kSlotCount][3] = {
      {255, 255, 1},    // yellow
      {1, 1, 255},      // blue
      {1, 255, 255},    // cyan
      {1, 255, 1},      // green
      {178, 178, 1},    // olive
      {255, 1, 178},    // pink
      {255, 1, 1},      // red
      {255, 255, 255},  // white
  };
  std::memcpy(g.PlayerColours, kColours, sizeof kColours);
}
