// Slots of kind 'c' are played by the computer: a few random choices per
// step, biased by danger nearby and by an opponent in the line of fire.
#pragma once

struct GameState;

// The computer players' turn in the game step (after the energy pass, before
// the fireball pass). Random numbers are drawn only as far as each decision
// gets, so the order of the draws is part of the behaviour.
void ComputerPass(GameState& g);

// One alive computer player's decisions for this step: shield, fire and
// steering (a headless bot applies them to its own player as keys).
void ComputerPlaySlot(GameState& g, int slot);

// Another alive player within 60 pixels on both axes, or (with chance 1/5
// each) a launched fireball of another slot that close.
bool ComputerSensesDanger(GameState& g, int slot);

// An alive opponent exactly in line ahead; each one found counts with
// chance 1/2. Walls in between are not considered.
bool ComputerHasTarget(GameState& g, int slot);
