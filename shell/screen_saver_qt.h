#pragma once

// Keeps the desktop's screen saver and monitor power saving from starting
// while the main window is active, through the freedesktop.org screen saver
// service. Where the desktop offers no such service nothing happens.
class ScreenSaverBlock {
 public:
  ~ScreenSaverBlock() { Release(); }
  void Hold();
  void Release();

 private:
  unsigned cookie_ = 0;
  bool held_ = false;
};
