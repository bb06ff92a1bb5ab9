#include "shell/dialog_builder_qt.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QTreeWidget>
#include <string>

#include "platform/embedded_assets.h"

QFont DialogFont() {
  static const QFont font = [] {
    QFont f("DejaVu Sans");
    if (QFontInfo(f).family() != "DejaVu Sans")
      QFontDatabase::addApplicationFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    f = QFont("DejaVu Sans");
    f.setPixelSize(11);
    f.setStyleHint(QFont::SansSerif);
    return f;
  }();
  return font;
}

DialogBaseUnits DialogUnitsOf(const QFont& font) {
  QFontMetrics m(font);
  return EnlargedUnits(BaseUnitsFromFont(
      m.horizontalAdvance(QString::fromLatin1(kBaseUnitAlphabet)), m.height()));
}

QPixmap ResourcePixmap(const char* name, int placeholderWidth, int placeholderHeight) {
  if (const EmbeddedFile* f = EmbeddedAsset(name)) {
    QImage image = QImage::fromData(f->data, static_cast<int>(f->size), "BMP");
    if (!image.isNull()) return QPixmap::fromImage(image);
  }
  // Missing picture: a grey panel with its name, at the picture's size.
  QPixmap p(placeholderWidth, placeholderHeight);
  p.fill(QColor(192, 192, 192));
  QPainter painter(&p);
  painter.setPen(QColor(128, 128, 128));
  painter.drawRect(0, 0, placeholderWidth - 1, placeholderHeight - 1);
  painter.setFont(DialogFont());
  // The resource number alone: "icon102.bmp" shows as "102".
  QString label = QString::fromLatin1(name).remove(QRegularExpression("[^0-9]"));
  painter.drawText(p.rect(), Qt::AlignCenter, label);
  return p;
}

QPixmap ProgramIconPixmap() { return ResourcePixmap("icon102.bmp", 32, 32); }

QPixmap BitmapPixmap(int id) {
  // The sizes the dialogs' two pictures are drawn at.
  int w = 128, h = 74;
  if (id == 123) w = 376, h = 281;
  return ResourcePixmap(("bitmap" + std::to_string(id) + ".bmp").c_str(), w, h);
}

namespace {

QRect Pixels(const DialogRect& du, DialogBaseUnits units) {
  DialogRect px = ToPixels(du, units);
  return QRect(px.x, px.y, px.w, px.h);
}

// Breaks a button's text into lines that fit its width, at spaces.
QString WrapToWidth(const QString& text, const QFontMetrics& m, int width) {
  QStringList lines;
  QString line;
  for (const QString& word : text.split(' ', Qt::SkipEmptyParts)) {
    QString candidate = line.isEmpty() ? word : line + ' ' + word;
    // The mnemonic marker takes no room.
    if (!line.isEmpty() && m.horizontalAdvance(QString(candidate).remove('&')) > width) {
      lines << line;
      line = word;
    } else {
      line = candidate;
    }
  }
  if (!line.isEmpty()) lines << line;
  return lines.join('\n');
}

QWidget* MakeControl(QDialog& dialog, const DialogControl& c, DialogBaseUnits units) {
  const QString text = QString::fromUtf8(c.text);
  const QRect r = Pixels(c.rect, units);
  QWidget* w = nullptr;
  switch (c.kind) {
    case ControlKind::GroupBox: {
      auto* box = new QGroupBox(text, &dialog);
      // The classic look: the title sits on the frame's top line, so the
      // frame uses the whole rectangle the template gives it.
      box->setStyleSheet(
          "QGroupBox { border: 1px solid #a0a0a0; border-radius: 2px; margin-top: 6px; }"
          "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }");
      // A frame only: clicks go to the controls it surrounds.
      box->setAttribute(Qt::WA_TransparentForMouseEvents);
      w = box;
      break;
    }
    case ControlKind::Edit: {
      auto* edit = new QLineEdit(&dialog);
      if (c.maxLength > 0) edit->setMaxLength(c.maxLength);
      if (c.flags & kDigitsOnly)
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
      edit->setFrame(c.flags & kBorder);
      w = edit;
      break;
    }
    case ControlKind::CheckBox:
      w = new QCheckBox(text, &dialog);
      break;
    case ControlKind::RadioButton:
      w = new QRadioButton(text, &dialog);
      break;
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton: {
      auto* button = new QPushButton(&dialog);
      button->setText((c.flags & kMultiline)
                          ? WrapToWidth(text, QFontMetrics(DialogFont()), r.width() - 8)
                          : text);
      button->setDefault(c.kind == ControlKind::DefaultPushButton);
      w = button;
      break;
    }
    case ControlKind::Static: {
      auto* label = new QLabel(text, &dialog);
      label->setTextFormat(Qt::PlainText);
      label->setWordWrap(true);
      label->setAlignment(((c.flags & kCentreText) ? Qt::AlignHCenter : Qt::AlignLeft) |
                          Qt::AlignTop);
      w = label;
      break;
    }
    case ControlKind::Icon:
    case ControlKind::Picture: {
      auto* label = new QLabel(&dialog);
      QPixmap p = c.kind == ControlKind::Icon ? ProgramIconPixmap() : BitmapPixmap(c.resource);
      label->setPixmap(p);
      // Like the old platform, an icon or picture control takes the size of
      // what it shows, at the rectangle's top left corner.
      label->setGeometry(QRect(r.topLeft(), p.size()));
      if (c.id != kNoControlId) label->setObjectName(QString::number(c.id));
      return label;
    }
    case ControlKind::ListBox: {
      auto* list = new QListWidget(&dialog);
      list->setVerticalScrollBarPolicy((c.flags & kVScroll) ? Qt::ScrollBarAsNeeded
                                                            : Qt::ScrollBarAlwaysOff);
      list->setHorizontalScrollBarPolicy((c.flags & kHScroll) ? Qt::ScrollBarAsNeeded
                                                              : Qt::ScrollBarAlwaysOff);
      if (!(c.flags & kBorder)) list->setFrameShape(QFrame::NoFrame);
      w = list;
      break;
    }
    case ControlKind::ComboBox: {
      auto* combo = new QComboBox(&dialog);
      combo->setEditable(true);
      // The offered texts are the program's to choose; Enter is the
      // dialog's default button, not a new entry.
      combo->setInsertPolicy(QComboBox::NoInsert);
      if (c.maxLength > 0) combo->lineEdit()->setMaxLength(c.maxLength);
      w = combo;
      break;
    }
    case ControlKind::Table: {
      auto* table = new QTreeWidget(&dialog);
      table->setRootIsDecorated(false);
      table->setUniformRowHeights(true);
      table->setAllColumnsShowFocus(true);
      table->setSelectionMode(QAbstractItemView::SingleSelection);
      table->setHeaderLabels(text.split('\t'));
      // Each column starts as wide as its title; filling it widens it.
      for (int col = 0; col < table->columnCount(); ++col) table->resizeColumnToContents(col);
      if (!(c.flags & kBorder)) table->setFrameShape(QFrame::NoFrame);
      w = table;
      break;
    }
  }
  w->setGeometry(r);
  if (c.id != kNoControlId) w->setObjectName(QString::number(c.id));
  return w;
}

}  // namespace

QSize DialogPixelSize(const DialogTemplate& t) {
  DialogRect px = ToPixels({0, 0, t.width, t.height}, DialogUnitsOf(DialogFont()));
  return QSize(px.w, px.h);
}

void BuildDialog(QDialog& dialog, const DialogTemplate& t) {
  dialog.setWindowTitle(QString::fromUtf8(t.title));
  dialog.setFont(DialogFont());
  Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (t.style & kCloseBox) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (t.style & kMinimiseBox) flags |= Qt::WindowMinimizeButtonHint;
  dialog.setWindowFlags(flags);
  dialog.setFixedSize(DialogPixelSize(t));
  dialog.setSizeGripEnabled(false);

  const DialogBaseUnits units = DialogUnitsOf(DialogFont());
  QList<QWidget*> frames;
  for (const DialogControl& c : t.controls) {
    QWidget* w = MakeControl(dialog, c, units);
    if (c.kind == ControlKind::GroupBox) frames << w;
  }
  // Frames lie behind everything, whatever their place in the template.
  for (QWidget* f : frames) f->lower();
  if (t.style & kCentred) CentreOnScreen(dialog, dialog.size());
}

void CentreOnScreen(QWidget& dialog, QSize size) {
  QScreen* screen = dialog.screen() ? dialog.screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect area = screen->availableGeometry();
  dialog.move(area.x() + (area.width() - size.width()) / 2,
              area.y() + (area.height() - size.height()) / 2);
}

void ButtonOnlyDialog::keyPressEvent(QKeyEvent* e) {
  // The template has no cancel command for Escape to send.
  if (e->key() == Qt::Key_Escape) return;
  QDialog::keyPressEvent(e);
}

void ButtonOnlyDialog::closeEvent(QCloseEvent* e) { e->ignore(); }

void ButtonOnlyDialog::changeEvent(QEvent* e) {
  QDialog::changeEvent(e);
  if (e->type() == QEvent::WindowStateChange && isMinimized())
    QMetaObject::invokeMethod(this, [this] { showNormal(); }, Qt::QueuedConnection);
}

void CloseBoxOnlyDialog::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return;  // only the close request ends these dialogs
    default:
      QDialog::keyPressEvent(e);
  }
}
