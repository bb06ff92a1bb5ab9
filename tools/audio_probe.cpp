// Plays sound files through the game's audio (platform/sdl_audio.cpp) and
// measures what that costs, for checking the music and its CPU use.
//   audio_probe music FILE.mid [seconds]  plays the track until it ends (or
//                                         for that long), then prints the
//                                         wall time and the CPU time used
//                                         from the track's start on
//   audio_probe idle seconds              keeps the device open, playing nothing
//   audio_probe effect FILE.wav           plays one effect to its end
//   audio_probe render FILE.mid           plays the track until its render
//                                         for the music cache is done (the
//                                         next "music" of it plays the render)
//   audio_probe switch FILE.mid...        starts each track in turn, one per
//                                         half second, polling every 40 ms
//                                         game step as the window does, and
//                                         prints how long the main thread
//                                         spent in the music calls
//   audio_probe gamestart FILE.mid SECONDS  plays the track; after that long
//                                         a game starts (the device takes
//                                         its short buffer) and, as long
//                                         again later, ends; prints how long
//                                         each change held the main thread
//                                         and where the track was around it
// With SDL_AUDIODRIVER=disk the sound goes to SDL_DISKAUDIOFILE (signed
// 16-bit stereo at 44100 Hz) for sox to look at; SDL_DISKAUDIODELAY=0
// renders as fast as the processor allows.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <vector>

#include "platform/sdl_audio.h"

namespace {

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double Now() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// Processor time of the calling thread alone.
double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

// Starts each track, then runs 12 game steps of 40 ms polling the notice as
// the window's timer does; the longest wall and main-thread CPU time of one
// PlayMusic and of one poll show whether starting a track stalls a step.
int SwitchTracks(SdlAudio& audio, const std::vector<std::string>& files) {
  double playWall = 0, playCpu = 0, pollWall = 0, pollCpu = 0, sumPlayWall = 0;
  int started = 0;
  for (const std::string& file : files) {
    double w0 = Now(), c0 = ThreadCpuSeconds();
    int err = audio.PlayMusic(file);
    double w = Now() - w0, c = ThreadCpuSeconds() - c0;
    playWall = std::max(playWall, w);
    playCpu = std::max(playCpu, c);
    sumPlayWall += w;
    if (err != 0) std::fprintf(stderr, "cannot play %s (%d)\n", file.c_str(), err);
    for (int step = 0; step < 12; ++step) {
      std::this_thread::sleep_for(std::chrono::milliseconds(40));
      w0 = Now(), c0 = ThreadCpuSeconds();
      audio.TakeMusicNotice();
      pollWall = std::max(pollWall, Now() - w0);
      pollCpu = std::max(pollCpu, ThreadCpuSeconds() - c0);
    }
    if (audio.MusicPlaying()) ++started;
  }
  double s0 = Now();
  audio.StopMusic();
  std::printf("switch: %zu tracks, %d playing after 0.5 s; PlayMusic max wall %.2f ms (mean %.2f), "
              "max cpu %.2f ms; poll max wall %.2f ms, max cpu %.2f ms; stop %.2f ms\n",
              files.size(), started, playWall * 1e3, sumPlayWall * 1e3 / files.size(), playCpu * 1e3,
              pollWall * 1e3, pollCpu * 1e3, (Now() - s0) * 1e3);
  return 0;
}

// A game starting and ending while the track plays: what each change of
// the device's buffer costs the main thread, and the track's position just
// before and after it (from the render, the decoder's own).
int GameStartAndEnd(SdlAudio& audio, const std::string& file, double seconds) {
  if (audio.PlayMusic(file) != 0) return 1;
  while (!audio.MusicPlaying() && audio.TakeMusicNotice() == kMusicNoNotice)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  for (bool game : {true, false}) {
    double t0 = Now();
    while (Now() - t0 < seconds) {
      std::this_thread::sleep_for(std::chrono::milliseconds(40));
      if (audio.TakeMusicNotice() != kMusicNoNotice) std::printf("notice before the change!\n");
    }
    int frames = audio.BufferFrames();
    double before = audio.MusicSeconds(), w0 = Now();
    audio.KeepAwake(game);
    double held = Now() - w0, after = audio.MusicSeconds();
    std::printf("%s: buffer %d -> %d frames, main thread held %.1f ms, track at %.3f s -> %.3f s "
                "(rendered %d)\n", game ? "game starts" : "game ends", frames, audio.BufferFrames(),
                held * 1e3, before, after, audio.MusicRendered());
  }
  double t0 = Now();
  while (Now() - t0 < 1) {
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    if (audio.TakeMusicNotice() != kMusicNoNotice) std::printf("notice after the change!\n");
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: audio_probe music FILE.mid [seconds] | idle SECONDS | effect FILE.wav | "
                 "render FILE.mid | switch FILE.mid... | gamestart FILE.mid SECONDS\n");
    return 2;
  }
  std::string mode = argv[1];
  SdlAudio audio;
  if (!audio.HasDevice()) return 1;
  if (mode == "gamestart") return GameStartAndEnd(audio, argv[2], argc > 3 ? std::atof(argv[3]) : 3);
  if (mode == "switch") return SwitchTracks(audio, std::vector<std::string>(argv + 2, argv + argc));
  double limit = mode == "idle" ? std::atof(argv[2]) : argc > 3 ? std::atof(argv[3]) : 600;
  double cpu0 = CpuSeconds(), t0 = Now();
  if (mode == "render") {
    if (audio.PlayMusic(argv[2]) != 0) return 1;
    while (!audio.MusicPlaying() && audio.TakeMusicNotice() == kMusicNoNotice && Now() - t0 < limit)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    while (audio.Rendering()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::printf("render: wall %.2f s, cpu %.3f s\n", Now() - t0, CpuSeconds() - cpu0);
    return 0;
  }
  int notice = kMusicNoNotice;
  if (mode == "music") {
    if (audio.PlayMusic(argv[2]) != 0) {
      std::fprintf(stderr, "cannot play %s\n", argv[2]);
      return 1;
    }
    // The clock starts with the track: its load (the check of its render,
    // the decoder's set-up) is paid once a track, not each second it plays.
    while (!audio.MusicPlaying() && (notice = audio.TakeMusicNotice()) == kMusicNoNotice &&
           Now() - t0 < limit)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    cpu0 = CpuSeconds(), t0 = Now();
  }
  if (mode == "effect") audio.PlayEffect(argv[2]);
  // Music and idle poll once a game step, as the window does while a game
  // runs; an effect is watched closely for its end.
  const auto poll = std::chrono::milliseconds(mode == "effect" ? 5 : 40);
  while (notice == kMusicNoNotice && Now() - t0 < limit) {
    std::this_thread::sleep_for(poll);
    if (mode == "music" && (notice = audio.TakeMusicNotice()) != kMusicNoNotice) break;
    if (mode == "effect" && !audio.EffectPlaying()) break;
  }
  double wall = Now() - t0, cpu = CpuSeconds() - cpu0;
  std::printf("%s: wall %.2f s, cpu %.3f s (%.2f %% of one core), notice %d\n", mode.c_str(), wall,
              cpu, 100 * cpu / wall, notice);
  return 0;
}
