#pragma once

#include <functional>

struct GameState;
class QWidget;

// Runs "Choose New Server Settings..." over the owner; GO with valid
// settings ends the running game, commits them and starts the server with
// the map chooser given. Returns 1 when a server was started.
int ShowServerSettings(GameState& g, QWidget* owner, const std::function<int()>& chooseMap);
