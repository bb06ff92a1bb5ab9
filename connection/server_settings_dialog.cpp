#include "connection/server_settings_dialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "connection/connection_templates.h"
#include "connection/host_server.h"
#include "game/game_state.h"
#include "shell/dialog_builder_qt.h"

namespace {

void Show(QDialog& d, const ServerSettingsForm& f) {
  DialogControlById<QCheckBox>(d, IdAllowInternet)->setChecked(f.internet);
  DialogControlById<QLineEdit>(d, IdPort)->setText(QString::fromStdString(f.port));
  DialogControlById<QCheckBox>(d, IdComputerFill)->setChecked(f.computer);
  DialogControlById<QCheckBox>(d, IdParticipates)->setChecked(f.participates);
  DialogControlById<QRadioButton>(d, IdFast)->setChecked(f.fast);
  DialogControlById<QRadioButton>(d, IdSlow)->setChecked(f.slow);
  DialogControlById<QLineEdit>(d, IdMaxPlayers)->setText(QString::fromStdString(f.players));
}

ServerSettingsForm Read(QDialog& d) {
  ServerSettingsForm f;
  f.internet = DialogControlById<QCheckBox>(d, IdAllowInternet)->isChecked();
  f.port = DialogControlById<QLineEdit>(d, IdPort)->text().toStdString();
  f.computer = DialogControlById<QCheckBox>(d, IdComputerFill)->isChecked();
  f.participates = DialogControlById<QCheckBox>(d, IdParticipates)->isChecked();
  f.fast = DialogControlById<QRadioButton>(d, IdFast)->isChecked();
  f.slow = DialogControlById<QRadioButton>(d, IdSlow)->isChecked();
  f.players = DialogControlById<QLineEdit>(d, IdMaxPlayers)->text().toStdString();
  return f;
}

}  // namespace

int ShowServerSettings(GameState& g, QWidget* owner, const std::function<int()>& chooseMap) {
  // No close box: GO and "Freak out" are the only ways out.
  ButtonOnlyDialog d(owner);
  BuildDialog(d, ServerSettingsTemplate());
  Show(d, ServerSettingsForm{});  // always the defaults, never the last values
  DialogControlById<QPushButton>(d, IdGo)->setFocus();

  QObject::connect(DialogControlById<QPushButton>(d, IdGo), &QPushButton::clicked, &d, [&] {
    if (ServerSettingsGo(g, Read(d))) d.done(1);
  });
  QObject::connect(DialogControlById<QPushButton>(d, IdFreakOut), &QPushButton::clicked, &d,
                   [&] { d.done(0); });
  if (d.exec() != 1) return 0;
  return StartServer(g, chooseMap);
}
