// Two state changes that belong to the drawing of a frame rather than to the
// game step: an exploding player becomes dead at the first frame drawn with
// FrameCounter 0, and a cleared fireball is parked below the playfield. The
// playfield drawing makes them as it paints; a program without a window
// (the dedicated server) makes them after each step with
// ApplyFrameTransitions, so that both behave alike.
#pragma once

struct GameState;
struct PlayerSlot;
struct Fireball;

// True when this frame ends the player's explosion.
bool ExplosionEndsThisFrame(const GameState& g, const PlayerSlot& p);

// State "n" at (0, 640), drawn position likewise.
void ParkFireball(Fireball& f);

// Both changes for every active player and every cleared fireball.
void ApplyFrameTransitions(GameState& g);
