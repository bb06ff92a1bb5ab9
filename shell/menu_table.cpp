#include "shell/menu_table.h"

#include "platform/menu_ids.h"

const std::vector<MenuItem>& MainMenu() {
  static const std::vector<MenuItem> kMenu = {
      {"&Game", CmdConnect, "&Connect to Game Server [F1]", true, false},
      {nullptr, CmdStartServer, "&Start New Game Server [F2]", true, false},
      {nullptr, 0, nullptr, true, false},
      {nullptr, CmdServerOptions, "&Advanced Server Options [F3]", false, false},
      {nullptr, CmdDisconnect, "Stop Server / &Disconnect [F4]", false, false},
      {nullptr, 0, nullptr, true, false},
      {nullptr, CmdExit, "E&xit [Escape]", true, false},
      {"&Options", CmdLoadMap, "&Load Map... [F5]", false, false},
      {nullptr, CmdSaveMap, "Sa&ve Current Map... [F6]", false, false},
      {nullptr, CmdGenerateMap, "&Generate Map...", false, false},
      {nullptr, 0, nullptr, true, false},
      {nullptr, CmdPlaySounds, "Play &Sounds [F7]", true, true},
      {nullptr, CmdPlayMusic, "Play &Music [F8]", true, true},
      {nullptr, 0, nullptr, true, false},
      {nullptr, CmdNextTrack, "Skip to &next music track [F9]", true, false},
      {nullptr, CmdNickname, "&Change Nick Name [F11]", true, false},
      {nullptr, 0, nullptr, true, false},
      {nullptr, CmdPrediction, "Use Prediction &Algorithm [F12]", false, true},
      {"&Help", CmdAbout, "&About Vrask", true, false},
      {nullptr, 0, nullptr, true, false},
      {nullptr, CmdHelpClientServer, "&Client/Server?", true, false},
      {nullptr, CmdHelpGameplay, "Game&play/Controls", true, false},
      {nullptr, CmdHelpStatusBar, "&The Status Bar", true, false},
      {nullptr, 0, nullptr, true, false},
      {nullptr, CmdHomePage, "&Go to Vrask Homepage", true, false},
  };
  return kMenu;
}
