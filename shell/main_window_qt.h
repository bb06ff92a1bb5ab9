// The one main window: menu, playfield view and the game's timer. Its
// behaviour lives in commands.cpp; this class turns Qt events into calls
// there and opens the dialogs the commands ask for.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <memory>

#include "shell/commands.h"
#include "shell/full_screen_qt.h"
#include "shell/pad_poll_qt.h"
#include "shell/playfield_view_qt.h"
#include "shell/screen_saver_qt.h"

struct GameState;
class QtUi;

class MainWindow : public QMainWindow, public CommandHost {
  Q_OBJECT
 public:
  MainWindow(GameState& g, QtUi& ui);
  ~MainWindow() override;
  void StartTimer();
  // Runs the tick soon when the timer sleeps: something may have to be drawn,
  // or a game may have started. Safe to call at any time on the main thread.
  void WakeTick();
  bool TickTimerArmed() const { return timer_.isActive(); }
  PlayfieldView* view() const { return view_; }

  // A menu command (marker 0) or a hot key's posted command (HotKeyMarker).
  void OnCommand(int id, int marker);

  // CommandHost
  void PostCommand(int id, int marker) override;
  void RepaintAll() override;
  void ShowJoinDialog() override;
  void ShowServerSettings() override;
  void ShowServerControl() override;
  void ShowChooseMap() override;
  void ShowMapControl() override;
  void GenerateMap() override;
  int ShowNicknameDialog() override;
  void ShowInfoDialog(int templateId) override;
  void OpenHomePage() override;
  void ToggleFullScreen() override;
  void ShowRecordDemo() override;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;
  bool event(QEvent* e) override;

 private:
  void BuildMenu();
  void OnTimer();
  // Arms the timer for when the tick is next due, or lets it sleep.
  void ArmTimer();

  GameState& g_;
  QtUi& ui_;
  PlayfieldView* view_;
  QTimer timer_;
  ScreenSaverBlock screenSaver_;
  PadPoll pads_;
  std::unique_ptr<FullScreenStage> stage_;
};
