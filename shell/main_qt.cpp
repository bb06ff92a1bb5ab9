// The windowed program: start-up, the main window, the loop, shut-down.
#include <QApplication>
#include <ctime>

#include "game/game_state.h"
#include "platform/posix_network.h"
#include "platform/qt_ui.h"
#include "platform/silent_audio.h"
#include "render/paint_window.h"
#include "render/pictures.h"
#include "shell/main_window_qt.h"
#include "shell/startup.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);

  QtUi ui;
  SteadyClock clock;
  SilentAudio audio;
  PosixNetwork net;
  GameState g;
  PictureSet pictures;  // lives until the program ends
  g.platform = Platform{&ui, &clock, &audio, &net};

  if (!StartUpBeforeWelcome(g, static_cast<uint32_t>(std::time(nullptr)), &pictures)) return 0;

  // Until the welcome dialog exists the game starts with its defaults.
  g.SoundsOn = 1;
  g.MusicOn = 1;

  MainWindow window(g, ui);
  window.view()->paint = PaintWindow;
  StartUpAfterWelcome(g);
  window.show();
  window.activateWindow();
  window.setFocus();
  window.StartTimer();

  app.exec();
  ShutDown(g);
  return 0;
}
