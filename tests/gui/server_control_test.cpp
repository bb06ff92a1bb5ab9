// The server control dialogs driven through their controls; the rules
// behind the buttons are tested in tests/admin/. Message boxes go to a
// RecordingUi, except where a test shows them through QtUi.
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "admin/server_control_qt.h"
#include "admin/server_control_templates.h"
#include "connection/host_server.h"
#include "gui/dialog_driver.h"
#include "platform/menu_ids.h"
#include "platform/qt_ui.h"
#include "shell/dialog_builder_qt.h"
#include "shell/main_window_qt.h"
#include "support/test_game.h"

namespace {

const QString kBanControlTitle = "Vrask - Advanced Server Control [Ban Control]...";

// A server of four places, the host playing in place 0 and Rex, a remote
// player, in place 2, working in a fresh folder.
struct Server : TestGame {
  ScopedTempDir dir;
  RecordingUi& ui = rec.ui;
  Server() {
    g.IsServer = 1;
    g.MaxPlayers = 4;
    g.ComputerFill = 1;
    g.AllowInternet = 1;
    g.ServerParticipates = 1;
    g.Nickname = "Host";
    SetUpServerPlaces(g);
    PlaceNewPlayer(g, 2, KindInternet);
    SetPlayerName(g.Players[2], "Rex");
    g.Players[2].Address = NetAddress::Of(127, 0, 0, 2, 4000);
  }
};



}  // namespace

class ServerControlDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void listShowsLiveFragsAndKeepsItsSelectionAfterReopening() {
    Server s;
    QString title;
    QStringList lines;
    WhenDialogOpens([&](QDialog& d) {
      title = d.windowTitle();
      List(d, kIdPlayerList)->setCurrentRow(3);
      s.g.Players[1].Frags = 7;  // a game step behind the dialog
      QTest::qWait(250);
      lines = Entries(List(d, kIdPlayerList));
      Press(d, kIdServerControlDone);
      EndIfOpen(d);
    });
    QCOMPARE(RunServerControlDialog(s.g, nullptr), 1);
    QCOMPARE(title, QString("Vrask - Advanced Server Control..."));
    QCOMPARE(lines, QStringList({"Host,Server Player,Frag:0", "Comp 2,Computer,Frag:7",
                                 "Rex,IP=[127.0.0.2],Frag:0", "Comp 4,Computer,Frag:0",
                                 "Space Closed", "Space Closed", "Space Closed",
                                 "Space Closed"}));

    int selected = -1;
    WhenDialogOpens([&](QDialog& d) {
      selected = List(d, kIdPlayerList)->currentRow();
      Press(d, kIdServerControlDone);
      EndIfOpen(d);
    });
    QCOMPARE(RunServerControlDialog(s.g, nullptr), 1);
    QCOMPARE(selected, 3);
  }

  void banPostsTheKickAndBanControlRemovesAndClears() {
    Server s;
    s.g.Players[1].Frags = 4;
    s.ui.answers = {MsgAnswer::Yes, MsgAnswer::Yes, MsgAnswer::Yes};
    WriteFile("banlist.dat", std::string("\x0a\x00\x00\x01,", 5));
    QStringList bans, afterRemove, afterClear;
    int selectedAfterRemove = 0;
    QString rexLine;
    int fragsAfterZero = -1;
    WhenDialogOpens([&](QDialog& d) {
      Press(d, kIdZeroAllFrags);  // Yes
      fragsAfterZero = s.g.Players[1].Frags;
      List(d, kIdPlayerList)->setCurrentRow(2);
      Press(d, kIdBanPlayer);  // Yes; the kick comes posted and asks: Yes
      QTest::qWait(50);
      rexLine = List(d, kIdPlayerList)->item(2)->text();
      WhenDialogOpens([&](QDialog& b) {
        bans = Entries(List(b, kIdBanList));
        List(b, kIdBanList)->setCurrentRow(0);
        Press(b, kIdRemoveBan);
        afterRemove = Entries(List(b, kIdBanList));
        selectedAfterRemove = static_cast<int>(List(b, kIdBanList)->selectedItems().size());
        Press(b, kIdClearAllBans);
        afterClear = Entries(List(b, kIdBanList));
        Press(b, kIdBanControlDone);
        EndIfOpen(b);
      }, kBanControlTitle);
      Press(d, kIdBanControl);
      Press(d, kIdServerControlDone);
      EndIfOpen(d);
    });
    RunServerControlDialog(s.g, nullptr);
    QCOMPARE(fragsAfterZero, 0);
    QCOMPARE(rexLine, QString("Comp 2,Computer,Frag:0"));
    QCOMPARE(bans, QStringList({"[10.0.0.1]", "[127.0.0.2]"}));
    QCOMPARE(afterRemove, QStringList({"[127.0.0.2]"}));
    QCOMPARE(selectedAfterRemove, 0);  // a removal leaves nothing selected
    QCOMPARE(afterClear, QStringList());
    QCOMPARE(s.ui.boxes.back().text, std::string("All previous bans have been lifted."));
    QCOMPARE(ReadFile("banlist.dat"), std::string());
  }

  // Names are Windows-1252 bytes; the list, the questions and the window
  // title show them as the characters they are.
  void namesShowAsTheirCharactersInTheListTheQuestionAndTheTitle() {
    struct Row {
      const char* bytes;
      const char* shown;  // UTF-8
    };
    const Row rows[] = {
        {"Rex", "Rex"},
        {"M\xFCller", "M\xC3\xBCller"},
        {"\x80\x8A", "\xE2\x82\xAC\xC5\xA0"},  // the euro sign and S caron
        {"Abcdefgh", "Abcdefgh"},                  // eight bytes, the longest name
    };
    for (const Row& row : rows) {
      const QString shown = QString::fromUtf8(row.shown);
      Server s;
      QtUi qtUi;
      s.g.platform.ui = &qtUi;
      SetPlayerName(s.g.Players[2], row.bytes);
      QString line, question;
      WhenDialogOpens([&](QDialog& d) {
        line = List(d, kIdPlayerList)->item(2)->text();
        List(d, kIdPlayerList)->setCurrentRow(2);
        WhenDialogOpens([&](QDialog& box) {
          question = qobject_cast<QMessageBox*>(&box)->text();
          box.reject();  // No
        }, "Are you sure?");
        Press(d, kIdKickPlayer);
        Press(d, kIdServerControlDone);
        EndIfOpen(d);
      });
      RunServerControlDialog(s.g, nullptr);
      QCOMPARE(line, shown + ",IP=[127.0.0.2],Frag:0");
      QCOMPARE(question, "Are you sure you want to kick [" + shown + "] from the server?");
      QVERIFY(s.g.Players[2].Kind == KindInternet);  // answered No

      QWidget window;
      qtUi.SetMainWindow(&window);
      qtUi.SetWindowTitle(std::string("Vrask 1.0 [") + row.bytes + "]");
      QCOMPARE(window.windowTitle(), "Vrask 1.0 [" + shown + "]");
    }
  }

  void f3OpensTheDialogOnAServer() {
    Server s;
    QtUi qtUi;
    MainWindow w(s.g, qtUi);
    w.show();
    QString title;
    WhenDialogOpens([&](QDialog& d) {
      title = d.windowTitle();
      Press(d, kIdServerControlDone);
      EndIfOpen(d);
    });
    QTest::keyClick(&w, Qt::Key_F3);
    QTRY_COMPARE_WITH_TIMEOUT(title, QString("Vrask - Advanced Server Control..."), 5000);
    QVERIFY(s.ui.boxes.empty());
  }
};

QTEST_MAIN(ServerControlDialogTest)
#include "server_control_test.moc"
