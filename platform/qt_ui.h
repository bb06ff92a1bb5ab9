// The Ui seam over Qt: message boxes, the menu's actions, the title.
#pragma once

#include <QMap>
#include <QPointer>
#include <functional>

#include "platform/platform.h"

class QAction;
class QWidget;

class QtUi : public Ui {
 public:
  void SetMainWindow(QWidget* w) { window_ = w; }
  // What asks the playfield for a repaint.
  void SetRepaint(std::function<void()> repaint) { repaint_ = std::move(repaint); }
  void RegisterAction(int id, QAction* a) { actions_[id] = a; }
  QAction* Action(int id) const { return actions_.value(id); }

  MsgAnswer MessageBox(const std::string& text, const std::string& title, MsgButtons buttons,
                       MsgIcon icon, bool ownedByMainWindow) override;
  void EnableMenuItem(int id, bool enabled) override;
  void CheckMenuItem(int id, bool checked) override;
  void SetWindowTitle(const std::string& title) override;
  void InvalidateWindow() override;
  void PostQuit() override;

  bool QuitPosted() const { return quitPosted_; }

 private:
  QPointer<QWidget> window_;
  std::function<void()> repaint_;
  QMap<int, QAction*> actions_;
  bool quitPosted_ = false;
};
