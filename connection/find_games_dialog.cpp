#include "connection/find_games_dialog.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <vector>

#include "connection/connection_templates.h"
#include "game/game_state.h"
#include "platform/windows1252.h"
#include "shell/dialog_builder_qt.h"

namespace {

// A server's name and map are game text in Windows-1252; control
// characters in them would break a row.
QString RowText(const std::string& text) {
  QString shown = QString::fromStdString(Utf8FromCp1252(text));
  for (QChar& c : shown)
    if (c.unicode() < 32 || c.unicode() == 127) c = ' ';
  return shown;
}

QTreeWidgetItem* Row(const FoundServer& s) {
  return new QTreeWidgetItem(QStringList{
      RowText(s.info.name), RowText(s.info.description),
      QString("%1/%2").arg(s.info.players).arg(s.info.places), QString("%1 ms").arg(s.pingMs),
      QString("%1:%2").arg(QString::fromStdString(s.address.DottedIp())).arg(s.address.port)});
}

}  // namespace

std::optional<FoundServer> RunFindGamesDialog(GameState& g, uint16_t typedPort, QWidget* owner) {
  QDialog d(owner);
  BuildDialog(d, FindGamesTemplate());
  auto* table = DialogControlById<QTreeWidget>(d, IdFoundServers);
  auto* refresh = DialogControlById<QPushButton>(d, IdFindRefresh);
  auto* join = DialogControlById<QPushButton>(d, IdFindJoin);
  std::vector<FoundServer> found;
  std::optional<FoundServer> chosen;

  // A search holds the thread for its whole window; the buttons are off
  // meanwhile.
  const auto search = [&] {
    if (!g.platform.net || !g.platform.clock) return;
    table->clear();
    refresh->setEnabled(false);
    join->setEnabled(false);
    table->repaint();
    found = FindServers(*g.platform.net, *g.platform.clock, typedPort);
    for (const FoundServer& s : found) table->addTopLevelItem(Row(s));
    for (int col = 0; col < table->columnCount(); ++col) table->resizeColumnToContents(col);
    if (!found.empty()) table->setCurrentItem(table->topLevelItem(0));
    refresh->setEnabled(true);
    join->setEnabled(!found.empty());
  };
  const auto choose = [&] {
    const int row = table->indexOfTopLevelItem(table->currentItem());
    if (row < 0 || row >= static_cast<int>(found.size())) return;
    chosen = found[row];
    d.accept();
  };
  QObject::connect(refresh, &QPushButton::clicked, &d, search);
  QObject::connect(join, &QPushButton::clicked, &d, choose);
  QObject::connect(table, &QTreeWidget::itemDoubleClicked, &d, choose);
  QObject::connect(DialogControlById<QPushButton>(d, IdFindCancel), &QPushButton::clicked, &d,
                   [&] { d.reject(); });

  join->setEnabled(false);
  d.setWindowModality(Qt::ApplicationModal);
  // The first search starts once the dialog is up, so it is seen waiting.
  QTimer::singleShot(0, &d, search);
  d.exec();
  return chosen;
}
