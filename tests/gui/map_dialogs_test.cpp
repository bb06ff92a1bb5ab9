// The two map dialogs driven through their controls; the rules behind the
// buttons are tested in tests/maps/. Message boxes go to a RecordingUi.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "gui/dialog_driver.h"
#include "maps/map_dialog_templates.h"
#include "maps/map_dialogs_qt.h"
#include "shell/dialog_builder_qt.h"
#include "support/test_game.h"

namespace {

// A server game working in a fresh empty folder.
struct Folder : TestGame {
  ScopedTempDir dir;
  RecordingUi& ui = rec.ui;
  Folder() { g.IsServer = 1; }
};

std::string MapName(int number) { return "pakmap" + std::to_string(number) + ".map"; }
void WriteMap(int number, const std::string& description) {
  WriteFile(MapName(number), BorderMapText() + description);
}
void WriteMaps(int count) {
  for (int n = 0; n < count; ++n) WriteMap(n, "Map " + std::to_string(n));
}

QLineEdit* Edit(QDialog& d, int id) { return DialogControlById<QLineEdit>(d, id); }


}  // namespace

class MapDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void mapControlSuggestsTheNumberAfterMapsZeroToFourElse99() {
    for (bool withMaps : {false, true}) {
      Folder f;
      WriteMaps(withMaps ? 5 : 0);
      QString number, selected;
      bool escapeIgnored = false;
      WhenDialogOpens([&](QDialog& d) {
        number = Edit(d, kIdFileNumber)->text();
        if (auto* item = List(d, kIdMapControlList)->currentItem()) selected = item->text();
        QTest::keyClick(List(d, kIdMapControlList), Qt::Key_Escape);
        escapeIgnored = d.isVisible();
        Press(d, kIdMapCancel);
        EndIfOpen(d);
      });
      QCOMPARE(RunMapControlDialog(f.g, nullptr), 0);
      QCOMPARE(number, QString(withMaps ? "5" : "99"));
      QCOMPARE(selected, QString(withMaps ? "[pakmap4.map] Map 4" : ""));
      QVERIFY(escapeIgnored);
    }
  }

  void overwritingAsksFirstAndDeletingLeavesAnEmptyFile() {
    Folder f;
    WriteMaps(5);
    const std::string before = ReadFile(MapName(3));
    f.ui.answers = {MsgAnswer::No, MsgAnswer::Yes, MsgAnswer::Yes};
    std::string afterNo;
    QStringList afterSave, afterDelete;
    WhenDialogOpens([&](QDialog& d) {
      Edit(d, kIdFileNumber)->setText("3");
      Edit(d, kIdSaveDescription)->setText("Fresh");
      Press(d, kIdSaveCurrent);  // No
      afterNo = ReadFile(MapName(3));
      Press(d, kIdSaveCurrent);  // Yes
      afterSave = Entries(List(d, kIdMapControlList));
      List(d, kIdMapControlList)->setCurrentRow(1);
      Press(d, kIdDeleteSelected);  // Yes
      afterDelete = Entries(List(d, kIdMapControlList));
      Press(d, kIdMapCancel);
      EndIfOpen(d);
    });
    RunMapControlDialog(f.g, nullptr);
    QCOMPARE(afterNo, before);
    QCOMPARE(f.ui.boxes.size(), size_t(4));
    QCOMPARE(f.ui.boxes[1].title, std::string("Are you sure?"));
    QCOMPARE(f.ui.boxes[2].text, std::string("Current map was saved as pakmap3.map"));
    QCOMPARE(f.ui.boxes[3].text, std::string("Do you want to delete the selected map file?"));
    QCOMPARE(afterSave.value(3), QString("[pakmap3.map] Fresh"));
    QVERIFY(std::filesystem::exists(MapName(1)));
    QCOMPARE(ReadFile(MapName(1)), std::string());
    QCOMPARE(afterDelete.size(), 4);
    QVERIFY(!afterDelete.contains("[pakmap1.map] Map 1"));
  }

  void chooseMapListsAscendingWithTheHighestSelected() {
    Folder f;
    WriteMap(7, "Seven");
    WriteMap(2, "Two");
    WriteMap(4, "Four");
    QStringList entries, selected;
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
};

QTEST_MAIN(MapDialogsTest)
#include "map_dialogs_test.moc"
