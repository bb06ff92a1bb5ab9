#include "connection/join_dialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <cstdlib>

#include "connection/connection_templates.h"
#include "connection/find_games_dialog.h"
#include "connection/join_server.h"
#include "connection/recent_servers.h"
#include "game/game_state.h"
#include "platform/windows1252.h"
#include "shell/dialog_builder_qt.h"

namespace {

// A log line may carry a server's own text: single bytes, perhaps ending in
// CR LF, which a list line cannot show.
QString LogText(const std::string& line) {
  QString text = QString::fromStdString(Utf8FromCp1252(line));
  for (QChar& c : text)
    if (c.unicode() < 32) c = ' ';
  while (text.endsWith(' ')) text.chop(1);
  return text;
}

}  // namespace

int RunConnectionDialog(GameState& g, QWidget* owner) {
  // No close box: Cancel is the way out.
  ButtonOnlyDialog d(owner);
  BuildDialog(d, ConnectionTemplate());
  auto* list = DialogControlById<QListWidget>(d, IdConnectionLog);
  auto* attempt = DialogControlById<QPushButton>(d, IdAttemptConnection);
  int attemptCount = 0;

  // The newest line is selected and in view, and painted at once: an
  // attempt then holds the thread for a second, and its first lines should
  // be on screen meanwhile.
  const ConnectLog log = [list](const std::string& line) {
    list->addItem(LogText(line));
    list->setCurrentRow(list->count() - 1);
    list->scrollToBottom();
    list->repaint();
  };
  QObject::connect(attempt, &QPushButton::clicked, &d, [&] {
    switch (ConnectionAttempt(g, ++attemptCount, log)) {
      case AttemptResult::Accepted: d.done(1); break;
      case AttemptResult::Failed: d.done(0); break;  // the program is ending
      default: break;
    }
  });
  QObject::connect(DialogControlById<QPushButton>(d, IdConnectCancel), &QPushButton::clicked, &d,
                   [&] { d.done(0); });

  d.setWindowModality(Qt::ApplicationModal);
  d.show();
  attempt->setFocus();
  log(FirstLogLine(g));
  // The first attempt starts by itself once the dialog runs. The window
  // system shows a new window only after a round trip, and an attempt holds
  // the thread: so it starts once the dialog is on screen (or after half a
  // second at most), with the dialog and the main window painted first.
  QElapsedTimer shown;
  shown.start();
  QTimer starter;
  QObject::connect(&starter, &QTimer::timeout, &d, [&] {
    const bool onScreen = d.windowHandle() && d.windowHandle()->isExposed();
    if (!onScreen && shown.elapsed() < 500) return;
    starter.stop();
    if (!d.isVisible() || attemptCount > 0) return;  // closed, or the user was first
    d.repaint();
    if (owner) owner->repaint();
    attempt->click();
  });
  starter.start(10);
  return d.exec();
}

int ShowJoinDialog(GameState& g, QWidget* owner) {
  // No close box: GO and "Freak out" are the only ways out.
  ButtonOnlyDialog d(owner);
  BuildDialog(d, ServerAddressTemplate());
  const JoinForm defaults;  // offered every time
  auto* address = DialogControlById<QComboBox>(d, IdServerAddress);
  auto* port = DialogControlById<QLineEdit>(d, IdServerPort);

  // The drop-down offers the servers joined last; picking one fills both
  // fields. The typed default stays what the dialog opens with.
  const std::filesystem::path recentFile =
      RecentServersPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
  std::vector<RecentServer> recent = LoadRecentServers(recentFile);
  for (const RecentServer& r : recent)
    address->addItem(QString::fromStdString(Utf8FromCp1252(r.address + ":" + r.port)));
  address->setCurrentIndex(-1);
  address->setEditText(QString::fromStdString(defaults.address));
  port->setText(QString::fromStdString(defaults.port));
  QObject::connect(address, &QComboBox::currentIndexChanged, &d, [&](int index) {
    if (index < 0 || index >= static_cast<int>(recent.size())) return;
    address->setEditText(QString::fromStdString(Utf8FromCp1252(recent[index].address)));
    port->setText(QString::fromStdString(recent[index].port));
  });
  address->setFocus();

  std::string serverName;
  JoinForm form;
  auto* go = DialogControlById<QPushButton>(d, IdJoinGo);
  QObject::connect(go, &QPushButton::clicked, &d, [&] {
    // The server's name is game text like every other: it titles a box and
    // heads the connection log in Windows-1252.
    form = {Cp1252FromUtf8(address->currentText().toStdString()), port->text().toStdString()};
    if (JoinDialogGo(g, form, &serverName)) d.done(1);
  });
  QObject::connect(DialogControlById<QPushButton>(d, IdJoinFreakOut), &QPushButton::clicked, &d,
                   [&] { d.done(0); });
  // A server picked from the list is joined as if typed: its address and
  // port go into the fields and GO runs.
  QObject::connect(DialogControlById<QPushButton>(d, IdFindGames), &QPushButton::clicked, &d, [&] {
    bool typed = false;
    const int typedPort = port->text().toInt(&typed);
    const uint16_t searchPort = typed && typedPort > 0 && typedPort <= 65535 ? typedPort : 0;
    const std::optional<FoundServer> picked = RunFindGamesDialog(g, searchPort, &d);
    if (!picked) return;
    address->setEditText(QString::fromStdString(picked->address.DottedIp()));
    port->setText(QString::number(picked->address.port));
    go->click();
  });
  if (d.exec() != 1) return 0;
  const int joined = ConnectToServer(g, serverName, [&] { return RunConnectionDialog(g, owner); });
  if (joined == 1 && !recentFile.empty()) {
    // Only a join that worked is worth offering again; a list that cannot
    // be written costs the player nothing now.
    RememberServer(recent, {form.address, form.port});
    SaveRecentServers(recentFile, recent);
  }
  return joined;
}
