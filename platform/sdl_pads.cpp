#include "platform/sdl_pads.h"

#include <SDL.h>

#include <cstdio>

SdlPads::SdlPads() {
  // As for the sound: SDL is not to take over SIGINT and SIGTERM.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    std::fprintf(stderr, "vrask: no game controllers (%s)\n", SDL_GetError());
    return;
  }
  open_ = true;
  // The pads are read, not listened to: nobody drains SDL's event queue, so
  // events would only pile up in it.
  SDL_JoystickEventState(SDL_IGNORE);
  SDL_GameControllerEventState(SDL_IGNORE);
}

SdlPads::~SdlPads() {
  for (auto& [id, pad] : pads_) SDL_GameControllerClose(pad);
  if (open_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

std::vector<PadReading> SdlPads::Read() {
  std::vector<PadReading> out;
  if (!open_) return out;
  // Finds pads plugged in or pulled out and reads the open ones.
  SDL_GameControllerUpdate();
  for (auto it = pads_.begin(); it != pads_.end();) {
    if (SDL_GameControllerGetAttached(it->second)) {
      ++it;
      continue;
    }
    SDL_GameControllerClose(it->second);
    it = pads_.erase(it);
  }
  const int count = SDL_NumJoysticks();
  for (int i = 0; i < count; ++i) {
    const int32_t id = SDL_JoystickGetDeviceInstanceID(i);
    if (id < 0 || pads_.count(id) || others_.count(id)) continue;
    SDL_GameController* pad = SDL_IsGameController(i) ? SDL_GameControllerOpen(i) : nullptr;
    if (pad)
      pads_[id] = pad;
    else
      others_.insert(id);
  }
  for (const auto& [id, pad] : pads_) {
    auto button = [pad = pad](SDL_GameControllerButton b) { return SDL_GameControllerGetButton(pad, b) != 0; };
    auto axis = [pad = pad](SDL_GameControllerAxis a) { return SDL_GameControllerGetAxis(pad, a); };
    PadState s;
    s.up = button(SDL_CONTROLLER_BUTTON_DPAD_UP);
    s.down = button(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    s.left = button(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    s.right = button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    s.a = button(SDL_CONTROLLER_BUTTON_A);
    s.b = button(SDL_CONTROLLER_BUTTON_B);
    s.leftX = axis(SDL_CONTROLLER_AXIS_LEFTX);
    s.leftY = axis(SDL_CONTROLLER_AXIS_LEFTY);
    s.leftTrigger = axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT);
    s.rightTrigger = axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
    out.push_back({id, s});
  }
  return out;
}
