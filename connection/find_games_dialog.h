// The list of games on the local network, opened by the server address
// dialog's "Find Games…": a view over FindServers.
#pragma once

#include <cstdint>
#include <optional>

#include "connection/find_servers.h"

struct GameState;
class QWidget;

// Searches at once (and again on Refresh), also on typedPort. The server
// chosen with Join or a double-click, or nothing on Cancel.
std::optional<FoundServer> RunFindGamesDialog(GameState& g, uint16_t typedPort, QWidget* owner);
