// Templates turned into widgets: ids, pixel rectangles, the digits-only
// edit, and the information dialogs that only their close box closes.
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "gui/dialog_driver.h"
#include "shell/dialog_builder_qt.h"
#include "shell/dialog_templates.h"
#include "shell/info_templates.h"
#include "shell/info_dialog.h"

class DialogBuilderTest : public QObject {
  Q_OBJECT

 private slots:
  void dialogFontMeasuresSevenByThirteenDrawnAsEightByFifteen() {
    QCOMPARE(QFontInfo(DialogFont()).family(), QString("DejaVu Sans"));
    QCOMPARE(DialogUnitsOf(DialogFont()), (DialogBaseUnits{8, 15}));
    // The welcome dialog's 98 x 151 units.
    QCOMPARE(DialogPixelSize(WelcomeTemplate()), QSize(196, 283));
  }

  void everyControlIsFoundByIdAtItsRectangle() {
    const DialogBaseUnits units{8, 15};
    for (int id : {107, 108, 109, 110, 111, 115}) {
      const DialogTemplate& t = *DialogTemplateById(id);
      QDialog d;
      BuildDialog(d, t);
      QCOMPARE(d.size(), DialogPixelSize(t));
      QCOMPARE(d.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(),
               static_cast<qsizetype>(t.controls.size()));
      for (const DialogControl& c : t.controls) {
        if (c.id == kNoControlId) continue;
        QWidget* w = DialogControlById<QWidget>(d, c.id);
        QVERIFY2(w, qPrintable(QString("template %1 control %2").arg(id).arg(c.id)));
        DialogRect px = ToPixels(c.rect, units);
        if (c.kind == ControlKind::Icon || c.kind == ControlKind::Picture) {
          // Shown at their own size from the rectangle's corner.
          QCOMPARE(w->pos(), QPoint(px.x, px.y));
          QCOMPARE(w->size(), qobject_cast<QLabel*>(w)->pixmap().size());
        } else {
          QCOMPARE(w->geometry(), QRect(px.x, px.y, px.w, px.h));
        }
      }
    }
  }

  void framesAskForTheBoxesTheirTemplatesName() {
    // Caption only (welcome, nickname); close and minimise boxes (About
    // and help); never a maximise box.
    for (int id : {107, 108, 109, 110, 111, 115}) {
      const DialogTemplate& t = *DialogTemplateById(id);
      QDialog d;
      BuildDialog(d, t);
      const Qt::WindowFlags f = d.windowFlags();
      QVERIFY(f.testFlag(Qt::WindowTitleHint));
      QCOMPARE(f.testFlag(Qt::WindowCloseButtonHint), bool(t.style & kCloseBox));
      QCOMPARE(f.testFlag(Qt::WindowSystemMenuHint), bool(t.style & kCloseBox));
      QCOMPARE(f.testFlag(Qt::WindowMinimizeButtonHint), bool(t.style & kMinimiseBox));
      QVERIFY(!f.testFlag(Qt::WindowMaximizeButtonHint));
    }
    QVERIFY(AboutTemplate().style & kCloseBox && AboutTemplate().style & kMinimiseBox);
    QCOMPARE(WelcomeTemplate().style & (kCloseBox | kMinimiseBox), 0u);
  }

  void aDialogWithoutMinimiseBoxComesBackWhenMinimised() {
    ButtonOnlyDialog d;
    BuildDialog(d, NicknameTemplate());
    d.show();
    d.showMinimized();  // what a window manager's own button would do
    QTRY_VERIFY_WITH_TIMEOUT(!d.isMinimized(), 2000);
  }

  void digitsOnlyEditTakesAtMostItsLengthInDigits() {
    DialogTemplate t{116, "Test", 200, 100, kCentred,
                     {{1045, ControlKind::Edit, "", {5, 5, 17, 12}, kDigitsOnly, 2}}};
    QDialog d;
    BuildDialog(d, t);
    auto* edit = DialogControlById<QLineEdit>(d, 1045);
    QTest::keyClicks(edit, "7a-9x4");
    QCOMPARE(edit->text(), QString("79"));
  }

  void informationDialogsCloseOnlyThroughTheCloseBox() {
    for (int id : {107, 109, 110, 111}) {
      bool stayedOpen = false;
      QString title;
      WhenDialogOpens([&](QDialog& d) {
        title = d.windowTitle();
        QWidget* target = d.focusWidget() ? d.focusWidget() : &d;
        QTest::keyClick(target, Qt::Key_Escape);
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Enter);
        stayedOpen = d.isVisible();
        d.close();  // what the close box, system menu and Alt+F4 ask for
        EndIfOpen(d);
      });
      QCOMPARE(ShowInfoDialog(id, nullptr), 0);
      QVERIFY2(stayedOpen, qPrintable(title));
      QCOMPARE(title, QString(DialogTemplateById(id)->title));
    }
  }
};

QTEST_MAIN(DialogBuilderTest)
#include "dialog_builder_test.moc"
