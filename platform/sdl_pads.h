// The game controllers that SDL knows, read on request. SDL's controller
// database names the buttons of the common pads (SDL_GAMECONTROLLERCONFIG
// adds others), so A is the bottom face button on every pad it knows.
//
// Nothing runs between two reads: no thread, no event queue. Each Read
// lets SDL look for pads plugged in or pulled out and read the open ones,
// a handful of non-blocking system calls.
#pragma once

#include <map>
#include <set>
#include <vector>

#include "platform/pad_state.h"

struct _SDL_GameController;

class SdlPads {
 public:
  // Starts SDL's game controller part only (the sound has its own part).
  // Without it, Read finds no pads.
  SdlPads();
  ~SdlPads();
  SdlPads(const SdlPads&) = delete;
  SdlPads& operator=(const SdlPads&) = delete;

  // Every game controller attached now, opened on first sight and closed
  // once gone.
  std::vector<PadReading> Read();

 private:
  bool open_ = false;
  std::map<int32_t, _SDL_GameController*> pads_;
  // Joysticks that are no game controller, asked about once: the question
  // searches SDL's whole controller database, about 0.6 ms, which at every
  // tick would cost more than the idle window itself. SDL never gives an
  // id out twice, so this grows only by what is plugged in.
  std::set<int32_t> others_;
};
