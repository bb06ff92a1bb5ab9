// The server's sending, called from GameStep.
#pragma once

struct GameState;

// After the simulation: periodic map re-sends and this step's update.
void ServerSend(GameState& g);
