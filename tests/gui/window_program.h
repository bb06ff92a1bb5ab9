// The main window as a user meets it, in a game folder of its own: message
// boxes are answered by a recording Ui and the network is the recording one.
#pragma once

#include <QCoreApplication>
#include <QtTest>
#include <memory>
#include <string>

#include "game/game_state.h"
#include "maps/map_file.h"
#include "platform/qt_ui.h"
#include "platform/recording_platform.h"
#include "shell/main_window_qt.h"
#include "support/test_game.h"

struct WindowProgram {
  ScopedTempDir dir;
  QtUi qtUi;
  RecordingPlatform rec;
  GameState g;
  std::unique_ptr<MainWindow> window;

  WindowProgram() {
    WriteFile("pakmap.map", BorderMapText());
    g.platform = Platform{&rec.ui, &rec.clock, &rec.audio, &rec.net};
    g.Socket = rec.net.CreateSocket();
    g.Nickname = "Rex";
    LoadMapFile(g, "pakmap.map");
    window = std::make_unique<MainWindow>(g, qtUi);
    window->show();
  }
  // Presses a key and lets a posted hot-key command run.
  void Press(Qt::Key key) {
    QTest::keyClick(window.get(), key);
    QCoreApplication::processEvents();
  }
  std::string LastBox() const { return rec.ui.boxes.empty() ? "" : rec.ui.boxes.back().text; }
  RecordingSocket& socket() { return *static_cast<RecordingSocket*>(g.Socket.get()); }
};
