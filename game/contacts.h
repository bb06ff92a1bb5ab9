// What happens when a player meets another player or a fireball.
#pragma once

struct GameState;

// The contacts of slot i with every other slot, after i has moved.
void PlayerContacts(GameState& g, int i);

// The player explodes; frags change by fragChange (0 or -1), never below 0.
// Reaching 255 frags starts everybody over: all frags 0, this slot 1.
void KillPlayer(GameState& g, int slot, int fragChange);
