// Plays sound files through the game's audio (platform/sdl_audio.cpp) and
// measures what that costs, for checking the music and its CPU use.
//   audio_probe music FILE.mid [seconds]  plays the track until it ends (or
//                                         for that long), then prints the
//                                         wall time and the CPU time used
//   audio_probe idle seconds              keeps the device open, playing nothing
//   audio_probe effect FILE.wav           plays one effect to its end
// With SDL_AUDIODRIVER=disk the sound goes to SDL_DISKAUDIOFILE (signed
// 16-bit stereo at 44100 Hz) for sox to look at; SDL_DISKAUDIODELAY=0
// renders as fast as the processor allows.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <thread>

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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: audio_probe music FILE.mid [seconds] | idle SECONDS | effect FILE.wav\n");
    return 2;
  }
  std::string mode = argv[1];
  SdlAudio audio;
  if (!audio.HasDevice()) return 1;
  double limit = mode == "idle" ? std::atof(argv[2]) : argc > 3 ? std::atof(argv[3]) : 600;
  double cpu0 = CpuSeconds(), t0 = Now();
  if (mode == "music" && audio.PlayMusic(argv[2]) != 0) {
    std::fprintf(stderr, "cannot play %s\n", argv[2]);
    return 1;
  }
  if (mode == "effect") audio.PlayEffect(argv[2]);
  int notice = kMusicNoNotice;
  while (Now() - t0 < limit) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (mode == "music" && (notice = audio.TakeMusicNotice()) != kMusicNoNotice) break;
    if (mode == "effect" && !audio.EffectPlaying()) break;
  }
  double wall = Now() - t0, cpu = CpuSeconds() - cpu0;
  std::printf("%s: wall %.2f s, cpu %.3f s (%.2f %% of one core), notice %d\n", mode.c_str(), wall,
              cpu, 100 * cpu / wall, notice);
  return 0;
}
