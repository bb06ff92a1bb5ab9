// The two map dialogs driven through their controls, and the menu commands
// that open them. Message boxes go to a RecordingUi, which answers them.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "game/game_state.h"
#include "gui/dialog_driver.h"
#include "maps/map_dialog_templates.h"
#include "maps/map_dialogs_qt.h"
#include "platform/qt_ui.h"
#include "platform/recording_platform.h"
#include "shell/dialog_builder_qt.h"
#include "shell/main_window_qt.h"
#include "shell/menu_ids.h"

namespace {

// A server game working in a fresh empty folder.
struct Folder {
  QTemporaryDir dir;
  QString old = QDir::currentPath();
  RecordingUi ui;
  FakeClock clock;
  GameState g;

  Folder() {
    QDir::setCurrent(dir.path());
    g.platform = Platform{&ui, &clock, nullptr, nullptr};
    g.IsServer = 1;
  }
  ~Folder() { QDir::setCurrent(old); }

  // A map with a border of walls and floor inside.
  static void WriteMap(int number, const QByteArray& description) {
    QByteArray text;
    for (int r = 0; r < 14; ++r) {
      for (int c = 0; c < 14; ++c) text += (r == 0 || r == 13 || c == 0 || c == 13) ? '1' : '0';
      text += "\r\n";
    }
    QFile f(QString("pakmap%1.map").arg(number));
    if (f.open(QIODevice::WriteOnly)) f.write(text + description);
  }
  static QByteArray Read(int number) {
    QFile f(QString("pakmap%1.map").arg(number));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("missing");
  }
};

QListWidget* List(QDialog& d, int id) { return DialogControlById<QListWidget>(d, id); }
QLineEdit* Edit(QDialog& d, int id) { return DialogControlById<QLineEdit>(d, id); }
void Press(QDialog& d, int id) { DialogControlById<QPushButton>(d, id)->click(); }

QStringList Entries(QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

}  // namespace

class MapDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void mapControlSuggestsTheNumberAfterMapsZeroToFour() {
    Folder f;
    for (int n = 0; n < 5; ++n) Folder::WriteMap(n, "Map " + QByteArray::number(n));
    QString number, description, selected;
    int count = 0;
    bool escapeIgnored = false;
    WhenDialogOpens([&](QDialog& d) {
      number = Edit(d, kIdFileNumber)->text();
      description = Edit(d, kIdSaveDescription)->text();
      count = List(d, kIdMapControlList)->count();
      if (auto* item = List(d, kIdMapControlList)->currentItem()) selected = item->text();
      QTest::keyClick(List(d, kIdMapControlList), Qt::Key_Escape);
      escapeIgnored = d.isVisible();
      Press(d, kIdMapCancel);
      EndIfOpen(d);
    });
    QCOMPARE(RunMapControlDialog(f.g, nullptr), 0);
    QCOMPARE(number, QString("5"));
    QCOMPARE(description, QString("My Saved Map Number 5"));
    QCOMPARE(count, 5);
    QCOMPARE(selected, QString("[pakmap4.map] Map 4"));
    QVERIFY(escapeIgnored);
  }

  void mapControlSuggests99WithoutMapsAndReportsNothingSelected() {
    Folder f;
    QString number;
    int count = -1;
    WhenDialogOpens([&](QDialog& d) {
      number = Edit(d, kIdFileNumber)->text();
      count = List(d, kIdMapControlList)->count();
      Press(d, kIdDeleteSelected);
      Press(d, kIdLoadSelected);
      Press(d, kIdMapCancel);
      EndIfOpen(d);
    });
    QCOMPARE(RunMapControlDialog(f.g, nullptr), 0);
    QCOMPARE(number, QString("99"));
    QCOMPARE(count, 0);
    QCOMPARE(f.ui.boxes.size(), size_t(2));
    QCOMPARE(f.ui.boxes[0].text, std::string("Could not delete selected map file."));
    QCOMPARE(f.ui.boxes[1].text, std::string("Could not load selected map file."));
  }

  void overwritingAsksFirstAndRefreshes() {
    Folder f;
    for (int n = 0; n < 5; ++n) Folder::WriteMap(n, "Map " + QByteArray::number(n));
    const QByteArray before = Folder::Read(3);
    f.ui.answers = {MsgAnswer::No, MsgAnswer::Yes};
    QByteArray afterNo;
    QStringList entries;
    QString numberAfterNo, numberAfterYes;
    WhenDialogOpens([&](QDialog& d) {
      Edit(d, kIdFileNumber)->setText("3");
      Edit(d, kIdSaveDescription)->setText("Fresh");
      Press(d, kIdSaveCurrent);  // No: nothing changes, not even the fields
      afterNo = Folder::Read(3);
      numberAfterNo = Edit(d, kIdFileNumber)->text();
      Press(d, kIdSaveCurrent);  // Yes
      entries = Entries(List(d, kIdMapControlList));
      numberAfterYes = Edit(d, kIdFileNumber)->text();
      Press(d, kIdMapCancel);
      EndIfOpen(d);
    });
    RunMapControlDialog(f.g, nullptr);
    QCOMPARE(afterNo, before);
    QCOMPARE(numberAfterNo, QString("3"));
    QCOMPARE(f.ui.boxes.size(), size_t(3));
    QCOMPARE(f.ui.boxes[0].title, std::string("Are you sure?"));
    QCOMPARE(f.ui.boxes[1].title, std::string("Are you sure?"));
    QCOMPARE(f.ui.boxes[2].text, std::string("Current map was saved as pakmap3.map"));
    QVERIFY(Folder::Read(3).endsWith("\r\nFresh"));
    QCOMPARE(entries.value(3), QString("[pakmap3.map] Fresh"));
    QCOMPARE(numberAfterYes, QString("5"));  // the refresh suggests anew
  }

  void deletingLeavesAnEmptyFile() {
    Folder f;
    for (int n = 0; n < 3; ++n) Folder::WriteMap(n, "Map " + QByteArray::number(n));
    f.ui.answers = {MsgAnswer::Yes};
    QStringList entries;
    QString number;
    WhenDialogOpens([&](QDialog& d) {
      List(d, kIdMapControlList)->setCurrentRow(1);
      Press(d, kIdDeleteSelected);
      entries = Entries(List(d, kIdMapControlList));
      number = Edit(d, kIdFileNumber)->text();
      Press(d, kIdMapCancel);
      EndIfOpen(d);
    });
    RunMapControlDialog(f.g, nullptr);
    QCOMPARE(f.ui.boxes.size(), size_t(1));
    QCOMPARE(f.ui.boxes[0].text, std::string("Do you want to delete the selected map file?"));
    QVERIFY(QFile::exists("pakmap1.map"));
    QCOMPARE(Folder::Read(1), QByteArray());
    QCOMPARE(entries, QStringList({"[pakmap0.map] Map 0", "[pakmap2.map] Map 2"}));
    QCOMPARE(number, QString("1"));
  }

  void chooseMapListsAscendingWithTheHighestSelected() {
    Folder f;
    Folder::WriteMap(7, "Seven");
    Folder::WriteMap(2, "Two");
    Folder::WriteMap(4, "Four");
    QStringList entries;
    QStringList selected;
    QString title;
    WhenDialogOpens([&](QDialog& d) {
      title = d.windowTitle();
      entries = Entries(List(d, kIdChooseMapList));
      for (auto* item : List(d, kIdChooseMapList)->selectedItems()) selected << item->text();
      QTest::keyClick(List(d, kIdChooseMapList), Qt::Key_Escape);
      Press(d, kIdMapCancel);
      EndIfOpen(d);
    });
    QCOMPARE(RunChooseMapDialog(f.g, nullptr), 0);
    QCOMPARE(title, QString("Choose a map..."));
    QCOMPARE(entries, QStringList({"[pakmap2.map] Two", "[pakmap4.map] Four",
                                   "[pakmap7.map] Seven"}));
    QCOMPARE(selected, QStringList({"[pakmap7.map] Seven"}));
    QVERIFY(f.ui.invalidations >= 1);  // the playfield was painted first
  }

  void chooseMapLoadsTheSelectedMapOrGenerates() {
    Folder f;
    Folder::WriteMap(2, "Two");
    Folder::WriteMap(4, "Four");
    f.g.Tiles.fill(6);
    WhenDialogOpens([&](QDialog& d) {
      List(d, kIdChooseMapList)->setCurrentRow(0);
      Press(d, kIdLoadSelected);
      EndIfOpen(d);
    });
    QCOMPARE(RunChooseMapDialog(f.g, nullptr), 1);
    QCOMPARE(f.g.MapFileName, std::string("pakmap2.map"));
    QCOMPARE(int(f.g.Tiles[15]), 0);

    f.g.Tiles.fill(0);
    WhenDialogOpens([&](QDialog& d) {
      Press(d, kIdGenerateRandom);
      EndIfOpen(d);
    });
    QCOMPARE(RunChooseMapDialog(f.g, nullptr), 1);
    QCOMPARE(int(f.g.Tiles[0]), 1);
    QVERIFY(f.ui.boxes.empty());
  }

  void menuCommandsOpenTheDialogsOnlyInAGame() {
    Folder f;
    QtUi qtUi;
    MainWindow window(f.g, qtUi);  // message boxes still go to f.ui
    f.g.IsServer = 0;
    f.g.IsClient = 1;
    window.OnCommand(CmdLoadMap, HotKeyMarker);
    QCOMPARE(f.ui.boxes.size(), size_t(1));
    QCOMPARE(f.ui.boxes[0].title, std::string("Cannot load level"));
    QVERIFY(!QApplication::activeModalWidget());

    QString title;
    WhenDialogOpens([&](QDialog& d) {
      title = d.windowTitle();
      Press(d, kIdMapCancel);
      EndIfOpen(d);
    });
    window.OnCommand(CmdSaveMap, HotKeyMarker);
    QCOMPARE(title, QString("Vrask Map Control"));

    f.g.IsServer = 1;
    title.clear();
    WhenDialogOpens([&](QDialog& d) {
      title = d.windowTitle();
      Press(d, kIdMapCancel);
      EndIfOpen(d);
    });
    window.OnCommand(CmdLoadMap, 0);
    QCOMPARE(title, QString("Choose a map..."));
    QCOMPARE(f.ui.boxes.size(), size_t(1));
  }
};

QTEST_MAIN(MapDialogsTest)
#include "map_dialogs_test.moc"
