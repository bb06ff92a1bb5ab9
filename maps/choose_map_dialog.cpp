// "Choose a map...": load a saved map or generate one, then close.
#include <QCoreApplication>
#include <QPushButton>

#include "game/game_state.h"
#include "maps/map_dialog_templates.h"
#include "maps/map_dialogs_qt.h"
#include "shell/dialog_builder_qt.h"

int RunChooseMapDialog(GameState& g, QWidget* owner) {
  // The playfield is painted before the dialog appears over it.
  if (g.platform.ui) g.platform.ui->InvalidateWindow();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

  ButtonOnlyDialog d(owner);
  BuildDialog(d, ChooseMapTemplate());
  auto* list = DialogControlById<QListWidget>(d, kIdChooseMapList);
  FillMapList(*list, ScanSavedMaps(g).entries);

  QObject::connect(DialogControlById<QPushButton>(d, kIdLoadSelected), &QPushButton::clicked, &d,
                   [&] {
                     if (ChooseMapLoad(g, SelectedEntryOf(*list))) d.done(kChooseMapDone);
                   });
  QObject::connect(DialogControlById<QPushButton>(d, kIdGenerateRandom), &QPushButton::clicked,
                   &d, [&] { d.done(ChooseMapGenerate(g)); });
  QObject::connect(DialogControlById<QPushButton>(d, kIdMapCancel), &QPushButton::clicked, &d,
                   [&] { d.done(kChooseMapCancelled); });

  DialogControlById<QPushButton>(d, kIdLoadSelected)->setFocus();
  list->setFocus();
  return d.exec();
}
