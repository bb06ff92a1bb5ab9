#pragma once

struct GameState;

// One game step: network, rules and, on a server, the state sent out.
void GameStep(GameState& g);
