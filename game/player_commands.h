// What a player can ask for: from the local user's keys, from a remote
// player's key datagrams and from the computer. Sounds are the caller's.
#pragma once

struct GameState;

// Shield up when alive, active and with energy left.
void RaiseShield(GameState& g, int slot);
// Shield down when alive and active.
void LowerShield(GameState& g, int slot);
// A dead player comes back at a spawn point with the shield down.
void Reappear(GameState& g, int slot);
// With exactly full energy and no fireball in flight or exploding: launches
// the fireball 39 pixels ahead; a stopped player fires to the left.
void LaunchFireball(GameState& g, int slot);
// The wanted direction (any key code) when alive and active.
void SetWantDir(GameState& g, int slot, int key);
