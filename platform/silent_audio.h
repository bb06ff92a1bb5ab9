// Audio that plays nothing: the seam stands until sound and music are made.
#pragma once

#include "platform/platform.h"

class SilentAudio : public Audio {
 public:
  void PlayEffect(const std::string&) override {}
  void StopEffect() override {}
  int PlayMusic(const std::string&) override { return 1; }
  void StopMusic() override {}
};
