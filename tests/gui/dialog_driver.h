// Drives modal dialogs from inside their own loops in GUI tests.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "shell/dialog_builder_qt.h"

// Runs `act` on the next modal dialog once it is shown and answering (the
// welcome dialog answers after its opening animation). Polls every 5 ms and
// gives up after 10 s, so a broken dialog fails the test instead of hanging.
// With a title, waits for the dialog of that title (so that two dialogs that
// follow each other can be answered in turn).
inline void WhenDialogOpens(std::function<void(QDialog&)> act, const QString& title = {}) {
  auto* timer = new QTimer(qApp);
  auto tries = std::make_shared<int>(0);
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act, tries, title] {
    auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (++*tries > 2000) {
      timer->deleteLater();
      return;
    }
    if (!d || !d->isVisible() || d->property("unrolling").toBool()) return;
    if (!title.isEmpty() && d->windowTitle() != title) return;
    timer->stop();
    timer->deleteLater();
    act(*d);
  });
  timer->start();
}

// Ends a dialog that a test left open, so that the test can go on.
inline void EndIfOpen(QDialog& d) {
  if (d.isVisible()) d.done(-1);
}

// A dialog's list box and buttons by their control ids.
inline QListWidget* List(QDialog& d, int id) { return DialogControlById<QListWidget>(d, id); }
inline void Press(QDialog& d, int id) { DialogControlById<QPushButton>(d, id)->click(); }

// The lines a list box shows, in order.
inline QStringList Entries(QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}
