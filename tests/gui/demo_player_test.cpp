// A demo in the main window: the keys reach the playback and not the game
// behind it, the title follows, the view paints the demo, Escape quits.
#include <QtTest>

#include "connection/demo_file.h"
#include "gui/window_program.h"
#include "render/pictures.h"
#include "render/surface.h"
#include "shell/demo_playback_qt.h"

namespace {

// Sixty frames of a server's game whose players walk to the right.
std::vector<uint8_t> SmallDemo() {
  GameState g;
  g.IsServer = 1;
  g.ConnectionStatus = "Server, port 2727";
  g.Tiles[5 * kMapSide + 5] = 2;  // one wall, where the game's own map has floor
  g.Players[0].Active = 1;
  g.Players[0].Number = 1;
  g.Players[0].Y = 80;
  DemoEncoder e;
  std::vector<uint8_t> out;
  DemoHeader h;
  h.Tiles = g.Tiles;
  e.Header(h, out);
  for (int n = 0; n < 60; ++n) {
    g.Players[0].X = 40 + 4 * n;
    g.FrameCounter = static_cast<uint8_t>(n % 8);
    e.Frame(TakeDemoFrame(g), out);
  }
  e.End(out);
  return out;
}

}  // namespace

class DemoPlayerTest : public QObject {
  Q_OBJECT

 private slots:
  void keysSteerThePlaybackAndNotTheGame() {
    WindowProgram p;
    PictureSet pictures;
    LoadBitmaps(p.g, pictures);
    DemoPlayback playback;
    std::string error;
    QVERIFY(playback.LoadBytes(SmallDemo(), &error));
    DemoPlayer player(*p.window, p.g, playback);
    p.Press(Qt::Key_Space);
    QVERIFY(playback.Paused());
    const int at = playback.Position();
    p.Press(Qt::Key_Right);
    QCOMPARE(playback.Position(), at + 24);
    p.Press(Qt::Key_Left);
    QCOMPARE(playback.Position(), at);
    p.Press(Qt::Key_Up);
    QCOMPARE(playback.SpeedIndex(), kDemoNormalSpeed + 1);
    p.Press(Qt::Key_Down);
    p.Press(Qt::Key_Down);
    QCOMPARE(playback.SpeedIndex(), kDemoNormalSpeed - 1);
    p.Press(Qt::Key_Home);
    QCOMPARE(playback.Position(), 0);
    QCOMPARE(p.window->windowTitle(), QString::fromStdString(playback.TitleText()));
    // F3 would be refused by the idle game; the playback keeps it.
    p.Press(Qt::Key_F3);
    QVERIFY(p.rec.ui.boxes.empty());

    // The view shows the demo's maze (a wall in cell 5, 5), not the game's.
    p.window->view()->Invalidate();
    QCoreApplication::processEvents();
    const Surface& s = p.window->view()->surface();
    bool wall = false;
    for (int y = 180; y < 220; ++y)
      for (int x = 180; x < 220; ++x) wall = wall || s.At(x, y) != 0;
    QVERIFY(wall);

    // Alt+Enter passes the filter: a demo can be watched on the whole screen.
    QTest::keyClick(p.window.get(), Qt::Key_Return, Qt::AltModifier);
    QCoreApplication::processEvents();
    QVERIFY(p.window->isFullScreen());

    p.Press(Qt::Key_Escape);
    QCOMPARE(p.rec.ui.quits, 1);
  }
};

QTEST_MAIN(DemoPlayerTest)
#include "demo_player_test.moc"
