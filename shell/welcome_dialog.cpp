#include "shell/welcome_dialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "game/game_state.h"
#include "shell/dialog_builder_qt.h"
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
  // Not answering yet: the buttons work once the dialog has unrolled.
  d.setProperty("unrolling", true);
  d.setMinimumSize(0, 0);
  for (int h : UnrollHeights()) {
    if (clock) {
      const uint32_t start = clock->TickCount();
      while (clock->TickCount() == start) {
      }
    }
    // The last steps only wait: the old frame's caption made the final
    // outer height larger than the template's client area.
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
