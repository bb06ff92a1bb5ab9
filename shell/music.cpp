#include "shell/music.h"

#include "game/game_state.h"
#include "platform/menu_ids.h"

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

void NextTrack(GameState& g) {
  g.MusicTrack = static_cast<uint8_t>((g.MusicTrack + 1) % kMusicTracks);
}

void HandleMusicNotice(GameState& g, int code) {
  switch (code) {
    case kMusicNoNotice:
    case kMusicAborted:
      return;
    case kMusicCannotPlay:
      // The error PlayMusic returns for a file it cannot play, only later:
      // silent. Music stays on (flag and check mark); the next track waits
      // for the user to skip or to switch music off and on.
      g.MusicDevice = 0;
      return;
    case kMusicFailure:
      // The device stays open until the next stop or play closes it.
      g.MusicOn = 0;
      if (Ui* ui = g.platform.ui) {
        ui->CheckMenuItem(CmdPlayMusic, false);
        ui->EnableMenuItem(CmdNextTrack, false);
      }
      return;
    default:  // the end of the track (or a superseded one)
      PlayMusic(g, "stop");
      NextTrack(g);
      if (g.MusicOn) PlayMusic(g, MusicFileName(g.MusicTrack));
      return;
  }
}

void PollMusicNotice(GameState& g) {
  if (g.platform.audio) HandleMusicNotice(g, g.platform.audio->TakeMusicNotice());
}
