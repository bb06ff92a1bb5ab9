// What the two halves of SdlAudio share: sdl_audio.cpp plays effects and
// music, sdl_audio_device.cpp opens, closes and reopens the device.
#pragma once

#include <SDL_mixer.h>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

// The music stays in the background, about 2 dB under full scale, so that
// it leaves room for the effects mixed over it.
inline constexpr int kMusicVolume = MIX_MAX_VOLUME * 100 / 128;

// Holds standard error on /dev/null while the sound libraries probe for a
// device: without one, ALSA prints a screenful of its own errors, and the
// program's one line says all a player needs.
class QuietStderr {
 public:
  QuietStderr() {
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    int null = open("/dev/null", O_WRONLY);
    if (saved_ >= 0 && null >= 0) dup2(null, STDERR_FILENO);
    if (null >= 0) close(null);
  }
  ~QuietStderr() {
    std::fflush(stderr);
    if (saved_ < 0) return;
    dup2(saved_, STDERR_FILENO);
    close(saved_);
  }

 private:
  int saved_ = -1;
};
