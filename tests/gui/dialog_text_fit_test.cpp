// Every text of every dialog template fits its control in the dialog font:
// labels wrapped into their rectangle, check box, radio button and button
// captions beside their indicator or inside their frame, frame titles on
// their frame. The dialogs are built by the real builder and measured with
// the fonts and style their widgets actually use.
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTreeWidget>
#include <QtTest>

#include "admin/server_control_templates.h"
#include "connection/connection_templates.h"
#include "maps/map_dialog_templates.h"
#include "shell/dialog_builder_qt.h"
#include "shell/dialog_templates.h"
#include "shell/info_templates.h"

namespace {

// Every dialog template of the program. A new template is one more line.
using TemplateFn = const DialogTemplate& (*)();
const TemplateFn kAllTemplates[] = {
    WelcomeTemplate,       NicknameTemplate,        AboutTemplate,
    GameplayHelpTemplate,  StatusBarHelpTemplate,   ClientServerHelpTemplate,
    ServerSettingsTemplate, ChooseMapTemplate,      MapControlTemplate,
    ServerAddressTemplate,  ConnectionTemplate,     ServerControlTemplate,
    BanControlTemplate,     FindGamesTemplate,
};

// The caption as drawn: the mnemonic marker takes no room.
QString Shown(QString text) { return text.remove('&'); }

// The room the style gives a button's or indicator control's caption.
QRect CaptionRoom(const QAbstractButton& b, QStyle::SubElement element) {
  QStyleOptionButton opt;
  opt.initFrom(&b);
  opt.text = b.text();
  return b.style()->subElementRect(element, &opt, &b);
}

// Width and height the lines of `text` need, each line on its own.
QSize LinesSize(const QString& text, const QFontMetrics& m) {
  const QStringList lines = Shown(text).split('\n');
  int w = 0;
  for (const QString& line : lines) w = std::max(w, m.horizontalAdvance(line));
  return {w, static_cast<int>(lines.size()) * m.height()};
}

// Why the text of w does not fit, or empty when it fits (or w has none).
QString Misfit(QWidget& w, int* measured) {
  const QFontMetrics m(w.font());
  auto report = [](const QString& text, QSize need, QSize room) {
    if (need.width() <= room.width() && need.height() <= room.height()) return QString();
    return QString("\"%1\" needs %2 x %3, has %4 x %5")
        .arg(text).arg(need.width()).arg(need.height()).arg(room.width()).arg(room.height());
  };
  if (auto* label = qobject_cast<QLabel*>(&w)) {
    if (label->text().isEmpty()) return {};
    ++*measured;
    const QRect room = label->contentsRect();
    const QRect need = m.boundingRect(room, Qt::TextWordWrap | label->alignment(), label->text());
    return report(label->text(), need.size(), room.size());
  }
  if (auto* box = qobject_cast<QGroupBox*>(&w)) {
    if (box->title().isEmpty()) return {};  // a bare frame
    ++*measured;
    // The title sits on the top line, 6 pixels in and padded by 2 on each
    // side (the builder's style sheet); the frame's corners stay visible.
    const QSize need(m.horizontalAdvance(box->title()) + 2 * (6 + 2), m.height());
    return report(box->title(), need, box->size());
  }
  if (auto* table = qobject_cast<QTreeWidget*>(&w)) {
    ++*measured;
    // Every column title whole in its column, and the columns side by side
    // within the table, before any row widens them.
    QHeaderView* header = table->header();
    QStringList titles;
    int need = 0;
    for (int col = 0; col < table->columnCount(); ++col) {
      const QString title = table->headerItem()->text(col);
      titles << title;
      if (header->sectionSizeHint(col) > header->sectionSize(col))
        return report(title, {header->sectionSizeHint(col), m.height()},
                      {header->sectionSize(col), header->height()});
      need += header->sectionSize(col);
    }
    return report(titles.join(' '), {need, header->height()},
                  {table->contentsRect().width(), header->height()});
  }
  QStyle::SubElement element;
  if (qobject_cast<QCheckBox*>(&w)) element = QStyle::SE_CheckBoxContents;
  else if (qobject_cast<QRadioButton*>(&w)) element = QStyle::SE_RadioButtonContents;
  else if (qobject_cast<QPushButton*>(&w)) element = QStyle::SE_PushButtonContents;
  else return {};
  auto& button = static_cast<QAbstractButton&>(w);
  ++*measured;
  return report(button.text(), LinesSize(button.text(), m), CaptionRoom(button, element).size());
}

}  // namespace

class DialogTextFitTest : public QObject {
  Q_OBJECT

 private slots:
  void everyTextFitsItsControl() {
    QStringList misfits;
    for (TemplateFn fn : kAllTemplates) {
      const DialogTemplate& t = fn();
      QDialog d;
      BuildDialog(d, t);
      int measured = 0;
      for (QWidget* w : d.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        const QString why = Misfit(*w, &measured);
        if (!why.isEmpty()) misfits << QString("%1 %2").arg(t.id).arg(why);
      }
      // Every control with a text was measured (none was skipped by kind).
      int texts = 0;
      for (const DialogControl& c : t.controls) texts += *c.text != '\0';
      QCOMPARE(measured, texts);
    }
    QVERIFY2(misfits.isEmpty(), qPrintable(misfits.join('\n')));
  }
};

QTEST_MAIN(DialogTextFitTest)
#include "dialog_text_fit_test.moc"
