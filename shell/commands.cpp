#include "shell/commands.h"

#include "connection/end_game.h"
#include "game/game_state.h"
#include "platform/menu_ids.h"
#include "shell/chat_entry.h"
#include "shell/control_input.h"
#include "shell/music.h"
#include "shell/nickname_entry.h"
#include "shell/virtual_keys.h"

namespace {

MsgAnswer Ask(GameState& g, const char* text, const char* title) {
  return g.platform.ui->MessageBox(text, title, MsgButtons::YesNo, MsgIcon::Question);
}

void Refuse(GameState& g, const char* text, const char* title, MsgIcon icon = MsgIcon::Information) {
  g.platform.ui->MessageBox(text, title, MsgButtons::Ok, icon);
}

void ToggleMusic(GameState& g) {
  g.MusicOn = !g.MusicOn;
  Ui* ui = g.platform.ui;
  ui->CheckMenuItem(CmdPlayMusic, g.MusicOn);
  if (g.MusicOn) {
    NextTrack(g);
    PlayMusic(g, MusicFileName(g.MusicTrack));
    ui->EnableMenuItem(CmdNextTrack, true);
  } else {
    PlayMusic(g, "stop");
    ui->EnableMenuItem(CmdNextTrack, false);
  }
}

// Runs the command; false when it ends before its closing repaint.
bool Dispatch(GameState& g, CommandHost& host, int id) {
  switch (id) {
    case CmdConnect:
      host.ShowJoinDialog();
      break;
    case CmdStartServer:
      host.ShowServerSettings();
      break;
    case CmdServerOptions:
      if (!g.IsServer)
        Refuse(g, "You cannot change server options: You are not running a server!",
               "Cannot change server options");
      else
        host.ShowServerControl();
      break;
    case CmdDisconnect:
      if (!g.IsServer && !g.IsClient)
        Refuse(g, "You cannot disconnect: You are not connected!", "Cannot disconnect");
      else if (Ask(g, "Are you sure you want to end this game?", "Shut down server/disconnect") ==
               MsgAnswer::Yes)
        EndGame(g);
      break;
    case CmdRecordDemo:
      // The header holds the map and speed the game begins with.
      if (g.IsServer || g.IsClient)
        Refuse(g, "You cannot start recording: A game is running, end it first!", "Cannot record demo");
      else
        host.ShowRecordDemo();
      break;
    case CmdExit:
      if (Ask(g, "Are you sure you want to quit the game?", "Exit?") == MsgAnswer::Yes)
        RunQuitSequence(g);
      break;
    case CmdLoadMap:
      if (!g.IsServer)
        Refuse(g, "You cannot load a map: You are not running a server!", "Cannot load level");
      else
        host.ShowChooseMap();
      break;
    case CmdSaveMap:
      if (!g.IsServer && !g.IsClient)
        Refuse(g, "You cannot save this map: You are not in a game!", "Cannot save level");
      else
        host.ShowMapControl();
      break;
    case CmdGenerateMap:
      if (g.IsServer) host.GenerateMap();  // refused silently otherwise
      break;
    case CmdPlaySounds:
      g.SoundsOn = !g.SoundsOn;
      g.platform.ui->CheckMenuItem(CmdPlaySounds, g.SoundsOn);
      break;
    case CmdPlayMusic:
      ToggleMusic(g);
      break;
    case CmdNextTrack:
      if (!g.MusicOn) break;  // refused silently
      PlayMusic(g, "stop");
      NextTrack(g);
      PlayMusic(g, MusicFileName(g.MusicTrack));
      return false;  // changing the track skips the closing repaint
    case CmdNickname:
      if (!ChangeNicknameCommand(g, [&host](GameState&) { return host.ShowNicknameDialog(); }))
        return false;  // refused or cancelled
      break;
    case CmdPrediction:
      if (!g.IsClient) {
        Refuse(g, "You cannot toggle the prediction algorithm: You are not connected to a server!",
               "Cannot toggle prediction algorithm");
      } else {
        g.PredictionOn = !g.PredictionOn;
        g.platform.ui->CheckMenuItem(CmdPrediction, g.PredictionOn);
      }
      break;
    case CmdAbout:
      host.ShowInfoDialog(107);
      break;
    case CmdHelpGameplay:
      host.ShowInfoDialog(109);
      break;
    case CmdHelpStatusBar:
      host.ShowInfoDialog(110);
      break;
    case CmdHelpClientServer:
      host.ShowInfoDialog(111);
      break;
    case CmdHomePage:
      host.OpenHomePage();
      break;
    case CmdFullScreen:
      host.ToggleFullScreen();
      break;
    default:
      break;
  }
  return true;
}

void EscapeKey(GameState& g) {
  if (!g.IsClient && !g.IsServer) {
    RunQuitSequence(g);
  } else if (Ask(g, "Do you really want to quit?", "Are you sure?") == MsgAnswer::Yes) {
    RunQuitSequence(g);
  }
}

}  // namespace

bool LocalPlayerInGame(const GameState& g) { return g.IsClient || (g.IsServer && g.ServerParticipates); }

void RunCommand(GameState& g, CommandHost& host, int id, int marker) {
  // A menu choice repaints everything before and after; a hot key does not.
  const bool fromMenu = marker != HotKeyMarker;
  if (fromMenu) {
    g.MapDirty = 1;
    host.RepaintAll();
  }
  if (!Dispatch(g, host, id)) return;
  if (fromMenu) {
    g.MapDirty = 1;
    host.RepaintAll();
  }
}

void HandleKeyDown(GameState& g, CommandHost& host, int vk, bool shift, bool caps) {
  static const struct {
    int vk, command;
  } kHotKeys[] = {
      {VkF(1), CmdConnect},       {VkF(2), CmdStartServer}, {VkF(3), CmdServerOptions},
      {VkF(4), CmdDisconnect},    {VkF(5), CmdLoadMap},     {VkF(6), CmdSaveMap},
      {VkF(7), CmdPlaySounds},    {VkF(8), CmdPlayMusic},   {VkF(9), CmdNextTrack},
      {VkF(11), CmdNickname},     {VkF(12), CmdPrediction},
  };
  for (const auto& h : kHotKeys)
    if (h.vk == vk) {
      host.PostCommand(h.command, HotKeyMarker);
      return;
    }

  const bool inGame = LocalPlayerInGame(g);
  switch (vk) {
    case VkUp: if (inGame) ApplyControlKey(g, 'u'); return;
    case VkDown: if (inGame) ApplyControlKey(g, 'd'); return;
    case VkLeft: if (inGame) ApplyControlKey(g, 'l'); return;
    case VkRight: if (inGame) ApplyControlKey(g, 'r'); return;
    case VkControl:
      if (inGame) {
        ApplyControlKey(g, 'a');
        ApplyControlKey(g, 'b');
      }
      return;
    case VkShift: if (inGame) ApplyControlKey(g, 'p'); return;
    case VkReturn: if (inGame) ApplyControlKey(g, 't'); return;
    case VkBack: if (inGame) DeleteChatCharacter(g); return;
    case VkEscape: EscapeKey(g); return;
    default: TypeChatKey(g, vk, shift, caps); return;
  }
}

void HandleCloseRequest(GameState& g) {
  if (Ask(g, "Are you sure you want to quit this game?", "Exit?") == MsgAnswer::Yes)
    RunQuitSequence(g);
}

void HandleMouseButton(GameState& g, bool leftButton) {
  if (!LocalPlayerInGame(g)) return;
  if (leftButton) {
    ApplyControlKey(g, 'a');
    ApplyControlKey(g, 'b');
  } else {
    ApplyControlKey(g, 'p');
  }
}

void RunQuitSequence(GameState& g) {
  if (g.platform.audio) g.platform.audio->StopEffect();
  PlayMusic(g, "stop");
  EndGame(g);
  g.platform.ui->PostQuit();
}
