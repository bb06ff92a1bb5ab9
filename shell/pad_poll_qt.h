// The window's pads: read once per game tick (while none is attached, once
// in a while: PadLookout) and handed to the keyboard's path as the keys they
// stand for.
#pragma once

#include "platform/sdl_pads.h"
#include "shell/pad_steering.h"

struct GameState;
class CommandHost;

class PadPoll {
 public:
  // Reads every pad and runs the keys they give, unless a dialog or message
  // box is open or the chat line has text.
  void Poll(GameState& g, CommandHost& host);

 private:
  SdlPads pads_;
  PadLookout lookout_;
  PadSteering steering_;
};
