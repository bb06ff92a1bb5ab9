// Dialog templates of hosting a server.
#pragma once

#include "platform/dialog_template.h"

const DialogTemplate& ServerSettingsTemplate();  // 104 "Choose New Server Settings..."
const DialogTemplate& ServerAddressTemplate();   // 105 "Server address..."
const DialogTemplate& ConnectionTemplate();      // 112 "Establishing Connection To Server..."
const DialogTemplate& FindGamesTemplate();       // 120 "Find Games", from 105's "Find Games…"

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

// Control ids of the server address dialog (105).
enum ServerAddressControl : int {
  IdServerAddress = 1013,
  IdServerPort = 1014,
  IdJoinFreakOut = 1020,
  IdJoinGo = 1021,
  IdFindGames = 1023,
};

// Control ids of the find games dialog (120).
enum FindGamesControl : int {
  IdFoundServers = 1101,
  IdFindRefresh = 1102,
  IdFindJoin = 1103,
  IdFindCancel = 1104,
};

// Control ids of the connection dialog (112).
enum ConnectionControl : int {
  IdAttemptConnection = 1002,
  IdConnectCancel = 1020,
  IdConnectionLog = 1033,
};
