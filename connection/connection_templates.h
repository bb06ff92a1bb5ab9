// Dialog templates of hosting a server.
#pragma once

#include "shell/dialog_template.h"

const DialogTemplate& ServerSettingsTemplate();  // 104 "Choose New Server Settings..."

// Control ids of the server settings dialog.
enum ServerSettingsControl : int {
  IdGo = 1000,
  IdFreakOut = 1001,
  IdAllowInternet = 1002,
  IdComputerFill = 1007,
  IdFast = 1008,
  IdSlow = 1009,
  IdMaxPlayers = 1010,
  IdParticipates = 1011,
  IdPort = 1022,
};
