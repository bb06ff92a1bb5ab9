#include "shell/main_window_qt.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>

#include "connection/end_game.h"
#include "game/game_state.h"
#include "maps/map_commands.h"
#include "maps/map_dialogs_qt.h"
#include "platform/qt_ui.h"
#include "shell/game_tick.h"
#include "shell/info_dialog.h"
#include "shell/menu_ids.h"
#include "shell/menu_table.h"
#include "shell/music.h"
#include "shell/nickname_dialog.h"
#include "shell/nickname_entry.h"

PlayfieldView::PlayfieldView(GameState& g, QWidget* parent) : QWidget(parent), g_(g) {
  setFixedSize(kClientWidth, kClientHeight);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
}

void PlayfieldView::paintEvent(QPaintEvent*) {
  if (paint) paint(g_, surface_);
  g_.MapDirty = 0;
  QImage image(reinterpret_cast<const uchar*>(surface_.pixels.data()), surface_.width,
               surface_.height, QImage::Format_RGB32);
  QPainter p(this);
  p.drawImage(0, 0, image);
}

MainWindow::MainWindow(GameState& g, QtUi& ui) : g_(g), ui_(ui) {
  view_ = new PlayfieldView(g, this);
  setCentralWidget(view_);
  BuildMenu();
  ui_.SetMainWindow(this);
  ui_.SetView(view_);
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
  GameTick(g_);
  // Sleep until the next step is due rather than spinning.
  timer_.start(static_cast<int>(MsUntilNextStep(g_)));
}

void MainWindow::QuitSequence() {
  if (g_.platform.audio) g_.platform.audio->StopEffect();
  PlayMusic(g_, "stop");
  EndGame(g_);
  ui_.PostQuit();
}

void MainWindow::OnCommand(int id, int marker) {
  if (marker != HotKeyMarker) {
    g_.MapDirty = 1;
    view_->update();
  }
  switch (id) {
    case CmdExit:
      if (ui_.MessageBox("Are you sure you want to quit the game?", "Exit?", MsgButtons::YesNo,
                         MsgIcon::Question, true) == MsgAnswer::Yes)
        QuitSequence();
      break;
    case CmdPlaySounds:
      g_.SoundsOn = !g_.SoundsOn;
      ui_.CheckMenuItem(CmdPlaySounds, g_.SoundsOn);
      break;
    case CmdLoadMap:
      LoadMapCommand(g_, [this](GameState& g) { return RunChooseMapDialog(g, this); });
      break;
    case CmdSaveMap:
      SaveMapCommand(g_, [this](GameState& g) { return RunMapControlDialog(g, this); });
      break;
    case CmdGenerateMap:
      GenerateMapCommand(g_);
      break;
    case CmdNickname:
      // Refused or cancelled: the command ends without its final repaint.
      if (!ChangeNicknameCommand(g_, RunNicknameDialog)) return;
      break;
    case CmdAbout:
      ShowAboutDialog(this);
      break;
    case CmdHelpGameplay:
      ShowGameplayHelp(this);
      break;
    case CmdHelpStatusBar:
      ShowStatusBarHelp(this);
      break;
    case CmdHelpClientServer:
      ShowClientServerHelp(this);
      break;
    default:
      break;
  }
  if (marker != HotKeyMarker) {
    g_.MapDirty = 1;
    view_->update();
  }
}

void MainWindow::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    if (!g_.IsClient && !g_.IsServer) {
      QuitSequence();
    } else if (ui_.MessageBox("Do you really want to quit?", "Are you sure?", MsgButtons::YesNo,
                              MsgIcon::Question, true) == MsgAnswer::Yes) {
      QuitSequence();
    }
    return;
  }
  QMainWindow::keyPressEvent(e);
}

void MainWindow::closeEvent(QCloseEvent* e) {
  e->ignore();
  if (ui_.QuitPosted()) {
    e->accept();
    return;
  }
  if (ui_.MessageBox("Are you sure you want to quit this game?", "Exit?", MsgButtons::YesNo,
                     MsgIcon::Question, true) == MsgAnswer::Yes)
    QuitSequence();
}
