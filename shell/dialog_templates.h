// The templates of the shell's own dialogs: welcome and nickname, and any
// of the shell's templates (these and the info ones) by id.
#pragma once

#include "platform/dialog_template.h"

const DialogTemplate& WelcomeTemplate();   // 108
const DialogTemplate& NicknameTemplate();  // 115

// Any of the shell's templates (these and info_templates.h) by template
// id, or null.
const DialogTemplate* DialogTemplateById(int id);
