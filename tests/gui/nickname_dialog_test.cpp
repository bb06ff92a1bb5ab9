// Command 40041 through the main window and the nickname dialog.
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "game/game_state.h"
#include "gui/dialog_driver.h"
#include "platform/qt_ui.h"
#include "platform/recording_platform.h"
#include "shell/dialog_builder_qt.h"
#include "shell/main_window_qt.h"
#include "shell/menu_ids.h"
#include "shell/startup.h"

namespace {

// A main window over a game whose nickname is "Rex".
struct Program {
  QtUi ui;
  FakeClock clock;
  RecordingAudio audio;
  GameState g;
  std::unique_ptr<MainWindow> window;

  Program() {
    g.platform = Platform{&ui, &clock, &audio, nullptr};
    g.Nickname = "Rex";
    window = std::make_unique<MainWindow>(g, ui);
    ui.SetWindowTitle(WindowTitle(g));
  }
  QString Title() const { return window->windowTitle(); }
};

QLineEdit* Edit(QDialog& d) { return DialogControlById<QLineEdit>(d, 1027); }
QPushButton* Button(QDialog& d, int id) { return DialogControlById<QPushButton>(d, id); }

}  // namespace

class NicknameDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void cancelChangesNothing() {
    Program p;
    QString offered;
    WhenDialogOpens([&](QDialog& d) {
      offered = Edit(d)->text();
      Edit(d)->setText("Other");
      Button(d, 1029)->click();
      EndIfOpen(d);
    });
    p.window->OnCommand(CmdNickname, 0);
    QCOMPARE(offered, QString("Rex"));
    QCOMPARE(p.g.Nickname, std::string("Rex"));
    QCOMPARE(p.Title(), QString("Vrask 1.0 [Rex]"));
  }

  void aNinthCharacterIsRefusedAndChangeRetitles() {
    Program p;
    WhenDialogOpens([&](QDialog& d) {
      QCOMPARE(d.windowTitle(), QString("Change Nick Name..."));
      Edit(d)->selectAll();
      QTest::keyClicks(Edit(d), "Tankred99");
      QCOMPARE(Edit(d)->text(), QString("Tankred9"));
      QTest::keyClick(Edit(d), Qt::Key_Escape);  // not a way out
      QVERIFY(d.isVisible());
      Button(d, 1028)->click();
      EndIfOpen(d);
    });
    p.window->OnCommand(CmdNickname, HotKeyMarker);
    QCOMPARE(p.g.Nickname, std::string("Tankred9"));
    QCOMPARE(p.Title(), QString("Vrask 1.0 [Tankred9]"));
  }

  void anEmptyNicknameBecomesUnnamed() {
    Program p;
    WhenDialogOpens([&](QDialog& d) {
      Edit(d)->clear();
      QTest::keyClick(Edit(d), Qt::Key_Return);  // Enter is Change
      EndIfOpen(d);
    });
    p.window->OnCommand(CmdNickname, 0);
    QCOMPARE(p.g.Nickname, std::string("unnamed"));
    QCOMPARE(p.Title(), QString("Vrask 1.0 [unnamed]"));
  }

  void refusedWhileConnected() {
    Program p;
    p.g.IsClient = 1;
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenDialogOpens([&](QDialog& d) {
      auto* box = qobject_cast<QMessageBox*>(&d);
      QVERIFY(box);
      text = box->text();
      title = box->windowTitle();
      icon = box->icon();
      box->accept();
      EndIfOpen(d);
    });
    p.window->OnCommand(CmdNickname, 0);
    QCOMPARE(text, QString("You cannot change your nickname while playing. Disconnect first."));
    QCOMPARE(title, QString("Cannot Change Nick Name!"));
    QCOMPARE(icon, QMessageBox::Warning);
    QVERIFY(!QApplication::activeModalWidget());  // the nickname dialog never opened
    QCOMPARE(p.g.Nickname, std::string("Rex"));
  }
};

QTEST_MAIN(NicknameDialogTest)
#include "nickname_dialog_test.moc"
