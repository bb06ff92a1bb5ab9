// The two map dialogs over Qt, both modal and owned by the main window.
// The game keeps stepping behind them: Qt's modal loops deliver the main
// window's timer and paint events.
#pragma once

#include <QListWidget>
#include <QString>
#include <string>
#include <vector>

#include "maps/map_dialogs.h"
#include "platform/windows1252.h"

class QWidget;
struct GameState;

// "Choose a map..." (template 113): 1 when a map was loaded or generated,
// 0 on Cancel.
int RunChooseMapDialog(GameState& g, QWidget* owner);

// "Vrask Map Control" (template 116): stays open until Cancel; returns 0.
int RunMapControlDialog(GameState& g, QWidget* owner);

// Map files are 8-bit text: descriptions travel in Windows-1252, one byte
// per character, so the fields' character limits are byte limits too.
inline QString FromMapText(const std::string& s) {
  return QString::fromStdString(Utf8FromCp1252(s));
}
inline std::string ToMapText(const QString& s) { return Cp1252FromUtf8(s.toStdString()); }

// Fills a list box with entries in the given (ascending) order and selects
// the last one, as each entry is selected when it is added.
inline void FillMapList(QListWidget& list, const std::vector<std::string>& entries) {
  list.clear();
  for (const std::string& e : entries) list.addItem(FromMapText(e));
  if (list.count() > 0) list.setCurrentRow(list.count() - 1);
}

// The selected entry's text, or nothing when no entry is selected.
inline SelectedEntry SelectedEntryOf(const QListWidget& list) {
  const QList<QListWidgetItem*> items = list.selectedItems();
  if (items.isEmpty()) return std::nullopt;
  return ToMapText(items.front()->text());
}
