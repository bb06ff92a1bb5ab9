// Audio that plays nothing, for tools that measure the window without sound.
#pragma once

#include "platform/platform.h"

class SilentAudio : public Audio {
 public:
  void PlayEffect(const std::string&) override {}
  void StopEffect() override {}
  int PlayMusic(const std::string&) override { return 1; }
  void StopMusic() override {}
};
