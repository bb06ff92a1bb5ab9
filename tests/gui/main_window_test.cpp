// The main window as a user meets it: hot keys and their refusals, the quit
// paths, the nickname dialog, and hosting through the server settings dialog.
#include <functional>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "game/game_state.h"
#include "gui/dialog_driver.h"
#include "gui/window_program.h"
#include "maps/map_file.h"
#include "platform/menu_ids.h"
#include "platform/qt_ui.h"
#include "platform/recording_platform.h"
#include "shell/dialog_builder_qt.h"
#include "shell/main_window_qt.h"
#include "support/test_game.h"

namespace {

using Program = WindowProgram;

const QString kChooseMap = "Choose a map...";
QLineEdit* NickEdit(QDialog& d) { return DialogControlById<QLineEdit>(d, 1027); }

// Fills the server settings dialog and presses GO; a refusal leaves it
// open, and then "Freak out" leaves it.
void FillSettings(const QString& players, const QString& port, bool internet = true) {
  WhenDialogOpens([=](QDialog& d) {
    DialogControlById<QLineEdit>(d, 1010)->setText(players);
    DialogControlById<QLineEdit>(d, 1022)->setText(port);
    DialogControlById<QCheckBox>(d, 1002)->setChecked(internet);
    DialogControlById<QPushButton>(d, 1000)->click();
    if (d.isVisible()) DialogControlById<QPushButton>(d, 1001)->click();
  }, "Choose New Server Settings...");
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void timerHandsTheEndOfATrackToTheMusic() {
    Program p;
    p.g.MusicOn = 1;
    p.g.MusicTrack = 11;
    p.rec.audio.notice = kMusicSuccessful;  // as if raised on the audio thread
    p.window->StartTimer();
    QVERIFY(p.rec.audio.music == std::vector<std::string>{"vrask0.mid"});
    QCOMPARE(int{p.g.MusicTrack}, 0);
  }

  void theTimerSleepsWhenNothingMovesAndWakesForInputNoticesAndAGame() {
    struct Case {
      const char* what;
      std::function<void(Program&)> wake;
      bool game;
    };
    const Case cases[] = {
        {"a key", [](Program& p) { p.Press(Qt::Key_F7); }, false},
        {"a music notice",
         [](Program& p) {
           p.rec.audio.notice = kMusicSuccessful;
           QVERIFY(p.rec.audio.wake);
           p.rec.audio.wake();  // as the audio thread calls it
         },
         false},
        {"a game start",
         [](Program& p) {
           FillSettings("4", "2727");
           WhenDialogOpens([](QDialog& d) { DialogControlById<QPushButton>(d, 1037)->click(); }, kChooseMap);
           p.window->OnCommand(CmdStartServer, 0);
         },
         true},
    };
    for (const Case& c : cases) {
      Program p;
      p.g.Tiles.fill(0);  // an empty map and no music: nothing on screen moves
      p.g.MusicOn = 0;
      p.rec.clock.now = p.g.LastStepTime + 50;
      p.window->StartTimer();
      QVERIFY2(!p.window->TickTimerArmed(), c.what);
      const uint8_t frame = p.g.FrameCounter;
      p.rec.clock.now += 50;  // a step is due when something wakes it
      c.wake(p);
      if (c.game) {
        QVERIFY2(p.window->TickTimerArmed(), c.what);
        p.rec.clock.now += 50;
      }
      QTRY_VERIFY2(p.g.FrameCounter != frame, c.what);  // the tick ran
      QCOMPARE(p.window->TickTimerArmed(), c.game);
    }
  }

  void hotKeysAreRefusedWithNoGame() {
    Program p;
    const std::pair<Qt::Key, const char*> refusals[] = {
        {Qt::Key_F3, "You cannot change server options: You are not running a server!"},
        {Qt::Key_F4, "You cannot disconnect: You are not connected!"},
        {Qt::Key_F5, "You cannot load a map: You are not running a server!"},
        {Qt::Key_F6, "You cannot save this map: You are not in a game!"},
        {Qt::Key_F12,
         "You cannot toggle the prediction algorithm: You are not connected to a server!"},
    };
    for (const auto& [key, text] : refusals) {
      p.Press(key);
      QCOMPARE(p.LastBox(), std::string(text));
    }
    QCOMPARE(p.rec.ui.boxes.size(), size_t(5));
  }

  void aStepsPaintFollowsAtOnceWhileOtherPaintsWaitForTheLoop() {
    Program p;
    QCoreApplication::processEvents();
    PlayfieldView* view = p.window->view();
    int paints = 0;
    view->paint = [&](GameState&, Surface&) { ++paints; };
    view->Invalidate();
    view->Invalidate();
    QCOMPARE(paints, 0);
    QCoreApplication::processEvents();
    QCOMPARE(paints, 1);  // once, however often it was asked for

    view->HoldPaints();  // as the timer does around a step
    view->Invalidate();
    QCoreApplication::processEvents();
    QCOMPARE(paints, 1);
    view->PaintHeld();
    QCOMPARE(paints, 2);
    view->PaintHeld();
    QCoreApplication::processEvents();
    QCOMPARE(paints, 2);  // nothing was pending

    // A box opened by the step runs its own loop, which paints as usual.
    view->HoldPaints();
    QEventLoop box;
    QTimer::singleShot(0, &box, [&] {
      view->Invalidate();
      QTimer::singleShot(0, &box, &QEventLoop::quit);
    });
    box.exec();
    QCOMPARE(paints, 3);
    view->PaintHeld();
    QCOMPARE(paints, 3);
  }

  void gunsightOverThePlayfieldAndAFrameWithoutMaximiseBox() {
    Program p;
    const QCursor cursor = p.window->view()->cursor();
    QCOMPARE(cursor.hotSpot(), QPoint(15, 15));
    const QImage sight = cursor.pixmap().toImage();
    QCOMPARE(sight.size(), QSize(32, 32));
    QCOMPARE(qAlpha(sight.pixel(0, 0)), 0);      // fuchsia: see-through
    QCOMPARE(qAlpha(sight.pixel(15, 15)), 255);  // the centre dot
    const Qt::WindowFlags f = p.window->windowFlags();
    QVERIFY(f.testFlag(Qt::WindowTitleHint) && f.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(f.testFlag(Qt::WindowMinimizeButtonHint) && f.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!f.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(p.window->minimumSize(), p.window->maximumSize());
  }

  void nicknameRefusedWhilePlayingAndAllowedAfterF4() {
    Program p;
    p.g.IsServer = 1;
    p.Press(Qt::Key_F11);
    QCOMPARE(p.LastBox(),
             std::string("You cannot change your nickname while playing. Disconnect first."));

    p.rec.ui.answers.push_back(MsgAnswer::Yes);
    p.Press(Qt::Key_F4);
    QCOMPARE(p.LastBox(), std::string("Are you sure you want to end this game?"));
    QCOMPARE(p.g.IsServer, 0);

    bool escapeIgnored = false;
    WhenDialogOpens([&](QDialog& d) {
      NickEdit(d)->clear();
      QTest::keyClicks(NickEdit(d), "Tankred99");  // the ninth is refused
      QTest::keyClick(NickEdit(d), Qt::Key_Escape);
      escapeIgnored = d.isVisible();
      DialogControlById<QPushButton>(d, 1028)->click();
      EndIfOpen(d);
    });
    p.Press(Qt::Key_F11);
    QVERIFY(escapeIgnored);
    QCOMPARE(p.g.Nickname, std::string("Tankred9"));
    QCOMPARE(p.rec.ui.title, std::string("Vrask 1.0 [Tankred9]"));
  }

  void nicknameDialogCancelChangesNothingAndEmptyBecomesUnnamed() {
    Program p;
    const std::string title = p.rec.ui.title;
    QString offered;
    WhenDialogOpens([&](QDialog& d) {
      offered = NickEdit(d)->text();
      NickEdit(d)->setText("Other");
      DialogControlById<QPushButton>(d, 1029)->click();
      EndIfOpen(d);
    });
    p.window->OnCommand(CmdNickname, 0);
    QCOMPARE(offered, QString("Rex"));
    QCOMPARE(p.g.Nickname, std::string("Rex"));
    QCOMPARE(p.rec.ui.title, title);

    WhenDialogOpens([&](QDialog& d) {
      NickEdit(d)->clear();
      QTest::keyClick(NickEdit(d), Qt::Key_Return);  // Enter is Change
      EndIfOpen(d);
    });
    p.window->OnCommand(CmdNickname, 0);
    QCOMPARE(p.g.Nickname, std::string("unnamed"));
    QCOMPARE(p.rec.ui.title, std::string("Vrask 1.0 [unnamed]"));
  }

  void escapeQuitsAtOnceWithNoGameAndAsksWithOne() {
    Program idle;
    idle.Press(Qt::Key_Escape);
    QCOMPARE(idle.rec.ui.quits, 1);
    QVERIFY(idle.rec.ui.boxes.empty());

    Program playing;
    playing.g.IsClient = 1;
    playing.Press(Qt::Key_Escape);  // answered No
    QCOMPARE(playing.LastBox(), std::string("Do you really want to quit?"));
    QCOMPARE(playing.rec.ui.quits, 0);
    QCOMPARE(playing.g.IsClient, 1);
    playing.rec.ui.answers.push_back(MsgAnswer::Yes);
    playing.Press(Qt::Key_Escape);
    QCOMPARE(playing.rec.ui.quits, 1);
    QCOMPARE(playing.g.IsClient, 0);  // the game was ended on the way out
  }

  void settingsDialogRefusesBadValues() {
    Program p;
    const std::pair<QString, QString> bad[] = {{"0", "2727"}, {"9", "2727"}, {"", "2727"},
                                               {"8", "0"},    {"8", "65001"}};
    for (const auto& [players, port] : bad) {
      FillSettings(players, port);
      p.window->OnCommand(CmdStartServer, 0);
      QCOMPARE(p.g.IsServer, 0);
    }
    QCOMPARE(p.rec.ui.boxes.size(), size_t(5));
    QCOMPARE(p.rec.ui.boxes[0].text,
             std::string("Please enter a value between 1-8 for the maximum number of players"));
    QCOMPARE(p.rec.ui.boxes[2].text, p.rec.ui.boxes[0].text);
    QCOMPARE(p.rec.ui.boxes[3].text,
             std::string("Please enter a value between 0-65000 for the ip port"));
    QCOMPARE(p.rec.ui.boxes[4].text, p.rec.ui.boxes[3].text);
  }

  void portIsAcceptedAtTheLimitAndUncheckedWithoutNetwork() {
    Program p;
    // The map chooser follows GO; cancelling it leaves the program idle.
    FillSettings("8", "65000");
    WhenDialogOpens([](QDialog& d) { DialogControlById<QPushButton>(d, 1001)->click(); }, kChooseMap);
    p.window->OnCommand(CmdStartServer, 0);
    QCOMPARE(p.g.Port, 65000);
    QVERIFY(p.rec.ui.boxes.empty());

    FillSettings("8", "0", false);
    WhenDialogOpens([](QDialog& d) { DialogControlById<QPushButton>(d, 1001)->click(); }, kChooseMap);
    p.window->OnCommand(CmdStartServer, 0);
    QCOMPARE(p.g.AllowInternet, 0);
    QVERIFY(p.rec.ui.boxes.empty());
  }

  void noToTheNewServerQuestionKeepsTheGame() {
    Program p;
    p.g.IsServer = 1;
    p.g.Players[3].Active = 1;
    FillSettings("8", "2727");  // the question is answered No
    p.window->OnCommand(CmdStartServer, 0);
    QCOMPARE(p.LastBox(), std::string("Are you sure you want to disconnect and launch a new server?"));
    QCOMPARE(p.g.IsServer, 1);
    QCOMPARE(p.g.Players[3].Active, 1);
  }

  void fourPlacesWithComputerPlayers() {
    Program p;
    FillSettings("4", "2727");
    // "Choose a map...": generate a random map, which closes it with 1.
    WhenDialogOpens([](QDialog& d) { DialogControlById<QPushButton>(d, 1037)->click(); }, kChooseMap);
    p.window->OnCommand(CmdStartServer, 0);
    QCOMPARE(p.g.IsServer, 1);
    QCOMPARE(p.g.Players[0].Kind, 'l');
    QCOMPARE(std::string(p.g.Players[0].Name), std::string("Rex"));
    for (int i = 1; i < 4; ++i) {
      QCOMPARE(p.g.Players[i].Kind, 'c');
      QCOMPARE(std::string(p.g.Players[i].Name), "Comp " + std::to_string(i + 1));
    }
    for (int i = 4; i < 8; ++i) QCOMPARE(p.g.Players[i].Active, 0);
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
