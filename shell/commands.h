// The main window's behaviour, free of Qt: menu commands with their
// preconditions and refusals, hot keys, the quit paths, control keys and
// mouse buttons. The window forwards its events here; what needs a dialog
// or the desktop comes back through CommandHost.
#pragma once

struct GameState;

class CommandHost {
 public:
  virtual ~CommandHost() = default;
  // A hot key posts its command; it runs when the window's queue reaches it.
  virtual void PostCommand(int id, int marker) = 0;
  // Repaints the whole window (the caller has set MapDirty).
  virtual void RepaintAll() = 0;
  virtual void ShowJoinDialog() = 0;
  virtual void ShowServerSettings() = 0;
  virtual void ShowServerControl() = 0;
  virtual void ShowChooseMap() = 0;
  virtual void ShowMapControl() = 0;
  virtual void GenerateMap() = 0;
  virtual int ShowNicknameDialog() = 0;  // 1 Change, 0 Cancel
  virtual void ShowInfoDialog(int templateId) = 0;
  virtual void OpenHomePage() = 0;
  // Switches between the window and the whole screen and checks the menu
  // item when it fills the screen.
  virtual void ToggleFullScreen() = 0;
  // Asks for a demo file and arms the recording of the next game.
  virtual void ShowRecordDemo() = 0;
};

// The page the home page command opens.
inline constexpr const char* kHomePage = "https://vrask.example.org/";

// The user has a player in the running game.
bool LocalPlayerInGame(const GameState& g);

// A command from the menu (marker 0) or posted by a hot key (HotKeyMarker).
void RunCommand(GameState& g, CommandHost& host, int id, int marker);

// A key going down; shift and caps say whether Shift is held and Caps Lock
// is on, for chat typing.
void HandleKeyDown(GameState& g, CommandHost& host, int vk, bool shift, bool caps);

// The close box, the system menu or Alt+F4: asks first.
void HandleCloseRequest(GameState& g);

// Mouse buttons over the window.
void HandleMouseButton(GameState& g, bool leftButton);

// Stops sound and music, ends the game and posts the quit.
void RunQuitSequence(GameState& g);
