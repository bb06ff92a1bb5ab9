// A bot's play: the computer players' rules applied to the bot's own place
// in its client copy of the game, turned into the keys a user would press.
#pragma once

#include <string>

#include "game/random.h"

struct GameState;

// The keys ('u' 'd' 'l' 'r' 'p' 'a' 'b') the computer rules choose for the
// local player this step, in the order to press them. The rules draw from
// rng, never from the game's own generator (the client's copy must stay as
// the server made it); the state is left as it was. A dead player asks to
// come back ('b') when FrameCounter is 0, as the computer's players do.
std::string ChooseBotKeys(GameState& g, RandomSource& rng);

// Chooses the keys and sends each through the client's normal key path.
void PlayBotStep(GameState& g, RandomSource& rng);
