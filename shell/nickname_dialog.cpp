#include "shell/nickname_dialog.h"

#include <QLineEdit>
#include <QPushButton>

#include "game/game_state.h"
#include "platform/windows1252.h"
#include "shell/dialog_builder_qt.h"
#include "shell/dialog_templates.h"
#include "shell/nickname_entry.h"

int RunNicknameDialog(GameState& g) {
  // No owner, so it is centred on the screen; while it runs the main
  // window takes no input, and a game cannot be started behind it.
  ButtonOnlyDialog d;
  BuildDialog(d, NicknameTemplate());
  auto* edit = DialogControlById<QLineEdit>(d, kIdNicknameEdit);
  edit->setMaxLength(kNicknameBoxLimit);
  edit->setText(QString::fromStdString(Utf8FromCp1252(g.Nickname)));
  edit->setFocus();

  QObject::connect(DialogControlById<QPushButton>(d, kIdBeginOrChange), &QPushButton::clicked,
                   &d, [&] {
                     ApplyNicknameChange(g, edit->text().toStdString());
                     d.done(1);
                   });
  QObject::connect(DialogControlById<QPushButton>(d, kIdCancel), &QPushButton::clicked, &d,
                   [&] { d.done(0); });
  return d.exec();
}
