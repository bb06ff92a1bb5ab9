// Joining through the window: F1's address dialog, its port check, the
// connection dialog's log for each answer a server can give, F12 once
// connected, the recent servers it offers and the games list it opens.
// The servers are played by the recording network.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>
#include <fstream>

#include "game/game_state.h"
#include "gui/dialog_driver.h"
#include "gui/window_program.h"
#include "maps/map_file.h"
#include "platform/menu_ids.h"
#include "platform/qt_ui.h"
#include "platform/recording_platform.h"
#include "protocol/datagrams.h"
#include "protocol/server_info.h"
#include "connection/recent_servers.h"
#include "shell/dialog_builder_qt.h"
#include "shell/main_window_qt.h"
#include "support/test_game.h"

namespace {

const QString kAddressTitle = "Server address...";
const QString kConnectionTitle = "Establishing Connection To Server...";
const QString kFindTitle = "Find Games";
const NetAddress kServer = NetAddress::Of(10, 0, 0, 1, 2727);

using Program = WindowProgram;

QLineEdit* Edit(QDialog& d, int id) { return DialogControlById<QLineEdit>(d, id); }
QComboBox* Address(QDialog& d) { return DialogControlById<QComboBox>(d, 1013); }

QStringList LogLines(QDialog& d) {
  QStringList lines;
  auto* list = DialogControlById<QListWidget>(d, 1033);
  for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}

// Waits (bounded) until the first attempt, which starts by itself, has
// written its five lines.
void AfterFirstAttempt(QDialog& d) {
  QVERIFY(QTest::qWaitFor([&] { return LogLines(d).size() >= 5; }, 2000));
}

// Keeps the connection dialog's lines once its first attempt has written
// them, then presses "&Cancel".
void CancelAfterFirstAttempt(QStringList* log) {
  WhenDialogOpens([log](QDialog& d) {
    AfterFirstAttempt(d);
    *log = LogLines(d);
    Press(d, 1020);
    EndIfOpen(d);
  }, kConnectionTitle);
}

// Fills the address dialog with the server's address and port and presses GO.
void GoTo(const QString& port) {
  WhenDialogOpens([port](QDialog& d) {
    Address(d)->setEditText("10.0.0.1");
    Edit(d, 1014)->setText(port);
    Press(d, 1021);
    EndIfOpen(d);
  }, kAddressTitle);
}

// The server's acceptance and its map, as the join needs them.
void QueueAcceptAndMap(RecordingSocket& socket, const NetAddress& from, const TileMap& tiles) {
  socket.Queue(from, std::string("PMok") + char(60) + " - You have been accepted");
  DatagramBuffer map;
  BuildMap(map, tiles);
  socket.Queue(from, std::string(map.bytes.begin(), map.bytes.begin() + map.len));
}

}  // namespace

class JoinDialogTest : public QObject {
  Q_OBJECT

  // Where the recent servers are kept during the tests, never the user's.
  QTemporaryDir config_;
  std::filesystem::path RecentFile() const {
    return std::filesystem::path(config_.path().toStdString()) / "vrask" / "recent-servers";
  }

 private slots:
  void initTestCase() { qputenv("XDG_CONFIG_HOME", config_.path().toUtf8()); }
  void init() { std::filesystem::remove_all(RecentFile().parent_path()); }

  void recentServersAreOfferedAndAJoinIsRemembered() {
    Program p;
    std::filesystem::create_directories(RecentFile().parent_path());
    std::ofstream(RecentFile()) << "10.0.0.9:2729\n10.0.0.1:2727\n";
    QStringList offered;
    QString typed, pickedAddress, pickedPort;
    WhenDialogOpens([&](QDialog& d) {
      for (int i = 0; i < Address(d)->count(); ++i) offered << Address(d)->itemText(i);
      typed = Address(d)->currentText();
      Address(d)->setCurrentIndex(0);
      pickedAddress = Address(d)->currentText();
      pickedPort = Edit(d, 1014)->text();
      Address(d)->setCurrentIndex(1);
      Press(d, 1021);
      EndIfOpen(d);
    }, kAddressTitle);
    QueueAcceptAndMap(p.socket(), kServer, TileMap{});
    p.Press(Qt::Key_F1);
    QCOMPARE(offered, QStringList({"10.0.0.9:2729", "10.0.0.1:2727"}));
    QCOMPARE(typed, QString("localhost"));
    QCOMPARE(pickedAddress, QString("10.0.0.9"));
    QCOMPARE(pickedPort, QString("2729"));
    QCOMPARE(p.g.IsClient, 1);
    // The server joined now heads the list.
    QCOMPARE(LoadRecentServers(RecentFile()),
             (std::vector<RecentServer>{{"10.0.0.1", "2727"}, {"10.0.0.9", "2729"}}));
  }

  void aFoundGameIsJoinedByJoinOrDoubleClick_data() {
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("Join") << false;
    QTest::newRow("double-click") << true;
  }
  void aFoundGameIsJoinedByJoinOrDoubleClick() {
    QFETCH(bool, doubleClick);
    Program p;
    const NetAddress lanBroadcast = NetAddress::Of(10, 0, 0, 255, 0);
    const NetAddress game = NetAddress::Of(10, 0, 0, 2, 2729);
    p.rec.net.broadcast = {lanBroadcast};
    ServerInfo info;
    info.name = "Den";
    info.description = "Big maze";
    info.players = 2;
    info.places = 8;
    DatagramBuffer answer;
    BuildInfoAnswer(answer, info);
    // Every search (the first and Refresh) hears the same server.
    p.rec.net.onSocket = [&](RecordingSocket& s) {
      s.Queue(game, std::string(answer.data(), answer.data() + answer.size()));
    };
    WhenDialogOpens([&](QDialog& d) {
      Edit(d, 1014)->setText("2800");
      Press(d, 1023);  // "F&ind Games…"
      EndIfOpen(d);
    }, kAddressTitle);
    QStringList row;
    int searches = 0;
    WhenDialogOpens([&](QDialog& d) {
      auto* table = DialogControlById<QTreeWidget>(d, 1101);
      QVERIFY(QTest::qWaitFor([&] { return table->topLevelItemCount() == 1; }, 3000));
      Press(d, 1102);  // "&Refresh"
      searches = p.rec.net.socketsCreated - 1;
      QCOMPARE(table->topLevelItemCount(), 1);
      for (int col = 0; col < table->columnCount(); ++col) row << table->topLevelItem(0)->text(col);
      if (doubleClick) {
        emit table->itemDoubleClicked(table->topLevelItem(0), 0);
      } else {
        Press(d, 1103);  // "&Join"
      }
      EndIfOpen(d);
    }, kFindTitle);
    QStringList log;
    CancelAfterFirstAttempt(&log);
    p.Press(Qt::Key_F1);
    QCOMPARE(searches, 2);
    QCOMPARE(row.mid(0, 3), QStringList({"Den", "Big maze", "2/8"}));
    QVERIFY(row[3].endsWith(" ms"));
    QCOMPARE(row[4], QString("10.0.0.2:2729"));
    // The search asked the network's broadcast address on the typed port too.
    NetAddress typedTarget = lanBroadcast;
    typedTarget.port = 2800;
    QVERIFY(std::any_of(p.rec.net.sent.begin(), p.rec.net.sent.end(),
                        [&](const auto& s) { return s.addr == typedTarget; }));
    // Joining the chosen server is the usual connection.
    QVERIFY(!log.isEmpty());
    QCOMPARE(log[0], QString("Connecting to server 10.0.0.2:2729..."));
  }

  void f1OffersLocalhostAnd2727EveryTime() {
    Program p;
    for (int round = 0; round < 2; ++round) {
      QString address, port;
      WhenDialogOpens([&](QDialog& d) {
        address = Address(d)->currentText();
        port = Edit(d, 1014)->text();
        Address(d)->setEditText("elsewhere");
        Press(d, 1020);  // "&Freak out"
        EndIfOpen(d);
      }, kAddressTitle);
      p.Press(Qt::Key_F1);
      QCOMPARE(address, QString("localhost"));
      QCOMPARE(port, QString("2727"));
    }
    QVERIFY(p.rec.ui.boxes.empty());
    QVERIFY(p.rec.net.sent.empty());
  }

  void badPortsAreRefusedAndTheLimitPasses() {
    Program p;
    QStringList refusedWhileOpen;
    WhenDialogOpens([&](QDialog& d) {
      for (const char* bad : {"abc", "0", "-1", "", "65001"}) {
        Edit(d, 1014)->setText(bad);
        Press(d, 1021);
        if (d.isVisible()) refusedWhileOpen << bad;
      }
      Address(d)->setEditText("10.0.0.1");
      Edit(d, 1014)->setText("65000");
      Press(d, 1021);
      EndIfOpen(d);
    }, kAddressTitle);
    QStringList log;
    CancelAfterFirstAttempt(&log);
    p.Press(Qt::Key_F1);
    QCOMPARE(refusedWhileOpen.size(), 5);
    QCOMPARE(p.rec.ui.boxes.size(), size_t(5));
    for (const auto& box : p.rec.ui.boxes) {
      QCOMPARE(box.text, std::string("Please enter a value between 0-65000 for the ip port"));
      QCOMPARE(box.title, std::string("Oops.."));
    }
    QCOMPARE(p.g.Port, 65000);
    // Connecting to the address as typed; the first attempt ran by itself.
    QCOMPARE(log, QStringList({"Connecting to server 10.0.0.1:65000...",
                               "==================================", "Connection attempt 1...",
                               "Sending connect request...", "No replies received, please try again."}));
    QCOMPARE(p.g.IsClient, 0);
  }

  void eachDenialWritesItsLinesAndAForeignReplyNone() {
    Program p;
    const std::pair<const char*, QString> denials[] = {
        {"PMda - x\r\n", "There is already a connection from your address to the server."},
        {"PMdb - x\r\n", "Your computer address has been banned from the server."},
        {"PMdf - x\r\n", "The server is full, try again later."},
        {"PMdv - x\r\n", "The server is different version than client."},
        {"PMdq - Closed for cleaning\r\n", " - Closed for cleaning"},
    };
    GoTo("2727");
    QList<QStringList> tails;
    QStringList afterForeign;
    WhenDialogOpens([&](QDialog& d) {
      AfterFirstAttempt(d);
      for (const auto& denial : denials) {
        p.socket().Queue(kServer, denial.first);
        Press(d, 1002);
        tails << LogLines(d).mid(LogLines(d).size() - 3);
      }
      p.socket().Queue(kServer, "HELLO");
      Press(d, 1002);
      afterForeign = LogLines(d);
      Press(d, 1020);
      EndIfOpen(d);
    }, kConnectionTitle);
    p.Press(Qt::Key_F1);
    for (size_t k = 0; k < std::size(denials); ++k) {
      QCOMPARE(tails[k][0], QString("Remote Packet received..."));
      QCOMPARE(tails[k][1], QString("The server has denied access."));
      QCOMPARE(tails[k][2], denials[k].second);
    }
    QCOMPARE(afterForeign.last(), QString("Remote Packet received..."));
    QCOMPARE(afterForeign[afterForeign.size() - 3], QString("Connection attempt 7..."));
    QCOMPARE(p.g.IsClient, 0);
  }

  void acceptedTheClientPlaysAndF12TogglesPrediction() {
    Program p;
    GoTo("2727");
    TileMap tiles{};
    tiles[100] = 4;
    QueueAcceptAndMap(p.socket(), kServer, tiles);
    p.Press(Qt::Key_F1);
    QCOMPARE(p.g.IsClient, 1);
    QCOMPARE(p.g.ConnectionStatus, std::string("Client Connected"));
    QCOMPARE(p.g.TickInterval, 60);
    QCOMPARE(p.g.Tiles, tiles);
    const int before = p.g.PredictionOn;
    QTest::keyClick(p.window.get(), Qt::Key_F12);
    QCoreApplication::processEvents();
    QCOMPARE(p.g.PredictionOn, 1 - before);
    QCOMPARE(p.rec.ui.checked[CmdPrediction], p.g.PredictionOn == 1);
    QVERIFY(p.rec.ui.boxes.empty());
  }
};

QTEST_MAIN(JoinDialogTest)
#include "join_dialog_test.moc"
