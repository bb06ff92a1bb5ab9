#include "shell/menu_table.h"

#include "platform/menu_ids.h"

const std::vector<MenuItem>& MainMenu() {
  // popup, id, text, enabled, checkable, checked
  static const std::vector<MenuItem> kMenu = {
      {"&Game", CmdConnect, "&Connect to Game Server [F1]", true, false, false},
      {nullptr, CmdStartServer, "&Start New Game Server [F2]", true, false, false},
      {nullptr, 0, nullptr, true, false, false},
      {nullptr, CmdServerOptions, "&Advanced Server Options [F3]", false, false, false},
      {nullptr, CmdDisconnect, "Stop Server / &Disconnect [F4]", false, false, false},
      {nullptr, CmdRecordDemo, "&Record Demo...", true, false, false},
      {nullptr, 0, nullptr, true, false, false},
      {nullptr, CmdExit, "E&xit [Escape]", true, false, false},
      {"&Options", CmdLoadMap, "&Load Map... [F5]", false, false, false},
      {nullptr, CmdSaveMap, "Sa&ve Current Map... [F6]", false, false, false},
      {nullptr, CmdGenerateMap, "&Generate Map...", false, false, false},
      {nullptr, 0, nullptr, true, false, false},
      {nullptr, CmdPlaySounds, "Play &Sounds [F7]", true, true, true},
      {nullptr, CmdPlayMusic, "Play &Music [F8]", true, true, true},
      {nullptr, 0, nullptr, true, false, false},
      {nullptr, CmdNextTrack, "Skip to &next music track [F9]", true, false, false},
      {nullptr, CmdNickname, "&Change Nick Name [F11]", true, false, false},
      {nullptr, 0, nullptr, true, false, false},
      {nullptr, CmdPrediction, "Use Prediction &Algorithm [F12]", false, true, true},
      {nullptr, CmdFullScreen, "&Full Screen [Alt+Enter]", true, true, false},
      {"&Help", CmdAbout, "&About Vrask", true, false, false},
      {nullptr, 0, nullptr, true, false, false},
      {nullptr, CmdHelpClientServer, "&Client/Server?", true, false, false},
      {nullptr, CmdHelpGameplay, "Game&play/Controls", true, false, false},
      {nullptr, CmdHelpStatusBar, "&The Status Bar", true, false, false},
      {nullptr, 0, nullptr, true, false, false},
      {nullptr, CmdHomePage, "&Go to Vrask Homepage", true, false, false},
  };
  return kMenu;
}
