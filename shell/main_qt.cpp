// The windowed program: start-up, the main window, the loop, shut-down.
#include <QApplication>
#include <ctime>

#include "game/game_state.h"
#include "platform/posix_network.h"
#include "platform/qt_ui.h"
#include "platform/sdl_audio.h"
#include "render/pictures.h"
#include "shell/main_window_qt.h"
#include "shell/program_qt.h"
#include "shell/startup.h"
#include "shell/welcome_dialog.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);

  QtUi ui;
  SteadyClock clock;
  SdlAudio audio;  // silent, after one line on stderr, without a device
  PosixNetwork net;
  GameState g;
  PictureSet pictures;  // lives until the program ends
  g.platform = Platform{&ui, &clock, &audio, &net};

  std::unique_ptr<MainWindow> window = StartProgram(
      g, ui, static_cast<uint32_t>(std::time(nullptr)), RunWelcomeDialog, &pictures);
  if (!window) return 0;

  app.exec();
  ShutDown(g);
  return 0;
}
