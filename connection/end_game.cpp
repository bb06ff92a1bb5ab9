#include "connection/end_game.h"

#include <cstring>

#include "game/frame_transitions.h"
#include "game/game_state.h"
#include "maps/map_file.h"
#include "platform/menu_ids.h"
#include "protocol/datagrams.h"

int EndGame(GameState& g) {
  if (g.Watcher && (g.IsServer || g.IsClient)) g.Watcher->GameEnding(g);
  if (g.IsServer) SendToInternetPlayers(g, kLeavingDatagram, kLeavingLength, "Send error #24");
  if (g.IsClient && !g.IsServer && g.AllowInternet)
    SendDatagram(g, g.ServerAddress, kLeavingDatagram, kLeavingLength, "Send error #25");

  if (g.IsClient || g.IsServer) {
    // Datagrams still on their way to the old socket are lost with it.
    g.Socket.reset();
    if (g.platform.net) g.Socket = g.platform.net->CreateSocket();
    for (int i = 0; i < kSlotCount; ++i) {
      g.Players[i].Active = 0;
      ParkFireball(g.Fireballs[i]);
    }
    ParkFireball(g.EighthFireball);
  }

  if (Ui* ui = g.platform.ui) {
    for (int id : {CmdServerOptions, CmdDisconnect, CmdPrediction, CmdLoadMap, CmdSaveMap,
                   CmdGenerateMap})
      ui->EnableMenuItem(id, false);
    ui->EnableMenuItem(CmdNickname, true);
  }

  g.ConnectionStatus = "Not Connected";
  g.IsServer = 0;
  g.IsClient = 0;
  g.LeaderFrags = 0;
  g.ServerAddressText[0].clear();
  g.LocalSlot = kNoSlot;

  if (!LoadMapFile(g, "pakmap.map")) {
    if (Ui* ui = g.platform.ui) {
      ui->MessageBox("Could Not Load File pakmap.map", "File Error", MsgButtons::Ok,
                     MsgIcon::Exclamation);
      ui->PostQuit();
    }
    return 0;
  }

  g.MapDirty = 1;
  g.ClientQuiet = 0;
  g.ServerSilence = 0;
  g.Board = ChatBoard{};
  EmptyChatInput(g);
  if (g.platform.ui) g.platform.ui->InvalidateWindow();
  return 1;
}
