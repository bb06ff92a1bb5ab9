#include "shell/program_qt.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>

#include "game/game_state.h"
#include "platform/embedded_assets.h"
#include "render/paint_window.h"
#include "render/repeating_picture.h"
#include "render/scaled_copy.h"
#include "render/surface.h"
#include "shell/dialog_builder_qt.h"
#include "shell/main_window_qt.h"
#include "shell/startup.h"

namespace {

// Sizes the view for the screen the window opens on. The caption, frame and
// menu need room beside the picture too.
void ShowAtScale(PlayfieldView& view, int requested) {
  QScreen* screen = QGuiApplication::primaryScreen();
  double ratio = screen ? screen->devicePixelRatio() : 1.0;
  QRect room = screen ? screen->availableGeometry() : QRect(0, 0, kClientWidth, kClientHeight);
  constexpr int kFrameRoom = 80;
  int scale = ChooseScale(requested, ratio, static_cast<int>(room.width() * ratio),
                          static_cast<int>((room.height() - kFrameRoom) * ratio), kClientWidth,
                          kClientHeight);
  if (scale != 1 || ratio != 1) view.SetScale(scale, ratio);
}

}  // namespace

std::unique_ptr<MainWindow> StartProgram(GameState& g, QtUi& ui, uint32_t seed,
                                         const WelcomeRunner& welcome, PictureSet* pictures,
                                         int scale) {
  if (!StartUpBeforeWelcome(g, seed, pictures)) return nullptr;
  // Every window and dialog shows the program icon, once there is one.
  if (EmbeddedAsset("icon102.bmp")) QApplication::setWindowIcon(QIcon(ProgramIconPixmap()));
  if (!welcome(g)) return nullptr;

  auto window = std::make_unique<MainWindow>(g, ui);
  window->view()->paint = PaintWindow;
  window->view()->repeatingKey = RepeatingPictureKey;
  ShowAtScale(*window->view(), scale);
  StartUpAfterWelcome(g);
  window->show();
  window->activateWindow();
  window->setFocus();
  window->StartTimer();
  return window;
}
