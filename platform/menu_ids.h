// Command identifiers of the main window's menu.
#pragma once

enum MenuId : int {
  CmdConnect = 40007,          // "&Connect to Game Server [F1]"
  CmdStartServer = 40006,      // "&Start New Game Server [F2]"
  CmdServerOptions = 40032,    // "&Advanced Server Options [F3]"
  CmdDisconnect = 40033,       // "Stop Server / &Disconnect [F4]"
  CmdExit = 40001,             // "E&xit [Escape]"
  CmdLoadMap = 40003,          // "&Load Map... [F5]"
  CmdSaveMap = 40043,          // "Sa&ve Current Map... [F6]"
  CmdGenerateMap = 40004,      // "&Generate Map..."
  CmdPlaySounds = 40010,       // "Play &Sounds [F7]"
  CmdPlayMusic = 40039,        // "Play &Music [F8]"
  CmdNextTrack = 40040,        // "Skip to &next music track [F9]"
  CmdNickname = 40041,         // "&Change Nick Name [F11]"
  CmdPrediction = 40042,       // "Use Prediction &Algorithm [F12]"
  CmdFullScreen = 40050,       // "&Full Screen [Alt+Enter]"
  CmdAbout = 40011,            // "&About Vrask"
  CmdHelpClientServer = 40036, // "&Client/Server?"
  CmdHelpGameplay = 40034,     // "Game&play/Controls"
  CmdHelpStatusBar = 40035,    // "&The Status Bar"
  CmdHomePage = 40012,         // "&Go to Vrask Homepage"
  CmdRecordDemo = 40051,       // "&Record Demo..." (records the next game)
};

// A hot key posts its command with this marker, so the command rechecks its
// precondition and skips the full repaint that a menu choice gets.
constexpr int HotKeyMarker = 245;
