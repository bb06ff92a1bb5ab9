// The real audio on SDL's disk driver, which writes what the device would
// play into a file: effects are heard, cut each other off and stop on quit,
// a missing file beeps, and the music's end starts the next track. Music
// loads on a thread of its own: a track stopped, replaced or abandoned at
// quit while it loads never plays. A track plays from its render once it
// has one, and a damaged render plays live and is rendered again. The
// device sleeps once silent for a while and wakes for the next sound. Its
// buffer is short while a game runs and long while none does; the track
// playing when it changes goes on where it was.
#include <QtTest>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>
#include <vector>

#include "game/game_state.h"
#include "platform/menu_ids.h"
#include "platform/sdl_audio.h"
#include "shell/commands.h"
#include "shell/music.h"
#include "support/test_game.h"

namespace {

// 44100 Hz, 16-bit, stereo: what the device is opened with.
constexpr int kBytesPerSecond = 44100 * 4;

void Wait(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// A mono 16-bit WAV of a steady tone.
void WriteTone(const std::string& name, double seconds, double hz) {
  int n = static_cast<int>(44100 * seconds);
  std::string data;
  for (int i = 0; i < n; ++i) {
    auto s = static_cast<int16_t>(16000 * std::sin(2 * M_PI * hz * i / 44100));
    data += static_cast<char>(s & 0xFF);
    data += static_cast<char>((s >> 8) & 0xFF);
  }
  auto le = [](uint32_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    return out;
  };
  WriteFile(name, "RIFF" + le(36 + data.size(), 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) +
                      le(44100, 4) + le(88200, 4) + le(2, 2) + le(16, 2) + "data" +
                      le(data.size(), 4) + data);
}

// A standard MIDI file of one piano note lasting `beats` beats at 120 bpm.
void WriteShortTrack(const std::string& name, int beats) {
  std::string track = std::string("\x00\xC0\x00", 3) + std::string("\x00\x90\x3C\x64", 4);
  if (beats > 0) {
    int ticks = beats * 96;  // 96 per beat: two bytes of variable-length delta
    track += static_cast<char>(0x80 | (ticks >> 7));
    track += static_cast<char>(ticks & 0x7F);
  } else {
    track += '\0';
  }
  track += std::string("\x80\x3C\x00", 3) + std::string("\x00\xFF\x2F\x00", 4);
  std::string len;
  for (int i = 3; i >= 0; --i) len += static_cast<char>((track.size() >> (8 * i)) & 0xFF);
  WriteFile(name, std::string("MThd\0\0\0\x06\0\0\0\x01\0\x60", 14) + "MTrk" + len + track);
}

// What the disk driver wrote so far, as a byte offset.
size_t Written() {
  std::error_code ec;
  auto n = std::filesystem::file_size(std::getenv("SDL_DISKAUDIOFILE"), ec);
  return ec ? 0 : static_cast<size_t>(n);
}

// Root mean square level (0..1) of the device's output between two offsets.
double Level(size_t from, size_t to) {
  std::ifstream in(std::getenv("SDL_DISKAUDIOFILE"), std::ios::binary);
  from &= ~size_t{3};
  in.seekg(static_cast<std::streamoff>(from));
  std::vector<int16_t> s((to - from) / 2);
  in.read(reinterpret_cast<char*>(s.data()), static_cast<std::streamsize>(s.size() * 2));
  s.resize(static_cast<size_t>(in.gcount()) / 2);
  if (s.empty()) return 0;
  double sum = 0;
  for (int16_t v : s) sum += static_cast<double>(v) * v;
  return std::sqrt(sum / s.size()) / 32768;
}

size_t Ms(int ms) { return static_cast<size_t>(kBytesPerSecond) * ms / 1000; }

// The renders in a music cache folder.
std::vector<std::filesystem::path> Renders(const std::filesystem::path& music) {
  std::vector<std::filesystem::path> found;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(music, ec))
    if (e.path().extension() == ".flac") found.push_back(e.path());
  return found;
}

// The sample rate a FLAC file's header gives (20 bits of its stream info).
int FlacRate(const std::filesystem::path& flac) {
  std::ifstream in(flac, std::ios::binary);
  unsigned char h[21] = {};
  in.read(reinterpret_cast<char*>(h), sizeof h);
  return in ? (h[18] << 12) | (h[19] << 4) | (h[20] >> 4) : 0;
}

// Waits up to 20 s for the loader to reach the state.
bool WaitForLoader(SdlAudio& audio, SdlAudio::LoaderState state) {
  for (int i = 0; i < 20000 && audio.Loader() != state; ++i) Wait(1);
  return audio.Loader() == state;
}

// Polls the notice, as the window's timer does, until the track plays (up to
// 20 s); returns the last notice taken.
int PollUntilPlaying(SdlAudio& audio) {
  int notice = kMusicNoNotice;
  for (int i = 0; i < 20000 && !audio.MusicPlaying() && notice == kMusicNoNotice; ++i) {
    Wait(1);
    notice = audio.TakeMusicNotice();
  }
  return notice;
}

}  // namespace

class SdlAudioTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", (std::filesystem::temp_directory_path() /
                                 ("vrask-audio-" + std::to_string(getpid()) + ".raw")).c_str(), 1);
  }
  void cleanupTestCase() { std::filesystem::remove(std::getenv("SDL_DISKAUDIOFILE")); }
  // Every test starts with an empty music cache of its own, so its first
  // play of a track is live.
  void init() {
    cache_ = std::filesystem::temp_directory_path() / ("vrask-cache-" + std::to_string(getpid()));
    std::filesystem::remove_all(cache_);
    setenv("XDG_CACHE_HOME", cache_.c_str(), 1);
  }
  void cleanup() { std::filesystem::remove_all(cache_); }

  void aTrackPlaysFromItsRenderAndADamagedRenderIsRenderedAgain() {
    ScopedTempDir dir;
    if (SdlAudio::SoundfontPath().empty()) QSKIP("no General MIDI soundfont installed");
    WriteShortTrack("vrask3.mid", 4);
    SdlAudio audio;
    auto renders = [&] { return Renders(cache_ / "vrask" / "music"); };
    // Plays the track from its start for a second; its level.
    auto play = [&](bool rendered) {
      audio.StopMusic();
      if (audio.PlayMusic("vrask3.mid") != 0) return -1.0;
      if (PollUntilPlaying(audio) != kMusicNoNotice || audio.MusicRendered() != rendered) return -1.0;
      size_t start = Written();
      Wait(1000);
      return Level(start, Written());
    };
    auto waitForRender = [&] {
      for (int i = 0; i < 20000 && audio.Rendering(); ++i) Wait(1);
      return !audio.Rendering();
    };

    double live = play(false);
    QVERIFY(live > 0.005);
    QVERIFY(waitForRender());
    QCOMPARE(renders().size(), size_t(1));
    double rendered = play(true);
    QVERIFY(rendered > 0.005);
    QVERIFY(std::fabs(20 * std::log10(rendered / live)) < 1.0);  // as loud, within 1 dB

    // Cut short: played live, and rendered anew.
    audio.StopMusic();
    std::filesystem::resize_file(renders().at(0), 100);
    QVERIFY(play(false) > 0.005);
    QVERIFY(waitForRender());
    QVERIFY(play(true) > 0.005);
  }

  // A device that runs at another rate than the one asked for gets renders
  // at its own rate, so that no render is resampled while it plays.
  void aRenderIsMadeAtTheMixersRate() {
    ScopedTempDir dir;
    if (SdlAudio::SoundfontPath().empty()) QSKIP("no General MIDI soundfont installed");
    WriteShortTrack("vrask3.mid", 2);
    SdlAudio audio(SdlAudio::kShortestTrackMs, SdlAudio::DefaultMusicCache(),
                   SdlAudio::kSilenceBeforeSleepMs, 48000);
    QCOMPARE(audio.MixerRate(), 48000);
    QCOMPARE(audio.PlayMusic("vrask3.mid"), 0);
    QCOMPARE(PollUntilPlaying(audio), int{kMusicNoNotice});
    for (int i = 0; i < 20000 && audio.Rendering(); ++i) Wait(1);
    const auto renders = Renders(cache_ / "vrask" / "music");
    QCOMPARE(renders.size(), size_t(1));
    QCOMPARE(FlacRate(renders[0]), 48000);
  }

  void effectsPlayCutEachOtherAndAMissingFileBeeps() {
    ScopedTempDir dir;
    WriteTone("long.wav", 1.5, 440);
    WriteTone("blip.wav", 0.1, 1000);
    SdlAudio audio;
    QVERIFY(audio.HasDevice());
    Wait(100);
    size_t start = Written();
    audio.PlayEffect("long.wav");
    audio.PlayEffect("blip.wav");  // in the same step: cuts the long one off
    Wait(700);
    size_t later = Written();
    QVERIFY(!audio.EffectPlaying());
    audio.PlayEffect("no-such-file.wav");
    QVERIFY(audio.EffectPlaying());
    Wait(400);
    size_t end = Written();
    QVERIFY(Level(start, later) > 0.01);  // the blip was heard
    // Had the long tone gone on, this stretch would be loud.
    QCOMPARE(Level(later - Ms(400), later), 0.0);
    QVERIFY(Level(later, end) > 0.05);  // the beep instead of silence
  }

  void theDeviceSleepsWhileSilentAndWakesForTheNextSound() {
    ScopedTempDir dir;
    WriteTone("blip.wav", 0.1, 1000);
    WriteShortTrack("vrask3.mid", 2);
    SdlAudio audio(SdlAudio::kShortestTrackMs, SdlAudio::DefaultMusicCache(), 1000);
    // Polled as the window's tick does, for `ms`; whether it is awake then.
    int notice = kMusicNoNotice;
    auto pollFor = [&](int ms) {
      for (int i = 0; i < ms / 10; ++i) {
        Wait(10);
        if (int n = audio.TakeMusicNotice(); n != kMusicNoNotice) notice = n;
      }
      return audio.DeviceAwake();
    };
    struct Sound {
      const char* name;
      std::function<void()> play;
      std::function<bool()> playing;
      int heardWithinMs;  // a track takes a moment to load
    };
    const std::vector<Sound> sounds = {
        {"effect", [&] { audio.PlayEffect("blip.wav"); }, [&] { return audio.EffectPlaying(); }, 100},
        {"music", [&] { audio.PlayMusic("vrask3.mid"); },
         [&] { return audio.MusicLoading() || audio.MusicPlaying(); }, 3000},
    };
    QVERIFY(audio.DeviceAwake());
    QVERIFY(pollFor(100));    // silent, but not yet for long
    QVERIFY(!pollFor(2500));  // asleep
    for (const Sound& s : sounds) {
      if (std::string(s.name) == "music" && SdlAudio::SoundfontPath().empty()) continue;
      s.play();
      QVERIFY2(audio.DeviceAwake(), s.name);
      QVERIFY2(s.playing(), s.name);
      // Awake while it plays (the track rings out for seconds), heard from
      // its start: the device's file begins anew when it opens.
      for (int i = 0; i < 1000 && s.playing(); ++i) QVERIFY2(pollFor(10), s.name);
      QVERIFY2(Level(0, Ms(s.heardWithinMs)) > 0.001, s.name);
      QVERIFY2(pollFor(100), s.name);    // the silence after it has only begun
      QVERIFY2(!pollFor(2500), s.name);  // asleep again
    }
    if (!SdlAudio::SoundfontPath().empty()) QCOMPARE(notice, int{kMusicSuccessful});  // its end was told

    // A game keeps it open from its start through any silence; a moment
    // into the silence its thread is held and writes nothing more, until an
    // effect sets it going and is heard at once.
    audio.KeepAwake(true);
    QVERIFY(audio.DeviceAwake());
    for (int round = 0; round < 2; ++round) {
      for (int i = 0; i < 300 && !audio.DeviceHeld(); ++i) QVERIFY(pollFor(10));
      QVERIFY(audio.DeviceHeld());
      QVERIFY(pollFor(100));  // the buffer the thread had in hand is written
      const size_t held = Written();
      QVERIFY(pollFor(300));
      QCOMPARE(Written(), held);
      audio.PlayEffect("blip.wav");
      QVERIFY(!audio.DeviceHeld());
      for (int i = 0; i < 300 && Written() < held + Ms(150); ++i) Wait(10);
      QVERIFY(Level(held, held + Ms(150)) > 0.001);
    }
    QVERIFY(pollFor(2500));
    audio.KeepAwake(false);  // the game ends: held no more, and asleep after the silence
    QVERIFY(!audio.DeviceHeld());
    QVERIFY(!pollFor(2500));
  }

  void theBufferIsShortOnlyWhileAGameRuns() {
    ScopedTempDir dir;
    WriteTone("blip.wav", 0.1, 1000);
    SdlAudio audio(SdlAudio::kShortestTrackMs, SdlAudio::DefaultMusicCache(), 300);
    auto sleep = [&] {
      for (int i = 0; i < 100 && audio.DeviceAwake(); ++i) {
        Wait(10);
        audio.TakeMusicNotice();
      }
    };
    const int kShort = SdlAudio::kGameBufferFrames, kLong = SdlAudio::kQuietBufferFrames;
    struct Step {
      const char* what;
      std::function<void()> act;
      int frames;  // of the device after it; 0 asleep
    };
    const std::vector<Step> steps = {
        {"opened with no game", [] {}, kLong},
        {"a game starts while it is open", [&] { audio.KeepAwake(true); }, kShort},
        {"a game goes on through silence", [&] { Wait(500), audio.TakeMusicNotice(); }, kShort},
        {"the game ends in silence", [&] { audio.KeepAwake(false); }, kShort},
        {"silent a while", sleep, 0},
        {"an effect with no game", [&] { audio.PlayEffect("blip.wav"); }, kLong},
        {"silent a while again", sleep, 0},
        {"a game starts while it sleeps", [&] { audio.KeepAwake(true); }, kShort},
        {"an effect in the game", [&] { audio.PlayEffect("blip.wav"); }, kShort},
    };
    for (const Step& s : steps) {
      s.act();
      QVERIFY2(audio.BufferFrames() == s.frames, s.what);
    }
  }

  // A game starting while a track plays on the long buffer: the track goes on
  // from about where it was, with no notice. A render carries straight over;
  // a live track comes back from its render if that has been made meanwhile,
  // else it starts again. When the game ends a render goes back to the long
  // buffer the same way.
  void aTrackGoesOnWhereItWasWhenTheBufferChanges() {
    if (SdlAudio::SoundfontPath().empty()) QSKIP("no General MIDI soundfont installed");
    struct Case {
      const char* what;
      bool renderedBefore, cacheWorks;
      bool renderedAfter;
      bool sameSpot;  // else from its start
    };
    const std::vector<Case> cases = {
        {"a render", true, true, true, true},
        {"live, rendered meanwhile", false, true, true, true},
        {"live, no render", false, false, false, false},
    };
    for (const Case& c : cases) {
      ScopedTempDir dir;
      std::filesystem::remove_all(cache_);
      if (!c.cacheWorks) {
        std::filesystem::create_directories(cache_);
        WriteFile((cache_ / "vrask").string(), "not a folder");
      }
      WriteShortTrack("vrask3.mid", 12);  // 6 s, and the ring-out
      SdlAudio audio;
      int notices = 0;
      auto poll = [&](int ms) {
        for (int i = 0; i < ms / 10; ++i) {
          Wait(10);
          notices += audio.TakeMusicNotice() != kMusicNoNotice;
        }
      };
      auto start = [&] {
        audio.StopMusic();
        QCOMPARE(audio.PlayMusic("vrask3.mid"), 0);
        QCOMPARE(PollUntilPlaying(audio), int{kMusicNoNotice});
      };
      start();
      for (int i = 0; i < 20000 && audio.Rendering(); ++i) Wait(1);
      if (c.renderedBefore) start();
      QVERIFY2(audio.MusicRendered() == c.renderedBefore, c.what);
      QCOMPARE(audio.BufferFrames(), int{SdlAudio::kQuietBufferFrames});
      poll(1500);
      const double before = audio.MusicSeconds();
      QVERIFY2(before > 1.0, c.what);

      audio.KeepAwake(true);
      QCOMPARE(audio.BufferFrames(), int{SdlAudio::kGameBufferFrames});
      QCOMPARE(PollUntilPlaying(audio), int{kMusicNoNotice});
      QVERIFY2(audio.MusicRendered() == c.renderedAfter, c.what);
      const double after = audio.MusicSeconds();
      if (c.sameSpot) QVERIFY2(std::fabs(after - before) < 0.25, c.what);
      else QVERIFY2(after < 0.25, c.what);
      // Half a second of the new device's output, counted in what it wrote
      // rather than in time: on a busy machine it writes late.
      for (int i = 0; i < 500 && Written() < Ms(500); ++i) poll(10);
      QVERIFY2(audio.MusicPlaying(), c.what);
      QVERIFY2(Level(0, Written()) > 0.001, c.what);  // heard from the new device's start

      audio.KeepAwake(false);  // the game ends
      if (c.renderedAfter) {
        QCOMPARE(audio.BufferFrames(), int{SdlAudio::kQuietBufferFrames});
        QVERIFY2(std::fabs(audio.MusicSeconds() - after - 0.5) < 0.25, c.what);
      }
      poll(300);
      QVERIFY2(audio.MusicPlaying(), c.what);
      QVERIFY2(notices == 0, c.what);
    }
  }

  void soundsOffPlaysNothingButQuittingStopsTheEffect() {
    ScopedTempDir dir;
    WriteFile("pakmap.map", BorderMapText());
    WriteTone("long.wav", 1.5, 440);
    SdlAudio audio;
    TestGame t;
    t.g.platform.audio = &audio;
    t.g.SoundsOn = 1;
    PlayEffect(t.g, "long.wav");
    QVERIFY(audio.EffectPlaying());
    t.g.SoundsOn = 0;
    // Not played: being missing, it would have cut the tone off with a
    // beep that is over by now.
    PlayEffect(t.g, "blip.wav");
    Wait(300);
    QVERIFY(audio.EffectPlaying());
    size_t before = Written();
    RunQuitSequence(t.g);
    QVERIFY(!audio.EffectPlaying());
    Wait(300);
    QVERIFY(Level(before - Ms(150), before) > 0.05);  // the long tone still played
    QCOMPARE(Level(Written() - Ms(200), Written()), 0.0);
    QCOMPARE(t.rec.ui.quits, 1);
  }

  void endOfTrackStartsTheNextAndAStopStartsNothing() {
    ScopedTempDir dir;
    if (SdlAudio::SoundfontPath().empty()) QSKIP("no General MIDI soundfont installed");
    WriteShortTrack("vrask3.mid", 1);  // half a second, and the synthesiser's ring-out
    WriteShortTrack("vrask4.mid", 8);
    SdlAudio audio;
    TestGame t;
    t.g.platform.audio = &audio;
    t.g.MusicOn = 1;
    t.g.MusicTrack = 3;
    QCOMPARE(PlayMusic(t.g, MusicFileName(3)), 0);
    size_t start = Written();
    for (int i = 0; i < 1000 && t.g.MusicTrack == 3; ++i) {
      Wait(10);
      PollMusicNotice(t.g);
    }
    QCOMPARE(int{t.g.MusicTrack}, 4);
    QCOMPARE(t.g.MusicDevice, 1);
    QVERIFY(audio.MusicLoading() || audio.MusicPlaying());
    QCOMPARE(PollUntilPlaying(audio), int{kMusicNoNotice});
    QCOMPARE(audio.MusicFile(), std::string("vrask4.mid"));
    QVERIFY(Level(start, Written()) > 0.005);  // the synthesiser played the note

    PlayMusic(t.g, "stop");  // skip or music off: nothing follows by itself
    QVERIFY(!audio.MusicPlaying());
    Wait(200);
    PollMusicNotice(t.g);
    QCOMPARE(int{t.g.MusicTrack}, 4);
    QCOMPARE(t.g.MusicDevice, 0);

    // A track that cannot be opened: music stays on, nothing plays.
    QVERIFY(PlayMusic(t.g, MusicFileName(5)) != 0);
    QCOMPARE(t.g.MusicDevice, 0);
    QCOMPARE(t.g.MusicOn, 1);
    QVERIFY(!audio.MusicPlaying());
  }

  void trackEndingAtOnceIsAFailureThatSwitchesMusicOff() {
    ScopedTempDir dir;
    if (SdlAudio::SoundfontPath().empty()) QSKIP("no General MIDI soundfont installed");
    WriteShortTrack("vrask7.mid", 0);
    // The track rings out for about 3 s; count anything shorter than 20 s as
    // ending at once.
    SdlAudio audio(20000);
    TestGame t;
    t.g.platform.audio = &audio;
    t.g.MusicOn = 1;
    t.g.MusicTrack = 7;
    QCOMPARE(PlayMusic(t.g, MusicFileName(7)), 0);
    for (int i = 0; i < 1500 && t.g.MusicOn; ++i) {
      Wait(10);
      PollMusicNotice(t.g);
    }
    QCOMPARE(t.g.MusicOn, 0);
    QCOMPARE(int{t.g.MusicTrack}, 7);
    QCOMPARE(t.rec.ui.enabled.at(CmdNextTrack), false);
  }

  void aTrackStoppedWhileItLoadsNeverPlays() {
    ScopedTempDir dir;
    if (SdlAudio::SoundfontPath().empty()) QSKIP("no General MIDI soundfont installed");
    WriteShortTrack("vrask3.mid", 8);
    SdlAudio audio;
    QCOMPARE(audio.PlayMusic("vrask3.mid"), 0);
    QVERIFY(audio.MusicLoading());
    QVERIFY(WaitForLoader(audio, SdlAudio::LoaderState::Working));  // the load has begun
    audio.StopMusic();
    QVERIFY(!audio.MusicLoading());
    QVERIFY(WaitForLoader(audio, SdlAudio::LoaderState::Idle));  // and has ended
    QCOMPARE(audio.TakeMusicNotice(), int{kMusicNoNotice});
    QVERIFY(!audio.MusicPlaying());
    QCOMPARE(audio.MusicFile(), std::string());
  }

  void aSecondTrackAskedForWhileTheFirstLoadsPlaysAlone() {
    ScopedTempDir dir;
    if (SdlAudio::SoundfontPath().empty()) QSKIP("no General MIDI soundfont installed");
    WriteShortTrack("vrask3.mid", 8);
    WriteShortTrack("vrask4.mid", 8);
    SdlAudio audio;
    QCOMPARE(audio.PlayMusic("vrask3.mid"), 0);
    QVERIFY(WaitForLoader(audio, SdlAudio::LoaderState::Working));
    QCOMPARE(audio.PlayMusic("vrask4.mid"), 0);
    QVERIFY(audio.MusicLoading());
    // The first load ends while the second runs: polled meanwhile, it must
    // not start.
    QCOMPARE(PollUntilPlaying(audio), int{kMusicNoNotice});
    QCOMPARE(audio.MusicFile(), std::string("vrask4.mid"));
    QVERIFY(WaitForLoader(audio, SdlAudio::LoaderState::Idle));
    QCOMPARE(audio.TakeMusicNotice(), int{kMusicNoNotice});
    QCOMPARE(audio.MusicFile(), std::string("vrask4.mid"));
    QVERIFY(!audio.MusicLoading());

    // A track that has started is replaced the same way.
    QCOMPARE(audio.PlayMusic("vrask3.mid"), 0);
    QVERIFY(!audio.MusicPlaying());
    QCOMPARE(PollUntilPlaying(audio), int{kMusicNoNotice});
    QCOMPARE(audio.MusicFile(), std::string("vrask3.mid"));
  }

  void quittingWhileTracksLoadReturns() {
    ScopedTempDir dir;
    if (SdlAudio::SoundfontPath().empty()) QSKIP("no General MIDI soundfont installed");
    WriteShortTrack("vrask3.mid", 8);
    WriteShortTrack("vrask4.mid", 8);
    for (bool secondWaits : {false, true}) {
      SdlAudio audio;
      QCOMPARE(audio.PlayMusic("vrask3.mid"), 0);
      QVERIFY(WaitForLoader(audio, SdlAudio::LoaderState::Working));
      if (secondWaits) {
        QCOMPARE(audio.PlayMusic("vrask4.mid"), 0);
        QVERIFY(audio.MusicLoading());
      }
    }  // the destructor waits for the load and frees it
  }

  void aFileThatCannotBeOpenedFailsAtOnce() {
    ScopedTempDir dir;
    std::filesystem::create_directory("vrask2.mid");
    SdlAudio audio;
    for (const char* file : {"vrask1.mid", "vrask2.mid", ""}) {
      QCOMPARE(audio.PlayMusic(file), SdlAudio::kCannotOpen);
      QVERIFY(!audio.MusicLoading());
      QCOMPARE(audio.Loader(), SdlAudio::LoaderState::Idle);
    }
  }

  void aTrackThatFailsToLoadLeavesMusicOn() {
    ScopedTempDir dir;
    WriteFile("pakmap.map", BorderMapText());
    WriteShortTrack("vrask5.mid", 8);
    // Without its soundfont the synthesiser cannot load any track.
    std::string saved = std::getenv("SDL_SOUNDFONTS") ? std::getenv("SDL_SOUNDFONTS") : "";
    setenv("SDL_SOUNDFONTS", "no-such-font.sf2", 1);
    SdlAudio audio;
    if (saved.empty()) unsetenv("SDL_SOUNDFONTS");
    else setenv("SDL_SOUNDFONTS", saved.c_str(), 1);
    TestGame t;
    t.g.platform.audio = &audio;
    t.g.MusicOn = 1;
    t.g.MusicTrack = 5;
    QCOMPARE(PlayMusic(t.g, MusicFileName(5)), 0);  // known only once loaded
    for (int i = 0; i < 2000 && t.g.MusicDevice != 0; ++i) {
      Wait(10);
      PollMusicNotice(t.g);
    }
    QCOMPARE(t.g.MusicDevice, 0);
    QCOMPARE(t.g.MusicOn, 1);
    QCOMPARE(int{t.g.MusicTrack}, 5);  // no other file is tried
    QVERIFY(t.rec.ui.checked.empty() && t.rec.ui.enabled.empty());  // the menu shows music on
    QVERIFY(!audio.MusicPlaying());
    QVERIFY(!audio.MusicLoading());
  }

  void aRenderThatFailsLeavesTheTrackLive() {
    ScopedTempDir dir;
    if (SdlAudio::SoundfontPath().empty()) QSKIP("no General MIDI soundfont installed");
    WriteShortTrack("vrask3.mid", 4);
    // The cache cannot be made: a file stands where its folder would be.
    std::filesystem::create_directories(cache_);
    WriteFile((cache_ / "vrask").string(), "not a folder");
    SdlAudio audio;
    for (int round = 0; round < 2; ++round) {
      audio.StopMusic();
      QCOMPARE(audio.PlayMusic("vrask3.mid"), 0);
      QCOMPARE(PollUntilPlaying(audio), int{kMusicNoNotice});
      QVERIFY(audio.MusicPlaying());
      QVERIFY(!audio.MusicRendered());
      for (int i = 0; i < 20000 && audio.Rendering(); ++i) Wait(1);
    }
  }

  void noDeviceIsSilentAndHarmless() {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SdlAudio audio;
    setenv("SDL_AUDIODRIVER", "disk", 1);
    QVERIFY(!audio.HasDevice());
    audio.PlayEffect("ring.wav");
    audio.StopEffect();
    QVERIFY(audio.PlayMusic("vrask0.mid") != 0);
    audio.StopMusic();
    QCOMPARE(audio.TakeMusicNotice(), int{kMusicNoNotice});
  }

 private:
  std::filesystem::path cache_;
};

QTEST_MAIN(SdlAudioTest)
#include "sdl_audio_test.moc"
