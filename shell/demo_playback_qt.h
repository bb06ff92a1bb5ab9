// A demo played back in the main window: its own timer moves the frames,
// the view paints the demo's state instead of the game's, and the keys
// Space, Left, Right, Up, Down, Home and Escape steer it. The game itself
// stays idle meanwhile; its menu is off.
#pragma once

#include <QObject>
#include <QTimer>

#include "connection/demo_playback.h"
#include "connection/demo_recorder.h"

class QWidget;

class MainWindow;
struct GameState;

class DemoPlayer : public QObject {
  Q_OBJECT
 public:
  // Takes over the window's view for the loaded playback.
  DemoPlayer(MainWindow& window, GameState& game, DemoPlayback& playback);
  ~DemoPlayer() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void OnFrame();
  void Show();

  MainWindow& window_;
  GameState& game_;
  DemoPlayback& playback_;
  QTimer timer_;
};

// A report of a failed recording that does not hold the game: a message
// box shown without a loop of its own.
DemoReport WindowDemoReport(QWidget* parent);
// Game > Record Demo...: a file name, then the next game is recorded.
void AskAndArmDemoRecording(GameState& g, QWidget* parent);

// "vrask --render-demo FILE OUT.png --at STEP": writes that frame of the
// demo as a PNG picture. The exit status; a failure is told on stderr.
int RenderDemoPicture(const std::string& demo, const std::string& png, int step);
