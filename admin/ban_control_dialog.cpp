// "Vrask - Advanced Server Control [Ban Control]...": the ban list, one
// line per banned address, with the buttons to remove one ban or all.
#include <QPushButton>

#include "admin/server_control_qt.h"
#include "admin/server_control_templates.h"
#include "game/game_state.h"
#include "shell/dialog_builder_qt.h"

int RunBanControlDialog(GameState& g, QWidget* owner) {
  ButtonOnlyDialog d(owner);
  BuildDialog(d, BanControlTemplate());
  auto* widget = DialogControlById<QListWidget>(d, kIdBanList);
  QtListBox list(*widget);
  auto button = [&](int id) { return DialogControlById<QPushButton>(d, id); };

  QObject::connect(button(kIdRemoveBan), &QPushButton::clicked, &d,
                   [&] { BanControlRemove(g, list); });
  QObject::connect(button(kIdClearAllBans), &QPushButton::clicked, &d,
                   [&] { BanControlClearAll(g, list); });
  QObject::connect(button(kIdBanControlDone), &QPushButton::clicked, &d, [&] { d.done(1); });

  // Filled before the dialog shows: "Could not open Ban List file!" comes
  // first, then the dialog with its empty list.
  FillBanList(g, list);
  widget->setFocus();
  return d.exec();
}
