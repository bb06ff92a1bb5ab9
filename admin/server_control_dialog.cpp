// "Vrask - Advanced Server Control...": the player list, refreshed ten
// times a second, and the buttons to kick, ban and reset frags.
#include <QPushButton>
#include <QTimer>

#include "admin/server_control_qt.h"
#include "admin/server_control_templates.h"
#include "game/game_state.h"
#include "platform/windows1252.h"
#include "shell/dialog_builder_qt.h"

void QtListBox::SetLines(const std::vector<std::string>& lines) {
  list_.setCurrentItem(nullptr);
  list_.clearSelection();
  const int n = static_cast<int>(lines.size());
  while (list_.count() > n) delete list_.takeItem(list_.count() - 1);
  for (int i = 0; i < n; ++i) {
    const QString text = QString::fromStdString(Utf8FromCp1252(lines[i]));
    if (i < list_.count()) {
      if (list_.item(i)->text() != text) list_.item(i)->setText(text);
    } else {
      list_.addItem(text);
    }
  }
}

int QtListBox::Selected() const {
  const QList<QListWidgetItem*> items = list_.selectedItems();
  return items.isEmpty() ? kNone : list_.row(items.front());
}

void QtListBox::Select(int line) {
  if (line >= 0 && line < list_.count()) {
    list_.setCurrentRow(line);
  } else {
    list_.setCurrentItem(nullptr);
    list_.clearSelection();
  }
}

int RunServerControlDialog(GameState& g, QWidget* owner) {
  ButtonOnlyDialog d(owner);
  BuildDialog(d, ServerControlTemplate());
  auto* widget = DialogControlById<QListWidget>(d, kIdPlayerList);
  QtListBox list(*widget);
  auto button = [&](int id) { return DialogControlById<QPushButton>(d, id); };

  QTimer refresh;
  refresh.setInterval(100);
  QObject::connect(&refresh, &QTimer::timeout, &d, [&] { RefreshPlayerList(g, list); });

  QObject::connect(button(kIdKickPlayer), &QPushButton::clicked, &d,
                   [&] { ServerControlKick(g, list); });
  QObject::connect(button(kIdBanPlayer), &QPushButton::clicked, &d, [&] {
    // The kick is posted, not run: it comes when the dialog's loop reaches
    // it, and asks its own question for the line selected then.
    if (ServerControlBan(g, list))
      QMetaObject::invokeMethod(button(kIdKickPlayer), &QPushButton::click, Qt::QueuedConnection);
  });
  QObject::connect(button(kIdZeroPlayerFrags), &QPushButton::clicked, &d,
                   [&] { ServerControlZeroPlayerFrags(g, list); });
  QObject::connect(button(kIdZeroAllFrags), &QPushButton::clicked, &d,
                   [&] { ServerControlZeroAllFrags(g, list); });
  QObject::connect(button(kIdBanControl), &QPushButton::clicked, &d,
                   [&] { RunBanControlDialog(g, owner); });
  QObject::connect(button(kIdServerControlDone), &QPushButton::clicked, &d, [&] {
    refresh.stop();
    d.done(1);
  });

  RefreshPlayerList(g, list);
  refresh.start();
  widget->setFocus();
  return d.exec();
}
