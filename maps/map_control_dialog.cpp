// "Vrask Map Control": save the current map under a number, load or delete
// a saved one. Open until Cancel.
#include <QLineEdit>
#include <QPushButton>

#include "game/game_state.h"
#include "maps/map_dialog_templates.h"
#include "maps/map_dialogs_qt.h"
#include "shell/dialog_builder_qt.h"

int RunMapControlDialog(GameState& g, QWidget* owner) {
  ButtonOnlyDialog d(owner);
  BuildDialog(d, MapControlTemplate());
  auto* list = DialogControlById<QListWidget>(d, kIdMapControlList);
  auto* number = DialogControlById<QLineEdit>(d, kIdFileNumber);
  auto* description = DialogControlById<QLineEdit>(d, kIdSaveDescription);
  auto* save = DialogControlById<QPushButton>(d, kIdSaveCurrent);

  // On opening, after every save attempt and after every delete.
  auto refresh = [&] {
    const MapListing listing = ScanSavedMaps(g);
    FillMapList(*list, listing.entries);
    number->setMaxLength(kFileNumberChars);
    number->setText(QString::number(listing.suggestion));
    description->setMaxLength(kSaveDescriptionChars);
    description->setText(FromMapText(SuggestedDescription(listing.suggestion)));
    save->setFocus();
    list->setFocus();
  };

  QObject::connect(save, &QPushButton::clicked, &d, [&] {
    if (MapControlSave(g, ToMapText(number->text()), ToMapText(description->text()))) refresh();
  });
  QObject::connect(DialogControlById<QPushButton>(d, kIdLoadSelected), &QPushButton::clicked, &d,
                   [&] { MapControlLoad(g, SelectedEntryOf(*list)); });
  QObject::connect(DialogControlById<QPushButton>(d, kIdDeleteSelected), &QPushButton::clicked,
                   &d, [&] {
                     if (MapControlDelete(g, SelectedEntryOf(*list))) refresh();
                   });
  QObject::connect(DialogControlById<QPushButton>(d, kIdMapCancel), &QPushButton::clicked, &d,
                   [&] { d.done(0); });

  refresh();
  return d.exec();
}
