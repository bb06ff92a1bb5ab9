#include "platform/qt_ui.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QWidget>

#include "platform/windows1252.h"

namespace {

QString FromGameText(const std::string& text) {
  return QString::fromStdString(Utf8FromCp1252(text));
}

}  // namespace

MsgAnswer QtUi::MessageBox(const std::string& text, const std::string& title, MsgButtons buttons,
                           MsgIcon icon, bool ownedByMainWindow) {
  // A box not owned by the main window belongs to the dialog that asks
  // (the map control dialog's questions), or to nobody before the window
  // exists.
  QWidget* owner = ownedByMainWindow ? window_.data() : QApplication::activeModalWidget();
  QMessageBox box(owner);
  box.setText(FromGameText(text));
  box.setWindowTitle(FromGameText(title));
  switch (icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
  }
  if (buttons == MsgButtons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return MsgAnswer::Ok;
}

void QtUi::EnableMenuItem(int id, bool enabled) {
  if (QAction* a = actions_.value(id)) a->setEnabled(enabled);
}

void QtUi::CheckMenuItem(int id, bool checked) {
  if (QAction* a = actions_.value(id)) a->setChecked(checked);
}

void QtUi::SetWindowTitle(const std::string& title) {
  if (window_) window_->setWindowTitle(FromGameText(title));
}

void QtUi::InvalidateWindow() {
  if (repaint_) repaint_();
}

void QtUi::PostQuit() {
  quitPosted_ = true;
  // Queued, like a posted quit message: the current command finishes first.
  // exit() rather than quit(): quit() would first send close events to the
  // windows, and the main window answers those with a question.
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}
