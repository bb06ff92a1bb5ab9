#pragma once

struct GameState;

// The eight slot colours used for chat lines. No component is 0, because a
// chat line keeps its colour as the first three characters of a string.
void SetPlayerColours(GameState& g);
