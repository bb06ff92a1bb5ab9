// The audio device of SdlAudio: opening it with the buffer the moment wants,
// letting it sleep (or, in a game, holding its thread) through silence, and
// reopening it with the other buffer when a game starts or ends, carrying
// the playing track over.
#include "platform/sdl_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>

#include "platform/sdl_audio_local.h"

namespace {

// SDL_mixer does not tell which device it opened. SDL numbers the devices
// opened by name from 2, and the mixer's is the only one this program
// opens: the one device not stopped. 0 when there is not exactly one.
SDL_AudioDeviceID MixerDevice() {
  SDL_AudioDeviceID found = 0;
  for (SDL_AudioDeviceID id = 2; id <= 32; ++id) {
    if (SDL_GetAudioDeviceStatus(id) == SDL_AUDIO_STOPPED) continue;
    if (found != 0) return 0;
    found = id;
  }
  return found;
}

}  // namespace

// Opens the device and sets the mixer up, at the start and whenever the
// device wakes or changes its buffer (closing it forgets the soundfont,
// channels and hooks). The buffer is the short one while a game runs.
bool SdlAudio::OpenDevice() {
  const int frames = keepAwake_ ? kGameBufferFrames : kQuietBufferFrames;
  silentBytes_ = 0;  // before the audio thread runs
  holdAsked_.store(false);
  sleepAsked_.store(false);
  {
    QuietStderr quiet;
    // The first opening takes the rate the device offers. Every later one
    // asks for that same format with no change allowed (SDL converts, should
    // the device now differ): the effects loaded, the renders made and a
    // track carried over a reopening were all made for it, and would
    // otherwise play at the wrong pitch.
    int failed = mixerRate_ == 0 ? Mix_OpenAudio(outputRate_, AUDIO_S16SYS, 2, frames)
                                 : Mix_OpenAudioDevice(mixerRate_, mixerFormat_, mixerChannels_, frames,
                                                       nullptr, 0);
    if (failed != 0) return false;
  }
  awake_ = true;
  bufferFrames_ = frames;
  deviceId_ = MixerDevice();
  if (mixerRate_ == 0) Mix_QuerySpec(&mixerRate_, &mixerFormat_, &mixerChannels_);
  if (!soundfont_.empty()) Mix_SetSoundFonts(soundfont_.c_str());
  Mix_AllocateChannels(1);
  Mix_VolumeMusic(kMusicVolume);
  Mix_HookMusicFinished(&SdlAudio::MusicFinished);
  Mix_SetPostMix(&SdlAudio::AfterMix, this);
  return true;
}

// Before anything is played. False when the device cannot be opened again
// (it was taken away): the sound is then not heard.
bool SdlAudio::WakeDevice() {
  if (!open_) return false;
  return awake_ || OpenDevice();
}

// On the audio thread, after each buffer is mixed.
void SdlAudio::AfterMix(void* self, uint8_t*, int len) {
  auto* a = static_cast<SdlAudio*>(self);
  // The mixer's format, as the first opening got it and every later one keeps.
  const uint64_t frameBytes =
      std::max<uint64_t>(1, uint64_t(SDL_AUDIO_BITSIZE(a->mixerFormat_) / 8) * uint64_t(a->mixerChannels_));
  const bool music = Mix_PlayingMusic() != 0;
  // A track starts, and stops advancing when paused, between two buffers.
  if (music && Mix_PausedMusic() == 0) a->musicFrames_.fetch_add(static_cast<uint64_t>(len) / frameBytes);
  if (music || Mix_Playing(-1) != 0) {
    a->silentBytes_ = 0;
    a->holdAsked_.store(false);
    a->sleepAsked_.store(false);
    return;
  }
  a->silentBytes_ += static_cast<uint64_t>(len);
  const auto reached = [&](uint32_t ms) {
    return a->silentBytes_ >= uint64_t(a->mixerRate_) * frameBytes * ms / 1000;
  };
  // A game's steps take the notice anyway: the hold needs no wake.
  if (reached(std::min(kSilenceBeforeHoldMs, a->silenceBeforeSleepMs_))) a->holdAsked_.store(true);
  if (reached(a->silenceBeforeSleepMs_) && !a->sleepAsked_.exchange(true)) a->Wake();
}

// Nothing plays, no track is on its way and the loader is idle.
bool SdlAudio::Silent() {
  return wanted_ == 0 && !EffectPlaying() && !MusicPlaying() && Loader() == LoaderState::Idle;
}

// On the main thread. Only while nothing plays, no track is on its way and
// the loader is idle: the loader starts work only when this thread hands it
// some, so no load or free can run into the closing.
void SdlAudio::SleepDeviceIfSilent() {
  if (!awake_ || keepAwake_ || !sleepAsked_.load() || !Silent()) return;
  ReleaseDevice();
  Mix_CloseAudio();
  awake_ = false;
}

// In a game, on the main thread. Nothing else can then set a sound going
// before the hold is given back: effects, tracks and the loader's work all
// start on this thread.
void SdlAudio::HoldDeviceIfSilent() {
  if (held_ || !awake_ || !keepAwake_ || deviceId_ == 0 || !holdAsked_.load() || !Silent()) return;
  SDL_LockAudioDevice(deviceId_);
  held_ = true;
}

void SdlAudio::ReleaseDevice() {
  if (!held_) return;
  SDL_UnlockAudioDevice(deviceId_);
  held_ = false;
}

// Closes the device and opens it again with the buffer the moment wants,
// carrying the playing track over. On the main thread, between steps.
void SdlAudio::ReopenDevice() {
  ReleaseDevice();  // closing waits for the audio thread
  // No load or free may run into the closing (see SleepDeviceIfSilent). At
  // a game's start this waits for at most the one track loading.
  WaitForIdleLoader();
  // Paused, the track can no longer end by itself: whether it plays and
  // where it is stay as read here. (An end the hook reported already stays
  // reported.)
  Mix_PauseMusic();
  const bool carry = music_ && Mix_PlayingMusic() != 0;
  const double at = carry ? MusicSeconds() : 0;
  halting_.store(true);  // closing halts the track: that is no end of it
  Mix_CloseAudio();
  awake_ = false;
  halting_.store(false);
  if (!carry) {
    WakeDevice();
    return;
  }
  Mix_Music* music = music_;
  const std::string file = musicFile_;
  const bool rendered = musicRendered_;
  if (WakeDevice() && rendered) {
    // A render goes on from the sample it had reached: the mixer's format is
    // the same, so its decoder is still valid.
    musicFrom_ = at;
    musicFrames_.store(0);
    Mix_VolumeMusic(MIX_MAX_VOLUME);
    if (Mix_FadeInMusicPos(music, 1, 0, at) == 0) return;
  }
  music_ = nullptr;
  musicFile_.clear();
  musicRendered_ = false;
  FreeLater(music);
  if (!awake_ || rendered) {
    notice_.store(kMusicFailure);  // the device failed while the track played
    Wake();
    return;
  }
  // FluidSynth's player cannot play on after a halt (started again, it
  // runs twice over and crashes when deleted), so a live track is loaded
  // anew: from its render at the same place if that has been made
  // meanwhile, else from its start.
  RequestLoad(file, at);
}

// With no game running the short buffer only costs, so it goes once that
// loses nothing: a render plays (it goes on where it was; a live track
// keeps the short buffer to its end and the next track brings the change),
// no effect would be cut off, and no track is on its way. With nothing
// playing, the device's sleep makes the change.
void SdlAudio::LengthenBufferIfQuiet() {
  if (!awake_ || keepAwake_ || bufferFrames_ == kQuietBufferFrames || !musicRendered_ || wanted_ != 0 ||
      !MusicPlaying() || EffectPlaying() || Loader() != LoaderState::Idle)
    return;
  ReopenDevice();
}

double SdlAudio::MusicSeconds() const {
  if (!music_ || !awake_) return -1;
  return musicFrom_ + static_cast<double>(musicFrames_.load()) / mixerRate_;
}

void SdlAudio::KeepAwake(bool awake) {
  const bool starting = awake && !keepAwake_;
  keepAwake_ = awake;
  // Opened, or given the short buffer, here at the first step of a game
  // rather than at its first effect in the middle of a later step.
  if (starting && open_) {
    if (!awake_) WakeDevice();
    else if (bufferFrames_ != kGameBufferFrames) ReopenDevice();
  }
  if (!awake) {
    ReleaseDevice();
    LengthenBufferIfQuiet();
  }
}
