#include "shell/demo_playback_qt.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <ctime>
#include <QImage>
#include <QKeyEvent>
#include <QMenuBar>
#include <cstdio>

#include "game/game_state.h"
#include "render/paint_window.h"
#include "render/pictures.h"
#include "shell/main_window_qt.h"

namespace {

bool KeyOf(int qtKey, DemoKey* key) {
  switch (qtKey) {
    case Qt::Key_Space: *key = DemoKey::Pause; return true;
    case Qt::Key_Left: *key = DemoKey::Back; return true;
    case Qt::Key_Right: *key = DemoKey::Forward; return true;
    case Qt::Key_Up: *key = DemoKey::Faster; return true;
    case Qt::Key_Down: *key = DemoKey::Slower; return true;
    case Qt::Key_Home: *key = DemoKey::Restart; return true;
    case Qt::Key_Escape: *key = DemoKey::Quit; return true;
    default: return false;
  }
}

}  // namespace

DemoPlayer::DemoPlayer(MainWindow& window, GameState& game, DemoPlayback& playback)
    : window_(window), game_(game), playback_(playback) {
  playback_.Shown().Bitmaps = game_.Bitmaps;
  window_.menuBar()->setEnabled(false);
  window_.view()->paint = [this](GameState&, Surface& s) {
    PaintWindow(playback_.Shown(), s);
    playback_.Shown().MapDirty = 0;
  };
  window_.view()->repeatingKey = nullptr;  // the playback's picture moves
  // Every key goes to the playback, none to the idle game behind it.
  qApp->installEventFilter(this);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &DemoPlayer::OnFrame);
  timer_.start(playback_.MsPerFrame());
  Show();
}

DemoPlayer::~DemoPlayer() {
  qApp->removeEventFilter(this);
  window_.view()->paint = PaintWindow;  // the game's own picture again
  window_.view()->repeatingKey = RepeatingPictureKey;
}

void DemoPlayer::Show() {
  window_.setWindowTitle(QString::fromStdString(playback_.TitleText()));
  window_.view()->Invalidate();
}

void DemoPlayer::OnFrame() {
  if (playback_.Paused()) return;
  int effect = 0;
  if (!playback_.Advance(&effect)) return;  // stays on the last frame
  if (effect && game_.platform.audio) game_.platform.audio->PlayEffect(kDemoEffects[effect - 1]);
  Show();
}

bool DemoPlayer::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() != QEvent::KeyPress) return QObject::eventFilter(watched, e);
  auto* press = static_cast<QKeyEvent*>(e);
  // Alt+Enter still switches the window to the whole screen and back.
  if ((press->key() == Qt::Key_Return || press->key() == Qt::Key_Enter) && (press->modifiers() & Qt::AltModifier))
    return QObject::eventFilter(watched, e);
  DemoKey key;
  if (KeyOf(press->key(), &key)) {
    if (!playback_.Press(key)) {
      timer_.stop();
      if (game_.platform.ui) game_.platform.ui->PostQuit();
      return true;
    }
    timer_.setInterval(playback_.MsPerFrame());
    Show();
  }
  return true;
}

DemoReport WindowDemoReport(QWidget* parent) {
  return [parent = QPointer<QWidget>(parent)](const std::string& text) {
    std::fprintf(stderr, "vrask: %s\n", text.c_str());
    auto* box = new QMessageBox(QMessageBox::Warning, "Demo Error", QString::fromStdString(text),
                                QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
  };
}

void AskAndArmDemoRecording(GameState& g, QWidget* parent) {
  QString path = QFileDialog::getSaveFileName(parent, "Record Demo", "demo.vrd", "Vrask demos (*.vrd)");
  if (path.isEmpty()) return;
  ArmDemoRecording(g, path.toStdString(), static_cast<int64_t>(std::time(nullptr)), WindowDemoReport(parent));
}

int RenderDemoPicture(const std::string& demo, const std::string& png, int step) {
  DemoPlayback playback;
  std::string error;
  if (!playback.Load(demo, &error)) {
    std::fprintf(stderr, "vrask: %s\n", error.c_str());
    return 1;
  }
  if (step >= playback.Frames()) {
    std::fprintf(stderr, "vrask: %s has steps 0 to %d\n", demo.c_str(), playback.Frames() - 1);
    return 1;
  }
  PictureSet pictures;
  LoadBitmaps(playback.Shown(), pictures);
  playback.SeekTo(step);
  Surface s;
  RenderWholeFrame(playback.Shown(), s);
  QImage image(reinterpret_cast<const uchar*>(s.pixels.data()), s.width, s.height, s.width * 4,
               QImage::Format_RGB32);
  if (!image.save(QString::fromStdString(png), "PNG")) {
    std::fprintf(stderr, "vrask: cannot write %s\n", png.c_str());
    return 1;
  }
  return 0;
}
