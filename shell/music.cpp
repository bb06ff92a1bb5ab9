#include "shell/music.h"

#include "game/game_state.h"

std::string MusicFileName(int track) { return "vrask" + std::to_string(track) + ".mid"; }

int PlayMusic(GameState& g, const std::string& what) {
  Audio* audio = g.platform.audio;
  if (g.MusicDevice != 0 && audio) audio->StopMusic();
  if (what.compare(0, 4, "stop") == 0) {
    g.MusicDevice = 0;
    return 1;
  }
  g.MusicDevice = 0;
  if (!audio) return 1;
  int err = audio->PlayMusic(what);
  if (err == 0) g.MusicDevice = 1;
  return err;
}
