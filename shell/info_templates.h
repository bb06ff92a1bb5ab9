// The About and help templates: static texts, frames and pictures only.
#pragma once

#include "platform/dialog_template.h"

const DialogTemplate& AboutTemplate();             // 107
const DialogTemplate& GameplayHelpTemplate();      // 109
const DialogTemplate& StatusBarHelpTemplate();     // 110
const DialogTemplate& ClientServerHelpTemplate();  // 111
