// The constants of the rules of one step. The passes that apply them, in
// the order GameStep runs them: energy_fireball_pass.h (energy), the
// computer players, (fireballs), player_pass.h (players, with their
// contacts in contacts.h). Each pass works on all eight slots in slot order.
#pragma once

constexpr int kPlayerSpeed = 4;       // pixels per step
constexpr int kFireballSpeed = 10;    // pixels per step
constexpr int kFireballLaunchOffset = 39;  // a fireball starts this far ahead of its player
constexpr int kFireballHitSpan = 19;  // hit window: 20 pixels on both axes
constexpr int kFieldLow = 40;         // a fireball outside [40, 480] explodes
constexpr int kFieldHigh = 480;
constexpr int kMaxFrags = 255;
