#include "shell/main_window_qt.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <cmath>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QPaintEvent>
#include <QPointer>
#include <QThread>

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

#include "admin/server_control_qt.h"
#include "connection/game_tick.h"
#include "connection/join_dialog.h"
#include "connection/server_settings_dialog.h"
#include "game/game_state.h"
#include "maps/generate_map.h"
#include "maps/map_dialogs_qt.h"
#include "platform/menu_ids.h"
#include "platform/qt_ui.h"
#include "platform/xcb_presenter.h"
#include "render/scaled_copy.h"
#include "shell/gunsight_cursor_qt.h"
#include "shell/info_dialog.h"
#include "shell/key_map_qt.h"
#include "shell/menu_table.h"
#include "shell/music.h"
#include "shell/nickname_dialog.h"
#include "shell/nickname_entry.h"

PlayfieldView::PlayfieldView(GameState& g, QWidget* parent) : QWidget(parent), g_(g) {
  setFixedSize(kClientWidth, kClientHeight);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
  // The window's client area shows the gunsight; the menu keeps the arrow.
  setCursor(GunsightCursor());
  // On X the view is a window of its own that the presenter draws on: Qt
  // then neither keeps a copy of it nor paints it. VRASK_QT_PAINT=1 leaves
  // the painting to Qt, should an X server show the view wrongly.
  if (QGuiApplication::platformName() == QLatin1String("xcb") &&
      qEnvironmentVariableIntValue("VRASK_QT_PAINT") == 0) {
    onX_ = true;
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_PaintOnScreen);
  }
}

PlayfieldView::~PlayfieldView() = default;

QPaintEngine* PlayfieldView::paintEngine() const { return nullptr; }

bool PlayfieldView::event(QEvent* e) {
  if (e->type() == QEvent::WinIdChange) presenter_.reset();
  return QWidget::event(e);
}

XcbPresenter* PlayfieldView::Presenter() {
  // Until it is shown the view has nothing to draw on; showing it exposes
  // it, and that paint puts the whole picture.
  if (!onX_ || !isVisible()) return nullptr;
  if (!presenter_) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    presenter_ = XcbPresenter::Create(x11 ? x11->connection() : nullptr, static_cast<uint32_t>(winId()),
                                      surface_.width * scale_, surface_.height * scale_);
    if (!presenter_) PaintThroughQt();
  }
  return presenter_.get();
}

void PlayfieldView::PaintThroughQt() {
  onX_ = false;
  setAttribute(Qt::WA_PaintOnScreen, false);
  update();
}

const uint32_t* PlayfieldView::ShownPixels(int* stride) const {
  if (scale_ > 1) {
    *stride = static_cast<int>(scaled_.bytesPerLine() / 4);
    return reinterpret_cast<const uint32_t*>(scaled_.constBits());
  }
  *stride = surface_.width;
  return surface_.pixels.data();
}

void PlayfieldView::SetScale(int scale, double ratio) {
  scale_ = scale;
  ratio_ = ratio > 0 ? ratio : 1;
  presenter_.reset();  // made again for the new size
  scaled_ = scale_ == 1 ? QImage()
                        : QImage(surface_.width * scale_, surface_.height * scale_, QImage::Format_RGB32);
  if (scale_ > 1) {
    ScaleSurfaceRect(surface_, 0, 0, surface_.width, surface_.height, scale_,
                     reinterpret_cast<uint32_t*>(scaled_.bits()), scaled_.bytesPerLine() / 4);
  }
  setFixedSize(static_cast<int>(std::ceil(surface_.width * scale_ / ratio_)),
               static_cast<int>(std::ceil(surface_.height * scale_ / ratio_)));
}

void PlayfieldView::Invalidate() {
  if (paintPending_) return;
  paintPending_ = true;
  // Inside a step the paint follows the step directly (PaintHeld); posting
  // it would cost the loop another turn at every step. A box that the step
  // opens runs its own loop, and that loop paints as usual.
  if (holdLevel_ == QThread::currentThread()->loopLevel()) return;
  QMetaObject::invokeMethod(this, [this] { if (paintPending_) PaintGame(); }, Qt::QueuedConnection);
}

void PlayfieldView::HoldPaints() { holdLevel_ = QThread::currentThread()->loopLevel(); }

void PlayfieldView::PaintHeld() {
  holdLevel_ = -1;
  if (paintPending_) PaintGame();
}

void PlayfieldView::PaintGame() {
  paintPending_ = false;
  if (paint) paint(g_, surface_);
  g_.MapDirty = 0;
  surface_.TakeChanges(changedRects_);
  if (scale_ > 1) {
    for (const ScreenRect& r : changedRects_)
      ScaleSurfaceRect(surface_, r.x, r.y, r.w, r.h, scale_, reinterpret_cast<uint32_t*>(scaled_.bits()),
                       scaled_.bytesPerLine() / 4);
  }
  if (XcbPresenter* presenter = Presenter()) {
    // The shown picture's pixels are the window's own.
    for (ScreenRect& r : changedRects_) r = {r.x * scale_, r.y * scale_, r.w * scale_, r.h * scale_};
    int stride = 0;
    const uint32_t* pixels = ShownPixels(&stride);
    presenter->Put(pixels, stride, changedRects_);
    return;
  }
  // On X but not shown yet: the expose that shows it puts the whole picture.
  if (onX_) return;
  // Only the changed blocks are put on screen, in the widget's coordinates:
  // image pixels over the device pixel ratio.
  const double k = scale_ / ratio_;
  QRegion region;
  for (const ScreenRect& r : changedRects_) {
    const int x0 = static_cast<int>(std::floor(r.x * k)), y0 = static_cast<int>(std::floor(r.y * k));
    region += QRect(x0, y0, static_cast<int>(std::ceil((r.x + r.w) * k)) - x0,
                    static_cast<int>(std::ceil((r.y + r.h) * k)) - y0);
  }
  // Painted and flushed now rather than at a later update request: the
  // game's paint already waited for its turn of the loop.
  if (!region.isEmpty()) repaint(region);
}

void PlayfieldView::paintEvent(QPaintEvent* e) {
  // Uncovered on X: put the shown picture there again (image pixels are the
  // window's pixels). A paint redirected elsewhere (grab) takes Qt's path.
  if (onX_ && !redirected(nullptr)) {
    if (XcbPresenter* presenter = Presenter()) {
      std::vector<ScreenRect> rects;
      for (const QRect& r : e->region()) {
        const int x0 = static_cast<int>(std::floor(r.x() * ratio_));
        const int y0 = static_cast<int>(std::floor(r.y() * ratio_));
        rects.push_back({x0, y0, static_cast<int>(std::ceil((r.x() + r.width()) * ratio_)) - x0,
                         static_cast<int>(std::ceil((r.y() + r.height()) * ratio_)) - y0});
      }
      int stride = 0;
      const uint32_t* pixels = ShownPixels(&stride);
      presenter->Put(pixels, stride, rects);
    }
    return;  // if the presenter could not be made, Qt paints it anew
  }
  const QImage image =
      scale_ > 1 ? scaled_
                 : QImage(reinterpret_cast<const uchar*>(surface_.pixels.data()), surface_.width,
                          surface_.height, QImage::Format_RGB32);
  // Each widget rectangle takes the image rectangle of the same place: one
  // image pixel to one screen pixel, so Qt copies without resampling.
  QPainter p(this);
  for (const QRect& r : e->region()) {
    p.drawImage(QRectF(r), image,
                QRectF(r.x() * ratio_, r.y() * ratio_, r.width() * ratio_, r.height() * ratio_));
  }
}

MainWindow::MainWindow(GameState& g, QtUi& ui) : g_(g), ui_(ui) {
  view_ = new PlayfieldView(g, this);
  setCentralWidget(view_);
  BuildMenu();
  ui_.SetMainWindow(this);
  ui_.SetRepaint([view = QPointer<PlayfieldView>(view_)] {
    if (view) view->Invalidate();
  });
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  setFocusPolicy(Qt::StrongFocus);

  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &MainWindow::OnTimer);
}

void MainWindow::BuildMenu() {
  QMenu* menu = nullptr;
  for (const MenuItem& item : MainMenu()) {
    if (item.popup) menu = menuBar()->addMenu(item.popup);
    if (item.id == 0) {
      menu->addSeparator();
      continue;
    }
    // The hot key is part of the text; the keys themselves are dispatched
    // in keyPressEvent so that they post the command with HotKeyMarker.
    QAction* a = menu->addAction(item.text);
    a->setEnabled(item.enabled);
    bool checkable = item.id == CmdPlaySounds || item.id == CmdPlayMusic || item.id == CmdPrediction;
    a->setCheckable(checkable);
    a->setChecked(item.checked);
    int id = item.id;
    connect(a, &QAction::triggered, this, [this, a, id, checkable] {
      // The check mark follows the game's flag, not Qt's toggling.
      if (checkable) a->setChecked(!a->isChecked());
      OnCommand(id, 0);
    });
    ui_.RegisterAction(id, a);
  }
}

void MainWindow::StartTimer() { OnTimer(); }

void MainWindow::OnTimer() {
  view_->HoldPaints();
  PollMusicNotice(g_);  // the end of a track starts the next one
  GameTick(g_);
  view_->PaintHeld();
  // Sleep until the next step is due rather than spinning. The tick count
  // counts whole milliseconds and the precise timer does not fire early, so
  // after the wait the tick count has moved on by at least the wait: one
  // wake-up per step. (Were it early, the step would wait for the next call.)
  timer_.start(static_cast<int>(MsUntilNextStep(g_)));
}

void MainWindow::OnCommand(int id, int marker) { RunCommand(g_, *this, id, marker); }

void MainWindow::PostCommand(int id, int marker) {
  // Queued like a posted message: the command runs when the loop reaches it.
  QMetaObject::invokeMethod(this, [this, id, marker] { OnCommand(id, marker); },
                            Qt::QueuedConnection);
}

void MainWindow::RepaintAll() { view_->Invalidate(); }

void MainWindow::ShowJoinDialog() { ::ShowJoinDialog(g_, this); }

void MainWindow::ShowServerSettings() {
  ::ShowServerSettings(g_, this, [this] { return RunChooseMapDialog(g_, this); });
}

void MainWindow::ShowServerControl() { RunServerControlDialog(g_, this); }

void MainWindow::ShowChooseMap() { RunChooseMapDialog(g_, this); }

void MainWindow::ShowMapControl() { RunMapControlDialog(g_, this); }

void MainWindow::GenerateMap() { ::GenerateMap(g_); }

int MainWindow::ShowNicknameDialog() { return RunNicknameDialog(g_); }

void MainWindow::ShowInfoDialog(int templateId) { ::ShowInfoDialog(templateId, this); }

void MainWindow::OpenHomePage() { QDesktopServices::openUrl(QUrl(kHomePage)); }

void MainWindow::keyPressEvent(QKeyEvent* e) {
  HandleKeyDown(g_, *this, VirtualKeyOf(*e), e->modifiers() & Qt::ShiftModifier, CapsLockOn(*e));
}

void MainWindow::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) HandleMouseButton(g_, true);
  if (e->button() == Qt::RightButton) HandleMouseButton(g_, false);
}

bool MainWindow::event(QEvent* e) {
  // The screen saver does not start while the game's window is active.
  if (e->type() == QEvent::WindowActivate) screenSaver_.Hold();
  if (e->type() == QEvent::WindowDeactivate) screenSaver_.Release();
  // F10 opens the menu on the old platform; Tab would move the focus.
  if (e->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
      keyPressEvent(k);
      return true;
    }
  }
  return QMainWindow::event(e);
}

void MainWindow::closeEvent(QCloseEvent* e) {
  if (ui_.QuitPosted()) {
    e->accept();
    return;
  }
  e->ignore();
  HandleCloseRequest(g_);
}
