// The one main window: menu, playfield view and the game's timer.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <functional>

#include "render/surface.h"

struct GameState;
class QtUi;

// Shows the persistent surface, scaled by whole multiples on dense screens.
class PlayfieldView : public QWidget {
  Q_OBJECT
 public:
  PlayfieldView(GameState& g, QWidget* parent);
  Surface& surface() { return surface_; }
  // Draws the game into the surface at each paint (the renderer sets it).
  std::function<void(GameState&, Surface&)> paint;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  GameState& g_;
  Surface surface_;
};

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow(GameState& g, QtUi& ui);
  void StartTimer();
  PlayfieldView* view() const { return view_; }

  // A menu command or a hot key's posted command (marker HotKeyMarker).
  void OnCommand(int id, int marker);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void BuildMenu();
  void OnTimer();
  void QuitSequence();

  GameState& g_;
  QtUi& ui_;
  PlayfieldView* view_;
  QTimer timer_;
};
