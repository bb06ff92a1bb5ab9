// Hosting a game: the server settings dialog's checks and StartServer.
#pragma once

#include <functional>
#include <string>

struct GameState;

// What the settings dialog shows; it always opens with these defaults.
struct ServerSettingsForm {
  bool internet = true;       // 1002 "Allow players to join via the &Internet, port "
  std::string port = "2727";  // 1022
  bool computer = true;       // 1007
  bool participates = true;   // 1011
  bool fast = true;           // 1008
  bool slow = false;          // 1009
  std::string players = "8";  // 1010, one character
};

// GO: checks the form, asks before ending a running game, ends it and
// commits the settings. True when the dialog closes and the server is to
// start; false when it stays open (a message has told the user why).
bool ServerSettingsGo(GameState& g, const ServerSettingsForm& form);

// The leading decimal digits of a text as a number (0 when there are none),
// saturating instead of overflowing.
long LeadingNumber(const std::string& text);

// Sets up the new game: the map choice (1 chosen, 0 cancelled, which ends
// the game and returns 0), computer places, the host's player in place 0,
// the bound port and the address lines, the menu and "=Server Started=".
int StartServer(GameState& g, const std::function<int()>& chooseMap);

// The server's own places and state, without the map choice or the socket:
// shared with the dedicated server.
void SetUpServerPlaces(GameState& g);

// Binds the port and fills ConnectionStatus and the address lines. False
// when the port could not be bound.
bool OpenServerPort(GameState& g);
