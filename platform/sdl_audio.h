// Sound effects and MIDI music on SDL2_mixer.
//
// Effects play on one mixer channel, so a new effect cuts off the one still
// playing. Music is one track at a time through SDL_mixer's MIDI player
// (FluidSynth with the General MIDI soundfont). Without an audio device the
// game stays silent: one line on standard error, and every call is harmless.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

class SdlAudio : public Audio {
 public:
  // Error codes of PlayMusic.
  static constexpr int kNoDevice = 2;
  static constexpr int kCannotOpen = 3;
  static constexpr int kCannotPlay = 4;
  // A track that ends sooner than this after it started could not be played
  // (a file the synthesiser cannot render ends at once); it is reported as a
  // failure, which switches music off, rather than as a finished track,
  // which would start the next one and so run through every broken file.
  // (FluidSynth lets even an empty track ring out for about 3 s.)
  static constexpr uint32_t kShortestTrackMs = 300;

  // Opens the default audio device.
  explicit SdlAudio(uint32_t shortestTrackMs = kShortestTrackMs);
  ~SdlAudio() override;
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  bool HasDevice() const { return open_; }
  bool EffectPlaying() const;
  bool MusicPlaying() const;

  void PlayEffect(const std::string& file) override;
  void StopEffect() override;
  int PlayMusic(const std::string& file) override;
  void StopMusic() override;
  int TakeMusicNotice() override;

  // The soundfont the MIDI player uses: $SDL_SOUNDFONTS when set, else the
  // General MIDI soundfont of the Debian package; empty when none is found.
  static std::string SoundfontPath();

 private:
  static void MusicFinished();  // SDL_mixer's hook, on its audio thread
  Mix_Chunk* Effect(const std::string& file);
  void MakeBeep();

  bool open_ = false;
  std::map<std::string, Mix_Chunk*> effects_;  // loaded once, kept until the end
  std::vector<int16_t> beepSamples_;
  Mix_Chunk* beep_ = nullptr;
  Mix_Music* music_ = nullptr;
  // Written by the hook on the audio thread, read on the main thread.
  std::atomic<int> notice_{kMusicNoNotice};
  std::atomic<bool> halting_{false};
  std::atomic<uint32_t> musicStart_{0};
  const uint32_t shortestTrackMs_;
};
