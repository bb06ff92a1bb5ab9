#include "platform/sdl_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/sdl_audio_local.h"
#include "platform/sdl_track_render.h"
#include "shell/music_cache.h"

namespace {

// The instance whose music the hook reports on; SDL_mixer's hook takes no
// user data.
std::atomic<SdlAudio*> hookTarget{nullptr};

constexpr int kEffectChannel = 0;
// SDL_mixer's MIDI player sets FluidSynth's gain to 1.2 x the music volume
// / 128. A render made at that gain and played at full volume is as loud as
// the live track (at volume / 128 it came out 1.6 dB quieter).
constexpr double kRenderGain = 1.2 * kMusicVolume / MIX_MAX_VOLUME;

}  // namespace

std::string SdlAudio::SoundfontPath() {
  if (const char* env = std::getenv("SDL_SOUNDFONTS"); env && *env) return env;
  // TimGM6mb first, so the music sounds the same on every machine; the
  // system's default General MIDI font only when it is missing.
  for (const char* p : {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2",
                        "/usr/share/sounds/sf2/FluidR3_GM.sf2"}) {
    std::error_code ec;
    if (std::filesystem::exists(p, ec)) return p;
  }
  return "";
}

std::filesystem::path SdlAudio::DefaultMusicCache() {
  return MusicCacheDir(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"));
}

SdlAudio::SdlAudio(uint32_t shortestTrackMs, std::filesystem::path musicCache,
                   uint32_t silenceBeforeSleepMs, int outputRate)
    : shortestTrackMs_(shortestTrackMs),
      silenceBeforeSleepMs_(silenceBeforeSleepMs),
      outputRate_(outputRate),
      cacheDir_(std::move(musicCache)) {
  soundfont_ = SoundfontPath();
  bool ok;
  {
    QuietStderr quiet;
    // SDL would otherwise catch SIGINT and SIGTERM to post a quit event that
    // only an SDL event loop reads: the game would no longer end when killed.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    ok = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (ok && !OpenDevice()) {
      ok = false;
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
  }
  if (!ok) {
    std::fprintf(stderr, "vrask: no sound device, playing silently (%s)\n", SDL_GetError());
    return;
  }
  open_ = true;
  Mix_Init(MIX_INIT_MID | MIX_INIT_FLAC);
  // A render is made at the gain the live player gets from the music volume
  // and played at full volume, so it sounds as loud as the live track. It is
  // made at the rate the mixer runs at, which the device may have chosen
  // (48000 Hz on many): a render at another rate would be resampled by SDL
  // all the while it plays, which costs twice what decoding it costs.
  renderKey_ = TrackRenderKey({mixerRate_, kRenderGain});
  fontId_ = SoundfontIdentity(soundfont_);
  MakeBeep();
  hookTarget.store(this);
  loader_ = std::thread(&SdlAudio::LoadMusic, this);
}

SdlAudio::~SdlAudio() {
  if (!open_) return;
  ReleaseDevice();
  StopEffect();
  StopMusic();
  {
    std::lock_guard lock(loaderMutex_);
    quitLoader_ = true;
  }
  loaderWake_.notify_one();
  // A load cannot be cut short: quitting waits for the one running (a
  // fraction of a second), which must end before the mixer closes. A render
  // stops at its next block.
  loader_.join();
  quitRender_.store(true);
  if (render_.joinable()) render_.join();
  for (const LoadedMusic& l : loaded_)
    if (l.music) Mix_FreeMusic(l.music);
  for (Mix_Music* music : toFree_) Mix_FreeMusic(music);
  if (awake_) {
    Mix_HookMusicFinished(nullptr);
    Mix_SetPostMix(nullptr, nullptr);
  }
  hookTarget.store(nullptr);
  for (auto& [name, chunk] : effects_) Mix_FreeChunk(chunk);
  if (beep_) Mix_FreeChunk(beep_);
  if (awake_) Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// The stand-in for a missing effect file: a short plain beep, so that a
// missing file is heard as something wrong rather than as silence.
void SdlAudio::MakeBeep() {
  int rate = 44100, channels = 2;
  Uint16 format = 0;
  Mix_QuerySpec(&rate, &format, &channels);
  const int frames = rate * 180 / 1000;
  const int fade = rate * 5 / 1000;
  beepSamples_.resize(static_cast<size_t>(frames) * channels);
  for (int i = 0; i < frames; ++i) {
    double t = static_cast<double>(i) / rate;
    double env = std::min({1.0, static_cast<double>(i) / fade, static_cast<double>(frames - i) / fade});
    double v = 0.35 * env * (std::sin(2 * M_PI * 880 * t) + 0.3 * std::sin(2 * M_PI * 1760 * t));
    for (int c = 0; c < channels; ++c)
      beepSamples_[static_cast<size_t>(i) * channels + c] = static_cast<int16_t>(v * 32767);
  }
  beep_ = Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(beepSamples_.data()),
                            static_cast<Uint32>(beepSamples_.size() * sizeof(int16_t)));
}

Mix_Chunk* SdlAudio::Effect(const std::string& file) {
  if (auto it = effects_.find(file); it != effects_.end()) return it->second;
  // Loaded at its first use and kept, so that a game step never waits for
  // the disk twice. A missing file is looked for again next time.
  Mix_Chunk* chunk = Mix_LoadWAV(file.c_str());
  if (chunk) effects_[file] = chunk;
  return chunk;
}

void SdlAudio::PlayEffect(const std::string& file) {
  if (!WakeDevice()) return;
  Mix_Chunk* chunk = Effect(file);
  // One channel: playing on it cuts off whatever it still plays.
  Mix_PlayChannel(kEffectChannel, chunk ? chunk : beep_, 0);
  ReleaseDevice();  // its next buffer holds the effect
}

void SdlAudio::StopEffect() {
  if (awake_) Mix_HaltChannel(kEffectChannel);
}

bool SdlAudio::EffectPlaying() const { return awake_ && Mix_Playing(kEffectChannel) != 0; }

bool SdlAudio::MusicPlaying() const { return awake_ && Mix_PlayingMusic() != 0; }

void SdlAudio::MusicFinished() {
  // Runs on the audio thread at the end of a track (and on the caller's
  // thread inside Mix_HaltMusic): only the atomic notice is touched here.
  SdlAudio* self = hookTarget.load();
  if (!self || self->halting_.load()) return;  // the program's own stop
  uint32_t played = SDL_GetTicks() - self->musicStart_.load();
  self->notice_.store(played < self->shortestTrackMs_ ? kMusicFailure : kMusicSuccessful);
  self->Wake();
}

void SdlAudio::SetNoticeWake(std::function<void()> wake) {
  std::lock_guard lock(wakeMutex_);
  wake_ = std::move(wake);
}

void SdlAudio::Wake() {
  std::lock_guard lock(wakeMutex_);
  if (wake_) wake_();
}

// The loader thread: frees what the main thread is done with, and loads the
// newest file asked for, one thing at a time. Mix_LoadMUS builds an object
// that nothing else sees until the main thread plays it, and only reads mixer
// settings fixed since the device opened (output format, soundfont).
// Mix_FreeMusic of a track that is not playing only compares it with the
// playing one under the mixer's lock, then deletes its own synthesiser. One
// thread doing both means FluidSynth never builds or deletes two at once.
void SdlAudio::LoadMusic() {
  std::unique_lock lock(loaderMutex_);
  for (;;) {
    loaderWake_.wait(lock, [this] { return quitLoader_ || !toLoad_.empty() || !toFree_.empty(); });
    if (quitLoader_) return;  // the destructor frees what is left
    working_ = true;
    if (!toFree_.empty()) {
      std::vector<Mix_Music*> done;
      done.swap(toFree_);
      lock.unlock();
      for (Mix_Music* music : done) Mix_FreeMusic(music);
      lock.lock();
    } else {
      std::string file = std::move(toLoad_);
      toLoad_.clear();
      uint64_t id = toLoadId_;
      double at = toLoadAt_;
      lock.unlock();
      LoadedMusic loaded = LoadTrack(id, file, at);
      lock.lock();
      loaded_.push_back(std::move(loaded));
      lock.unlock();
      Wake();  // the main thread starts it
      lock.lock();
    }
    working_ = false;
    if (toLoad_.empty() && toFree_.empty()) loaderIdle_.notify_all();
  }
}

void SdlAudio::WaitForIdleLoader() {
  std::unique_lock lock(loaderMutex_);
  loaderIdle_.wait(lock, [this] { return toLoad_.empty() && toFree_.empty() && !working_; });
}

// The render when the cache holds it intact, else the MIDI file itself,
// whose render then begins in the background.
SdlAudio::LoadedMusic SdlAudio::LoadTrack(uint64_t id, const std::string& file, double at) {
  std::string name;
  if (!cacheDir_.empty() && !fontId_.empty()) {
    std::ifstream in(file, std::ios::binary);
    std::string midi(std::istreambuf_iterator<char>(in), {});
    name = RenderName(midi, fontId_, renderKey_, ".flac");
    std::filesystem::path render = FindRender(cacheDir_, name);
    if (!render.empty())
      if (Mix_Music* music = Mix_LoadMUS(render.c_str())) return {id, file, music, true, at};
  }
  Mix_Music* music = Mix_LoadMUS(file.c_str());
  if (music && !name.empty()) StartRender(file, name);
  return {id, file, music, false, 0};
}

bool SdlAudio::Rendering() {
  std::lock_guard lock(renderMutex_);
  return rendering_;
}

// One render at a time: a track asked for while another renders is
// rendered the next time it plays.
void SdlAudio::StartRender(const std::string& file, const std::string& name) {
  std::lock_guard lock(renderMutex_);
  if (rendering_) return;
  if (render_.joinable()) render_.join();  // finished
  rendering_ = true;
  render_ = std::thread([this, file, name] {
    // The lowest priority: the game's steps and the playing music go first.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
    std::error_code ec;
    std::filesystem::create_directories(cacheDir_, ec);
    std::filesystem::path part = cacheDir_ / (name + "." + std::to_string(getpid()) + ".part");
    bool ok = RenderTrack(file, soundfont_, {mixerRate_, kRenderGain}, part, shortestTrackMs_,
                          [this] { return quitRender_.load(); });
    if (!ok || !StoreRender(cacheDir_, name, part)) std::filesystem::remove(part, ec);
    std::lock_guard done(renderMutex_);
    rendering_ = false;
  });
}

void SdlAudio::FreeLater(Mix_Music* music) {
  if (!music) return;
  ReleaseDevice();  // freeing takes the device's lock
  {
    std::lock_guard lock(loaderMutex_);
    toFree_.push_back(music);
  }
  loaderWake_.notify_one();
}

SdlAudio::LoaderState SdlAudio::Loader() {
  std::lock_guard lock(loaderMutex_);
  if (!toLoad_.empty() || !toFree_.empty()) return LoaderState::Waiting;
  return working_ ? LoaderState::Working : LoaderState::Idle;
}

int SdlAudio::PlayMusic(const std::string& file) {
  // Awake before the loader starts: it loads with the open mixer's settings.
  if (!WakeDevice()) return kNoDevice;
  StopMusic();
  // What can be known at once fails at once. Only a regular file is tried:
  // SDL_mixer crashes on a directory.
  struct stat st{};
  if (stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || access(file.c_str(), R_OK) != 0)
    return kCannotOpen;
  RequestLoad(file, 0);
  return 0;
}

void SdlAudio::RequestLoad(const std::string& file, double at) {
  ReleaseDevice();
  {
    std::lock_guard lock(loaderMutex_);
    toLoad_ = file;  // replaces a file whose load has not begun
    toLoadAt_ = at;
    toLoadId_ = wanted_ = ++lastLoad_;
  }
  loaderWake_.notify_one();
}

// On the main thread: plays the wanted track if its load has finished; the
// loads of tracks stopped or replaced meanwhile are freed, never played.
void SdlAudio::StartLoadedMusic() {
  std::vector<LoadedMusic> done;
  {
    std::lock_guard lock(loaderMutex_);
    done.swap(loaded_);
  }
  for (const LoadedMusic& l : done) {
    if (l.id != wanted_) {
      FreeLater(l.music);
      continue;
    }
    wanted_ = 0;
    // A track carried over a reopening counts as started when it first did.
    musicStart_.store(SDL_GetTicks() - static_cast<uint32_t>(l.at * 1000));
    musicFrom_ = l.at;
    musicFrames_.store(0);
    // Set before the track starts, which takes it over.
    Mix_VolumeMusic(l.rendered ? MIX_MAX_VOLUME : kMusicVolume);
    if (!l.music || Mix_FadeInMusicPos(l.music, 1, 0, l.at) != 0) {
      // Too late for PlayMusic's error: it comes as the cannot-play notice,
      // which leaves music on and tries no other file by itself.
      FreeLater(l.music);
      notice_.store(kMusicCannotPlay);
      continue;
    }
    music_ = l.music;
    musicFile_ = l.file;
    musicRendered_ = l.rendered;
  }
}

void SdlAudio::StopMusic() {
  if (!open_) return;
  // A load still running is freed when it arrives, never played.
  wanted_ = 0;
  {
    std::lock_guard lock(loaderMutex_);
    toLoad_.clear();
  }
  halting_.store(true);
  if (awake_) Mix_HaltMusic();
  FreeLater(music_);
  music_ = nullptr;
  musicFile_.clear();
  musicRendered_ = false;
  halting_.store(false);
  notice_.store(kMusicNoNotice);  // a notice about the stopped track is void
}

int SdlAudio::TakeMusicNotice() {
  if (open_) StartLoadedMusic();
  int notice = notice_.exchange(kMusicNoNotice);
  // A notice is answered first: its answer is often the next track.
  if (notice == kMusicNoNotice) {
    HoldDeviceIfSilent();
    SleepDeviceIfSilent();
    LengthenBufferIfQuiet();
  }
  return notice;
}
