#include "shell/info_dialog.h"

#include "shell/dialog_builder_qt.h"
#include "shell/dialog_templates.h"

int ShowInfoDialog(int templateId, QWidget* owner) {
  const DialogTemplate* t = DialogTemplateById(templateId);
  if (!t) return 0;
  CloseBoxOnlyDialog d(owner);
  BuildDialog(d, *t);
  return d.exec();
}

int ShowAboutDialog(QWidget* owner) { return ShowInfoDialog(107, owner); }
int ShowGameplayHelp(QWidget* owner) { return ShowInfoDialog(109, owner); }
int ShowStatusBarHelp(QWidget* owner) { return ShowInfoDialog(110, owner); }
int ShowClientServerHelp(QWidget* owner) { return ShowInfoDialog(111, owner); }
