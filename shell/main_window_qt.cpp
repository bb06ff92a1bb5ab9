#include "shell/main_window_qt.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
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
#include "shell/demo_playback_qt.h"
#include "shell/info_dialog.h"
#include "shell/key_map_qt.h"
#include "shell/menu_table.h"
#include "shell/music.h"
#include "shell/nickname_dialog.h"
#include "shell/nickname_entry.h"
#include "shell/tick_schedule.h"

MainWindow::MainWindow(GameState& g, QtUi& ui) : g_(g), ui_(ui) {
  view_ = new PlayfieldView(g, this);
  stage_ = std::make_unique<FullScreenStage>(this, view_);
  BuildMenu();
  ui_.SetMainWindow(this);
  ui_.SetRepaint([view = QPointer<PlayfieldView>(view_), window = QPointer<MainWindow>(this)] {
    if (view) view->Invalidate();
    if (window) window->WakeTick();
  });
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  setFocusPolicy(Qt::StrongFocus);

  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &MainWindow::OnTimer);
  // The end of a track comes on the sound library's thread: posted to this
  // one. (The audio stops calling before the destructor goes on, and Qt
  // drops what is still posted to a deleted window.)
  if (Audio* audio = g_.platform.audio)
    audio->SetNoticeWake([this] {
      QMetaObject::invokeMethod(this, [this] { WakeTick(); }, Qt::QueuedConnection);
    });
}

MainWindow::~MainWindow() {
  if (Audio* audio = g_.platform.audio) audio->SetNoticeWake(nullptr);
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
    a->setCheckable(item.checkable);
    a->setChecked(item.checked);
    int id = item.id;
    connect(a, &QAction::triggered, this, [this, a, id, checkable = item.checkable] {
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
  if (Audio* audio = g_.platform.audio) audio->KeepAwake(GameRunning(g_));
  PollMusicNotice(g_);  // the end of a track starts the next one
  CatchUpIdleSteps(g_);
  pads_.Poll(g_, *this);  // before the step, which then carries what they did
  GameTick(g_);
  view_->PaintHeld();
  ArmTimer();
}

void MainWindow::ArmTimer() {
  // Sleep until the tick is next due rather than spinning. The tick count
  // counts whole milliseconds and the precise timer does not fire early, so
  // after the wait the tick count has moved on by at least the wait: one
  // wake-up per step. (Were it early, the step would wait for the next call.)
  uint32_t wait = MsUntilTickDue(g_, TickNeeds{isVisible() && !isMinimized()});
  if (wait == kNoTickDue)
    timer_.stop();
  else
    timer_.start(static_cast<int>(wait));
}

void MainWindow::WakeTick() {
  // A running game's timer is always armed: its steps keep their times.
  if (!timer_.isActive()) timer_.start(0);
}

void MainWindow::OnCommand(int id, int marker) {
  RunCommand(g_, *this, id, marker);
  WakeTick();  // a command may start a game or change what is drawn
}

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

void MainWindow::ToggleFullScreen() { ui_.CheckMenuItem(CmdFullScreen, stage_->Toggle()); }

void MainWindow::ShowRecordDemo() { AskAndArmDemoRecording(g_, this); }

void MainWindow::keyPressEvent(QKeyEvent* e) {
  if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && (e->modifiers() & Qt::AltModifier)) {
    PostCommand(CmdFullScreen, HotKeyMarker);
    return;
  }
  HandleKeyDown(g_, *this, VirtualKeyOf(*e), e->modifiers() & Qt::ShiftModifier, CapsLockOn(*e));
  WakeTick();
}

void MainWindow::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) HandleMouseButton(g_, true);
  if (e->button() == Qt::RightButton) HandleMouseButton(g_, false);
  WakeTick();
}

bool MainWindow::event(QEvent* e) {
  // The screen saver does not start while the game's window is active.
  if (e->type() == QEvent::WindowActivate) screenSaver_.Hold();
  if (e->type() == QEvent::WindowDeactivate) screenSaver_.Release();
  if (e->type() == QEvent::Show) WakeTick();
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

void MainWindow::changeEvent(QEvent* e) {
  // Shown again after being minimised: the picture moves again.
  if (e->type() == QEvent::WindowStateChange) WakeTick();
  QMainWindow::changeEvent(e);
}

void MainWindow::closeEvent(QCloseEvent* e) {
  if (ui_.QuitPosted()) {
    e->accept();
    return;
  }
  e->ignore();
  HandleCloseRequest(g_);
}
