#include "shell/welcome_dialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "game/game_state.h"
#include "shell/dialog_builder_qt.h"
#include "shell/dialog_templates.h"
#include "shell/nickname_entry.h"

namespace {

// Grows the dialog downwards from its top edge, one height per tick of the
// millisecond count. The thread is held meanwhile, as intended: nothing
// else runs yet (the window and its timer do not exist).
void Unroll(QDialog& d, Clock* clock) {
  const QSize full = d.size();
  CentreOnScreen(d, full);
  // Modal from its first appearance, since it is shown before exec() runs.
  d.setWindowModality(Qt::ApplicationModal);
  // Set while the animation runs; input waits in the queue until it ends.
  d.setProperty("unrolling", true);
  d.setMinimumSize(0, 0);
  for (int h : UnrollHeights()) {
    if (clock) {
      const uint32_t start = clock->TickCount();
      while (clock->TickCount() == start) {
      }
    }
    // The heights count a caption too, so the client area is complete
    // before the last steps, which then only wait.
    d.resize(full.width(), std::min(h, full.height()));
    d.show();
    d.repaint();
    for (QWidget* w : d.findChildren<QWidget*>()) w->repaint();
    // Lets the window system apply the new size; input stays queued.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
  d.setFixedSize(full);
  d.setProperty("unrolling", false);
}

}  // namespace

int RunWelcomeDialog(GameState& g) {
  ButtonOnlyDialog d;
  BuildDialog(d, WelcomeTemplate());
  auto* edit = DialogControlById<QLineEdit>(d, kIdNicknameEdit);
  auto* sounds = DialogControlById<QCheckBox>(d, kIdPlaySounds);
  auto* music = DialogControlById<QCheckBox>(d, kIdPlayMusic);
  sounds->setChecked(true);
  music->setChecked(true);
  edit->setMaxLength(kNicknameBoxLimit);
  edit->setText(kWelcomeNickname);
  edit->setFocus();

  QObject::connect(DialogControlById<QPushButton>(d, kIdBeginOrChange), &QPushButton::clicked,
                   &d, [&] {
                     ApplyWelcomeChoice(g, edit->text().toStdString(), sounds->isChecked(),
                                        music->isChecked());
                     d.done(1);
                   });
  QObject::connect(DialogControlById<QPushButton>(d, kIdCancel), &QPushButton::clicked, &d,
                   [&] { d.done(0); });

  Unroll(d, g.platform.clock);
  return d.exec();
}
