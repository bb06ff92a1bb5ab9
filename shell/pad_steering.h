// Game controllers steer the local player through the keyboard's own path:
// each pad's state becomes the key codes that the arrow keys, Control and
// Shift send (HandleKeyDown), so every rule of those keys holds for pads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "platform/pad_state.h"

struct GameState;

// A stick or trigger counts once it is past a third of its travel; inside
// that, a resting stick's drift and a light touch do nothing.
constexpr int kPadDeadZone = 32767 / 3;

// The direction a pad points: 'u', 'd', 'l', 'r', or 0 for none. The D-pad
// counts as a stick pushed all the way and wins over the left stick on its
// axis; opposite D-pad buttons cancel out. When both axes point, the
// direction already `held` stays (a D-pad rolled from one button onto two
// keeps its first), else the axis pushed further wins (the horizontal one
// on a tie).
int PadDirection(const PadState& s, int held);

// Pads act only while nothing else takes the player's keys: no dialog or
// message box is open and the chat line is empty.
bool PadsMayAct(const GameState& g, bool dialogOpen);

// Turns the pads' states, read once per game tick, into key codes. Like a
// key that goes down, each new direction, press of A or the right trigger
// (Control: lower the shield and fire, or come back) and press of B or the
// left trigger (Shift: raise the shield) gives its code once, however long
// it is held. Each pad is followed on its own, so several pads all steer
// the one player.
// Whether the pads are read at this tick. Reading them makes SDL poll its
// device monitors, two system calls and its locks at every step of a game;
// while no pad is attached a read only looks for one plugged in, and nobody
// notices a new pad taking half a second to be found. So the pads are read
// at every tick while one is attached, else once in kPadLookMs.
constexpr uint32_t kPadLookMs = 500;

class PadLookout {
 public:
  // Whether to read the pads at tick count `now` (the first call: yes).
  bool Due(uint32_t now) const;
  // A read at `now` found `count` pads.
  void Read(uint32_t now, size_t count);

 private:
  bool seen_ = true;  // so the first tick reads
  uint32_t last_ = 0;
};

class PadSteering {
 public:
  // The codes for this tick, in order. With mayAct false the pads are still
  // followed but give nothing, so what was held meanwhile does not fire
  // when the dialog closes. Pads no longer read are forgotten.
  std::vector<int> Step(const std::vector<PadReading>& pads, bool mayAct);

 private:
  struct Held {
    int dir = 0;
    bool fire = false, shield = false;
  };
  std::map<int32_t, Held> held_;
};
