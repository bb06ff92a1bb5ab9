// Templates 106 (server control) and 114 (ban control) and the ids of their
// controls.
#pragma once

#include "platform/dialog_template.h"

enum ServerControlId : int {
  kIdKickPlayer = 1030,
  kIdZeroPlayerFrags = 1031,
  kIdBanPlayer = 1032,
  kIdZeroAllFrags = 1033,       // 106; "Clear &All Bans" has the same id in 114
  kIdServerControlDone = 1034,
  kIdPlayerList = 1035,
  kIdBanControl = 1036,
  kIdBanList = 1037,
  kIdBanControlDone = 1038,
  kIdRemoveBan = 1041,
  kIdClearAllBans = 1033,
};

// Neither template has a close box: only their buttons end them.
const DialogTemplate& ServerControlTemplate();  // 106
const DialogTemplate& BanControlTemplate();     // 114
