#include "protocol/server_net.h"

#include "game/game_state.h"

// Placeholder until the server's datagram handling lands.
void ServerTimeoutTest(GameState&, int) {}
void ServerReceive(GameState&) {}
void ServerSend(GameState&) {}
