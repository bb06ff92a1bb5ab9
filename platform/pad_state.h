// What one game controller holds at a moment, in the controller API's own
// units: the platform reads it (sdl_pads.cpp), the shell decides what it
// means (shell/pad_steering.cpp).
#pragma once

#include <cstdint>

struct PadState {
  bool up = false, down = false, left = false, right = false;  // the D-pad
  bool a = false;  // the bottom face button
  bool b = false;  // the right face button
  // The left stick, -32768..32767 each way; y grows downwards.
  int16_t leftX = 0, leftY = 0;
  // The triggers, 0 (released) .. 32767 (pulled fully).
  int16_t leftTrigger = 0, rightTrigger = 0;
};

// One attached controller: its id for as long as it stays plugged in, and
// its state.
struct PadReading {
  int32_t id = 0;
  PadState state;
};
