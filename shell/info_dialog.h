// The About dialog and the three help dialogs (templates 107, 109, 110,
// 111): text and pictures only, closed through the close box.
#pragma once

class QWidget;

// Each runs its template modally over `owner` and returns 0 when closed.
int ShowAboutDialog(QWidget* owner);
int ShowGameplayHelp(QWidget* owner);
int ShowStatusBarHelp(QWidget* owner);
int ShowClientServerHelp(QWidget* owner);

// Runs any of the four by template id.
int ShowInfoDialog(int templateId, QWidget* owner);
