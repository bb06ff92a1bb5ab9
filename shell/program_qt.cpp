#include "shell/program_qt.h"

#include <QApplication>
#include <QIcon>

#include "game/game_state.h"
#include "platform/embedded_assets.h"
#include "render/paint_window.h"
#include "shell/dialog_builder_qt.h"
#include "shell/main_window_qt.h"
#include "shell/startup.h"

std::unique_ptr<MainWindow> StartProgram(GameState& g, QtUi& ui, uint32_t seed,
                                         const WelcomeRunner& welcome, PictureSet* pictures) {
  if (!StartUpBeforeWelcome(g, seed, pictures)) return nullptr;
  // Every window and dialog shows the program icon, once there is one.
  if (EmbeddedAsset("icon102.bmp")) QApplication::setWindowIcon(QIcon(ProgramIconPixmap()));
  if (!welcome(g)) return nullptr;

  auto window = std::make_unique<MainWindow>(g, ui);
  window->view()->paint = PaintWindow;
  StartUpAfterWelcome(g);
  window->show();
  window->activateWindow();
  window->setFocus();
  window->StartTimer();
  return window;
}
