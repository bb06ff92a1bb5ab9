// Sound effects and MIDI music on SDL2_mixer.
//
// Effects play on one mixer channel, so a new effect cuts off the one still
// playing. Music is one track at a time through SDL_mixer's MIDI player
// (FluidSynth with the General MIDI soundfont). Without an audio device the
// game stays silent: one line on standard error, and every call is harmless.
//
// Loading a MIDI file makes FluidSynth read the whole soundfont again (some
// megabytes, 0.1-0.5 s), which on the game's one thread would stall several
// 40 ms steps at every track change. So PlayMusic only checks that the file
// can be opened and hands it to a loader thread; the main thread starts the
// track once it has loaded, when it next asks for the music notice. Freeing
// a track (its synthesiser and soundfont, 1-3 ms) is left to the loader as
// well, once the main thread has halted it. Every other SDL_mixer call stays
// on the main thread.
//
// A live synthesiser also costs about one per cent of a core while it
// plays. So the first time a track is played it is rendered once into the
// music cache (shell/music_cache.h) by a thread of low priority, and from
// then on the loader plays the render, which costs a tenth of that. A track
// not rendered yet, or whose render fails, plays live as before.
//
// An open device costs a few tenths of a per cent of a core even when it
// plays nothing: SDL's audio thread mixes and writes silence every 23 ms,
// paused or not. So the device sleeps (is closed) once nothing has played
// for a while, and opens again the moment an effect or a track is asked
// for. The audio thread notices the silence and asks the main thread, which
// closes the device when it next takes the music notice.
//
// While a game runs the device is not closed in silence (opening it again
// would hold a step); instead the main thread takes SDL's lock of the
// device once nothing has played for a moment, which stops the audio thread
// before its next buffer, and gives it back when something is to play (an
// effect is set going first, so that the very next buffer holds it). What
// the device holds plays out; then it runs dry, and takes up again at once.
// Every mixer call that may wait for the audio thread or another of ours
// gives the lock back first.
//
// How often that thread wakes follows the device's buffer. While a game runs
// the buffer is short (1024 frames, 23 ms), so that an effect follows its
// cause; with no game it is four times longer, which takes about a third
// off what that thread costs while music plays. Changing it means closing
// and opening the device, which halts the track: the track is started again
// at the sample it had reached. That happens when a game starts, before its
// first step (the closing holds the main thread for up to three of the old
// buffers, 0.2-0.3 s, while SDL's audio thread drains), and when one has
// ended, as soon as it can be done without losing anything.
#pragma once

#include <filesystem>
#include <functional>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
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
  // How long the device plays silence before it sleeps, when it is not
  // kept awake for a game (an open takes some milliseconds on a sound card).
  static constexpr uint32_t kSilenceBeforeSleepMs = 2000;
  // How long it plays silence in a game before its thread is held.
  static constexpr uint32_t kSilenceBeforeHoldMs = 100;
  // The rate the mixer asks the device for; the device may choose another.
  static constexpr int kOutputRate = 44100;
  // The device's buffer in frames while a game runs (an effect is heard at
  // most about two buffers after its step) and while none does.
  static constexpr int kGameBufferFrames = 1024;
  static constexpr int kQuietBufferFrames = 4096;

  // Opens the default audio device. Rendered tracks are kept in `musicCache`
  // (empty: every track plays live).
  explicit SdlAudio(uint32_t shortestTrackMs = kShortestTrackMs,
                    std::filesystem::path musicCache = DefaultMusicCache(),
                    uint32_t silenceBeforeSleepMs = kSilenceBeforeSleepMs, int outputRate = kOutputRate);
  ~SdlAudio() override;
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  bool HasDevice() const { return open_; }
  // Whether the device is open now rather than asleep.
  bool DeviceAwake() const { return awake_; }
  // Whether the main thread holds the audio thread still (in a game's silence).
  bool DeviceHeld() const { return held_; }
  // The open device's buffer in frames; 0 while it sleeps.
  int BufferFrames() const { return awake_ ? bufferFrames_ : 0; }
  bool EffectPlaying() const;
  bool MusicPlaying() const;
  // From PlayMusic until its track has started or failed to load.
  bool MusicLoading() const { return wanted_ != 0; }
  // What the loader thread is at. A stopped or replaced track may still be
  // loading after MusicLoading turned false.
  enum class LoaderState { Idle, Waiting, Working };  // Waiting: work not yet begun
  LoaderState Loader();
  // The file of the track that is playing; empty when none is.
  const std::string& MusicFile() const { return musicFile_; }

  void PlayEffect(const std::string& file) override;
  void StopEffect() override;
  // Returns 0 once the file is on its way to the loader; a track that then
  // fails to load or to start is reported by the kMusicCannotPlay notice.
  int PlayMusic(const std::string& file) override;
  void StopMusic() override;
  // Also starts the track asked for once it has loaded, and puts the device
  // to sleep once it has been silent long enough.
  int TakeMusicNotice() override;
  void KeepAwake(bool awake) override;
  void SetNoticeWake(std::function<void()> wake) override;

  // The rate the mixer runs at, which renders are made at.
  int MixerRate() const { return mixerRate_; }
  // Whether the track that is playing plays from its render.
  bool MusicRendered() const { return musicRendered_; }
  // Where the playing track is, in seconds from its start, counted in the
  // frames mixed (a decoder reports where it has read to, which runs ahead
  // of that by what it holds; a live player reports nothing). -1 when no
  // track plays.
  double MusicSeconds() const;
  // True while a track is being rendered.
  bool Rendering();
  // The music cache of the user's cache folder.
  static std::filesystem::path DefaultMusicCache();

  // The soundfont the MIDI player uses: $SDL_SOUNDFONTS when set, else the
  // General MIDI soundfont of the Debian package; empty when none is found.
  static std::string SoundfontPath();

 private:
  struct LoadedMusic {
    uint64_t id;
    std::string file;
    Mix_Music* music;  // null when the load failed
    bool rendered;     // loaded from its render, not the MIDI file
    double at;         // seconds into the track to start at (a render only)
  };

  static void MusicFinished();  // SDL_mixer's hook, on its audio thread
  static void AfterMix(void* self, uint8_t* stream, int len);  // likewise, every buffer
  bool OpenDevice();
  bool WakeDevice();
  void SleepDeviceIfSilent();
  bool Silent();
  void HoldDeviceIfSilent();
  void ReleaseDevice();
  void ReopenDevice();
  void LengthenBufferIfQuiet();
  void WaitForIdleLoader();
  void RequestLoad(const std::string& file, double at);
  Mix_Chunk* Effect(const std::string& file);
  void MakeBeep();
  void LoadMusic();  // the loader thread
  void StartLoadedMusic();
  void FreeLater(Mix_Music* music);
  LoadedMusic LoadTrack(uint64_t id, const std::string& file, double at);  // on the loader thread
  void StartRender(const std::string& file, const std::string& name);
  void Wake();

  bool open_ = false;   // a device was found
  bool awake_ = false;  // and is open now
  bool keepAwake_ = false;
  // SDL's number of the open device (0 when it cannot be told), and whether
  // the main thread holds its lock.
  uint32_t deviceId_ = 0;
  bool held_ = false;
  int bufferFrames_ = 0;  // of the device while it is open
  std::map<std::string, Mix_Chunk*> effects_;  // loaded once, kept until the end
  std::vector<int16_t> beepSamples_;
  Mix_Chunk* beep_ = nullptr;
  Mix_Music* music_ = nullptr;
  std::string musicFile_;
  bool musicRendered_ = false;
  uint64_t lastLoad_ = 0;  // the number of the latest load asked for
  uint64_t wanted_ = 0;    // the load whose track is to play; 0 when none

  // Shared with the loader thread; guarded by loaderMutex_. Only the newest
  // file waits (a track replaced before its load began is never loaded);
  // finished loads, stale ones included, wait in loaded_ for the main
  // thread, which plays the wanted one and hands the others back to free.
  std::thread loader_;
  std::mutex loaderMutex_;
  std::condition_variable loaderWake_;
  std::condition_variable loaderIdle_;  // told when the loader has nothing left to do
  std::string toLoad_;  // empty when nothing waits
  uint64_t toLoadId_ = 0;
  double toLoadAt_ = 0;
  bool working_ = false;  // a load or free is running
  bool quitLoader_ = false;
  std::vector<LoadedMusic> loaded_;
  std::vector<Mix_Music*> toFree_;  // halted or never played

  // Written by the hook on the audio thread, read on the main thread.
  std::atomic<int> notice_{kMusicNoNotice};
  std::atomic<bool> halting_{false};
  std::atomic<uint32_t> musicStart_{0};
  // Where the track playing started, and the frames of it mixed since.
  double musicFrom_ = 0;
  std::atomic<uint64_t> musicFrames_{0};
  const uint32_t shortestTrackMs_;
  // Counted by AfterMix while nothing plays; holdAsked_ and sleepAsked_
  // once the count reaches the hold's and the sleep's silence, cleared when
  // something plays again.
  uint64_t silentBytes_ = 0;
  std::atomic<bool> holdAsked_{false};
  std::atomic<bool> sleepAsked_{false};
  const uint32_t silenceBeforeSleepMs_;
  const int outputRate_;  // asked for
  // Obtained at the first opening (mixerRate_ 0 without a device) and asked
  // for exactly at every later one.
  int mixerRate_ = 0;
  uint16_t mixerFormat_ = 0;
  int mixerChannels_ = 0;

  std::mutex wakeMutex_;  // held while the wake is called or replaced
  std::function<void()> wake_;

  // The music cache; fixed once the device is open.
  const std::filesystem::path cacheDir_;
  std::string soundfont_, fontId_, renderKey_;
  // One render at a time, on its own thread of the lowest priority.
  std::mutex renderMutex_;
  std::thread render_;
  bool rendering_ = false;
  std::atomic<bool> quitRender_{false};
};
