#include "shell/startup.h"

#include <cstdio>

#include "connection/end_game.h"
#include "game/game_state.h"
#include "maps/map_file.h"
#include "platform/menu_ids.h"
#include "render/pictures.h"
#include "render/player_colours.h"
#include "shell/music.h"

bool StartUpBeforeWelcome(GameState& g, uint32_t seed, PictureSet* pictures) {
  g.NullAddress = NetAddress{};
  g.MusicTrack = 0;
  if (g.platform.net) g.Socket = g.platform.net->CreateSocket();
  if (!g.Socket && g.platform.ui)
    g.platform.ui->MessageBox(
        "Could not get winsock to work (3)\nVrask Internet connection may not work properly",
        "ERROR", MsgButtons::Ok, MsgIcon::Error, false);
  g.Rng.Seed(seed);
  if (pictures) LoadBitmaps(g, *pictures);
  SetPlayerColours(g);
  if (!LoadMapFile(g, "pakmap.map")) {
    if (g.platform.ui)
      g.platform.ui->MessageBox("Could Not Load File pakmap.map", "File Error", MsgButtons::Ok,
                                MsgIcon::Exclamation, false);
    return false;
  }
  g.ConnectionStatus = "Not Connected";
  return true;
}

void ApplyNicknameRule(GameState& g) {
  if (g.Nickname.empty() || g.Nickname.size() > 8) g.Nickname = "unnamed";
}

std::string WindowTitle(const GameState& g) {
  char title[64];
  std::snprintf(title, sizeof title, "Vrask %d.%d [%s]", kVersionMajor, kVersionMinor,
                g.Nickname.c_str());
  return title;
}

void StartUpAfterWelcome(GameState& g) {
  ApplyNicknameRule(g);
  Ui* ui = g.platform.ui;
  if (ui) ui->SetWindowTitle(WindowTitle(g));
  g.MusicTrack = static_cast<uint8_t>(Random(g) % kMusicTracks);
  if (g.MusicOn)
    PlayMusic(g, MusicFileName(g.MusicTrack));
  else if (ui)
    ui->EnableMenuItem(CmdNextTrack, false);
  if (ui) {
    ui->CheckMenuItem(CmdPlayMusic, g.MusicOn);
    ui->CheckMenuItem(CmdPlaySounds, g.SoundsOn);
    ui->EnableMenuItem(CmdPrediction, false);
  }
  g.LastStepTime = g.platform.clock->TickCount();
}

void ShutDown(GameState& g) {
  EndGame(g);
  PlayMusic(g, "stop");
}
