// The start-up order of the program, split around the welcome dialog, and
// the shut-down order. The shell supplies the dialog, window and timer.
#pragma once

#include <cstdint>
#include <string>

struct GameState;
struct PictureSet;

// Start-up up to the welcome dialog: null address, socket, seeded generator,
// the pictures (into `pictures`, when given), player colours, "pakmap.map"
// and the status. False (after telling the user) when "pakmap.map" cannot
// be loaded: the program then ends.
bool StartUpBeforeWelcome(GameState& g, uint32_t seed, PictureSet* pictures = nullptr);

// After the welcome dialog, before the window is shown: the nickname rule,
// the music track, the menu checks and the step clock.
void StartUpAfterWelcome(GameState& g);

// "unnamed" for an empty or over-long nickname.
void ApplyNicknameRule(GameState& g);

// "Vrask 1.0 [nickname]", in the game's Windows-1252 like the nickname.
std::string WindowTitle(const GameState& g);

// After the main loop: ends the game and stops the music.
void ShutDown(GameState& g);
