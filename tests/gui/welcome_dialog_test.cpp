// The welcome dialog and the start-up around it.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>

#include "game/game_state.h"
#include "gui/dialog_driver.h"
#include "platform/menu_ids.h"
#include "platform/posix_network.h"
#include "platform/qt_ui.h"
#include "platform/recording_platform.h"
#include "shell/dialog_builder_qt.h"
#include "shell/main_window_qt.h"
#include "shell/program_qt.h"
#include "shell/welcome_dialog.h"

namespace {

template <class W>
W* Control(QDialog& d, int id) {
  return DialogControlById<W>(d, id);
}

bool AnyMainWindow(bool visibleOnly = false) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (qobject_cast<MainWindow*>(w) && (!visibleOnly || w->isVisible())) return true;
  return false;
}

// Notes, at the moment a track starts, whether the main window shows yet.
struct WatchingAudio : RecordingAudio {
  bool windowShownAtMusic = false;
  int PlayMusic(const std::string& f) override {
    windowShownAtMusic = windowShownAtMusic || AnyMainWindow(true);
    return RecordingAudio::PlayMusic(f);
  }
};

// The program started with `act` answering the welcome dialog.
struct Program {
  QtUi ui;
  SteadyClock clock;
  WatchingAudio audio;
  RecordingNetwork net;
  GameState g;
  int welcomes = 0;
  std::unique_ptr<MainWindow> window;

  explicit Program(std::function<void(QDialog&)> act) {
    g.platform = Platform{&ui, &clock, &audio, &net};
    window = StartProgram(g, ui, 1, [&](GameState& gs) {
      ++welcomes;
      WhenDialogOpens([act](QDialog& d) {
        act(d);
        EndIfOpen(d);
      });
      return RunWelcomeDialog(gs);
    });
  }
};

}  // namespace

class WelcomeDialogTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  std::filesystem::path oldDir_;

 private slots:
  void initTestCase() {
    // Start-up loads "pakmap.map" from the working directory.
    oldDir_ = std::filesystem::current_path();
    std::filesystem::copy_file(VRASK_SOURCE_DIR "/data/pakmap.map",
                               dir_.filePath("pakmap.map").toStdString());
    std::filesystem::current_path(dir_.path().toStdString());
  }
  void cleanupTestCase() { std::filesystem::current_path(oldDir_); }

  void cancelEndsTheProgramAndNeitherEscapeNorANinthCharacterIsTaken() {
    QString offered, typed;
    bool escapeIgnored = false;
    Program p([&](QDialog& d) {
      auto* edit = Control<QLineEdit>(d, 1027);
      offered = edit->text();
      edit->clear();
      QTest::keyClicks(edit, "abcdefghi");
      typed = edit->text();
      QTest::keyClick(edit, Qt::Key_Escape);
      d.close();
      escapeIgnored = d.isVisible();
      Control<QPushButton>(d, 1029)->click();
    });
    QCOMPARE(offered, QString("Unnamed"));
    QCOMPARE(typed, QString("abcdefgh"));
    QVERIFY(escapeIgnored);
    QCOMPARE(p.welcomes, 1);
    QVERIFY(!p.window);
    QVERIFY(!AnyMainWindow());
    QVERIFY(p.audio.music.empty());
  }

  void emptyNicknameAndNoMusicStartTheWindowAccordingly() {
    Program p([](QDialog& d) {
      Control<QLineEdit>(d, 1027)->clear();
      Control<QCheckBox>(d, 1032)->click();
      Control<QPushButton>(d, 1028)->click();
    });
    QVERIFY(p.window && p.window->isVisible());
    QCOMPARE(p.g.Nickname, std::string("unnamed"));
    QCOMPARE(p.window->windowTitle(), QString("Vrask 1.0 [unnamed]"));
    QCOMPARE(p.g.MusicOn, 0);
    QVERIFY(p.audio.music.empty());
    QCOMPARE(p.ui.Action(CmdNextTrack)->text(), QString("Skip to &next music track [F9]"));
    QVERIFY(!p.ui.Action(CmdNextTrack)->isEnabled());
    QVERIFY(!p.ui.Action(CmdPlayMusic)->isChecked());
  }

  void enterBeginsAndATrackStartsBeforeTheWindowShows() {
    Program p([](QDialog& d) {
      auto* edit = Control<QLineEdit>(d, 1027);
      edit->setText("Rex");
      Control<QCheckBox>(d, 1031)->click();
      QTest::keyClick(edit, Qt::Key_Return);
    });
    QVERIFY(p.window);
    QVERIFY(!p.audio.windowShownAtMusic);
    QCOMPARE(p.window->windowTitle(), QString("Vrask 1.0 [Rex]"));
    QCOMPARE(p.g.SoundsOn, 0);
    QCOMPARE(p.g.MusicOn, 1);
    QCOMPARE(p.audio.music.size(), size_t{1});
    QVERIFY(QString::fromStdString(p.audio.music[0])
                .contains(QRegularExpression("^vrask([0-9]|1[01])\\.mid$")));
    QVERIFY(p.ui.Action(CmdNextTrack)->isEnabled());
  }
};

QTEST_MAIN(WelcomeDialogTest)
#include "welcome_dialog_test.moc"
