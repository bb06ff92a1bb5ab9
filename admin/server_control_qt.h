// The two server control dialogs over Qt, both modal. The game keeps
// stepping behind them: Qt's modal loops deliver the main window's timer
// and paint events.
#pragma once

#include <QListWidget>

#include "admin/server_control.h"

class QWidget;
struct GameState;

// "Vrask - Advanced Server Control..." (template 106): open until Done;
// returns 1.
int RunServerControlDialog(GameState& g, QWidget* owner);

// "Vrask - Advanced Server Control [Ban Control]..." (template 114): open
// until Done; returns 1.
int RunBanControlDialog(GameState& g, QWidget* owner);

// A QListWidget as the actions' ListBox. Lines are replaced in place, so
// that the refresh ten times a second neither flickers nor scrolls the list
// back.
class QtListBox : public ListBox {
 public:
  explicit QtListBox(QListWidget& list) : list_(list) {}
  void SetLines(const std::vector<std::string>& lines) override;
  int LineCount() const override { return list_.count(); }
  int Selected() const override;
  void Select(int line) override;

 private:
  QListWidget& list_;
};
