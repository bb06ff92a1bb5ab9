// The welcome dialog and the start-up around it.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>

#include "game/game_state.h"
#include "gui/dialog_driver.h"
#include "platform/posix_network.h"
#include "platform/qt_ui.h"
#include "platform/recording_platform.h"
#include "shell/dialog_builder_qt.h"
#include "shell/main_window_qt.h"
#include "shell/menu_ids.h"
#include "shell/program_qt.h"
#include "shell/welcome_dialog.h"

namespace {

// A millisecond count that moves on at every second reading.
class TickingClock : public Clock {
 public:
  uint32_t reads = 0;
  uint32_t TickCount() override { return ++reads / 2; }
};

template <class W>
W* Control(QDialog& d, int id) {
  return DialogControlById<W>(d, id);
}

bool AnyMainWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (qobject_cast<MainWindow*>(w)) return true;
  return false;
}

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

  void opensTickedWithUnnamedAndRefusesANinthCharacter() {
    SteadyClock clock;
    GameState g;
    g.platform.clock = &clock;
    g.Nickname = "before";
    g.SoundsOn = 7;
    g.MusicOn = 7;
    bool escapeIgnored = false;
    WhenDialogOpens([&](QDialog& d) {
      auto* edit = Control<QLineEdit>(d, 1027);
      QCOMPARE(edit->text(), QString("Unnamed"));
      QCOMPARE(d.focusWidget(), edit);
      QVERIFY(Control<QCheckBox>(d, 1031)->isChecked());
      QVERIFY(Control<QCheckBox>(d, 1032)->isChecked());
      edit->clear();
      QTest::keyClicks(edit, "abcdefghi");
      QCOMPARE(edit->text(), QString("abcdefgh"));
      QTest::keyClick(edit, Qt::Key_Escape);
      d.close();
      escapeIgnored = d.isVisible();
      Control<QPushButton>(d, 1029)->click();
      EndIfOpen(d);
    });
    QCOMPARE(RunWelcomeDialog(g), 0);
    QVERIFY(escapeIgnored);
    // Cancel stores nothing.
    QCOMPARE(g.Nickname, std::string("before"));
    QCOMPARE(g.SoundsOn, 7);
    QCOMPARE(g.MusicOn, 7);
  }

  void enterBeginsAndStoresTheChoices() {
    SteadyClock clock;
    GameState g;
    g.platform.clock = &clock;
    WhenDialogOpens([&](QDialog& d) {
      auto* edit = Control<QLineEdit>(d, 1027);
      edit->setText("Rex");
      Control<QCheckBox>(d, 1031)->click();
      QTest::keyClick(edit, Qt::Key_Return);
      EndIfOpen(d);
    });
    QCOMPARE(RunWelcomeDialog(g), 1);
    QCOMPARE(g.Nickname, std::string("Rex"));
    QCOMPARE(g.SoundsOn, 0);
    QCOMPARE(g.MusicOn, 1);
  }

  void unrollsDownwardsAtThePaceOfTheTickCount() {
    TickingClock clock;
    GameState g;
    g.platform.clock = &clock;
    QList<int> heights;
    QList<QPoint> corners;
    struct Recorder : QObject {
      QList<int>* heights;
      QList<QPoint>* corners;
      bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Resize && o->isWidgetType()) {
          auto* w = static_cast<QWidget*>(o);
          if (w->isWindow()) {
            *heights << w->height();
            *corners << w->pos();
          }
        }
        return false;
      }
    } recorder;
    recorder.heights = &heights;
    recorder.corners = &corners;
    qApp->installEventFilter(&recorder);
    WhenDialogOpens([&](QDialog& d) {
      qApp->removeEventFilter(&recorder);
      QCOMPARE(d.size(), DialogPixelSize(WelcomeTemplate()));
      Control<QPushButton>(d, 1029)->click();
      EndIfOpen(d);
    });
    RunWelcomeDialog(g);
    qApp->removeEventFilter(&recorder);
    // One wait for the count to move per step: 140 steps.
    QVERIFY2(clock.reads >= 2 * 140, qPrintable(QString::number(clock.reads)));
    QVERIFY(heights.size() > 50);
    QVERIFY(heights.first() <= 4);
    QCOMPARE(heights.last(), DialogPixelSize(WelcomeTemplate()).height());
    for (int i = 1; i < heights.size(); ++i) {
      QVERIFY(heights[i] >= heights[i - 1]);
      QCOMPARE(corners[i], corners.first());  // grows without moving
    }
  }

  void cancelEndsTheProgramWithoutTheMainWindow() {
    QtUi ui;
    SteadyClock clock;
    RecordingAudio audio;
    RecordingNetwork net;
    GameState g;
    g.platform = Platform{&ui, &clock, &audio, &net};
    int welcomes = 0;
    std::unique_ptr<MainWindow> window = StartProgram(g, ui, 1, [&](GameState& gs) {
      ++welcomes;
      WhenDialogOpens([](QDialog& d) {
        Control<QPushButton>(d, 1029)->click();
        EndIfOpen(d);
      });
      return RunWelcomeDialog(gs);
    });
    QCOMPARE(welcomes, 1);
    QVERIFY(!window);
    QVERIFY(!AnyMainWindow());
    QVERIFY(audio.music.empty());
  }

  void emptyNicknameAndNoMusicStartTheWindowAccordingly() {
    QtUi ui;
    SteadyClock clock;
    RecordingAudio audio;
    RecordingNetwork net;
    GameState g;
    g.platform = Platform{&ui, &clock, &audio, &net};
    std::unique_ptr<MainWindow> window = StartProgram(g, ui, 1, [](GameState& gs) {
      WhenDialogOpens([](QDialog& d) {
        Control<QLineEdit>(d, 1027)->clear();
        Control<QCheckBox>(d, 1032)->click();
        Control<QPushButton>(d, 1028)->click();
        EndIfOpen(d);
      });
      return RunWelcomeDialog(gs);
    });
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(g.Nickname, std::string("unnamed"));
    QCOMPARE(window->windowTitle(), QString("Vrask 1.0 [unnamed]"));
    QCOMPARE(g.MusicOn, 0);
    QVERIFY(audio.music.empty());
    QVERIFY(!ui.Action(CmdNextTrack)->isEnabled());
    QVERIFY(!ui.Action(CmdPlayMusic)->isChecked());
    QVERIFY(ui.Action(CmdPlaySounds)->isChecked());
  }

  void withMusicATrackStartsBeforeTheWindowShows() {
    QtUi ui;
    SteadyClock clock;
    RecordingAudio audio;
    RecordingNetwork net;
    GameState g;
    g.platform = Platform{&ui, &clock, &audio, &net};
    bool shownBeforeMusic = false;
    std::unique_ptr<MainWindow> window = StartProgram(g, ui, 1, [&](GameState& gs) {
      WhenDialogOpens([](QDialog& d) {
        Control<QPushButton>(d, 1028)->click();
        EndIfOpen(d);
      });
      int r = RunWelcomeDialog(gs);
      shownBeforeMusic = AnyMainWindow();
      return r;
    });
    QVERIFY(window);
    QVERIFY(!shownBeforeMusic);
    QCOMPARE(window->windowTitle(), QString("Vrask 1.0 [Unnamed]"));
    QCOMPARE(audio.music.size(), size_t{1});
    QVERIFY(QString::fromStdString(audio.music[0]).contains(QRegularExpression("^vrask([0-9]|1[01])\\.mid$")));
    QVERIFY(ui.Action(CmdNextTrack)->isEnabled());
  }
};

QTEST_MAIN(WelcomeDialogTest)
#include "welcome_dialog_test.moc"
