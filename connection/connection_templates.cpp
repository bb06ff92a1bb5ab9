#include "connection/connection_templates.h"

const DialogTemplate& ServerSettingsTemplate() {
  static const DialogTemplate t{
      104, "Choose New Server Settings...", 182, 135, kCentred,
      {
          {kNoControlId, ControlKind::Icon, "", {80, 4, 20, 20}, kFlagNone, 0, 102},
          {kNoControlId, ControlKind::GroupBox, "Internet Options", {4, 25, 174, 24}},
          {IdAllowInternet, ControlKind::CheckBox, "Allow players to join via the &Internet, port ",
           {9, 34, 139, 13}},
          {IdPort, ControlKind::Edit, "", {152, 33, 22, 12}, kBorder | kDigitsOnly | kAutoScroll},
          {kNoControlId, ControlKind::GroupBox, "Options", {4, 50, 174, 40}},
          {IdComputerFill, ControlKind::CheckBox, "Allow &computer to control spare players",
           {22, 60, 138, 13}},
          {IdParticipates, ControlKind::CheckBox, "Server &participates in game", {22, 73, 138, 13}},
          {kNoControlId, ControlKind::GroupBox, "Speed", {9, 90, 77, 25}},
          {IdFast, ControlKind::RadioButton, "&Fast", {16, 100, 26, 11}},
          {IdSlow, ControlKind::RadioButton, "&Slow", {48, 100, 28, 11}},
          {kNoControlId, ControlKind::GroupBox, "Maximum", {100, 90, 72, 25}},
          {IdMaxPlayers, ControlKind::Edit, "", {113, 100, 20, 12},
           kBorder | kDigitsOnly | kAutoScroll, 1},
          {kNoControlId, ControlKind::Static, "Players", {137, 101, 24, 8}},
          {IdGo, ControlKind::DefaultPushButton, "&GO", {11, 117, 95, 15}},
          {IdFreakOut, ControlKind::PushButton, "&Freak out", {115, 117, 49, 15}},
      }};
  return t;
}

const DialogTemplate& ServerAddressTemplate() {
  static const DialogTemplate t{
      105, "Server address...", 109, 142, kCentred,
      {
          {kNoControlId, ControlKind::Icon, "", {44, 3, 20, 20}, kFlagNone, 0, 102},
          {kNoControlId, ControlKind::GroupBox, "", {4, 22, 100, 66}},
          {kNoControlId, ControlKind::Static, "IP Address / Server address:", {9, 30, 92, 9}},
          {IdServerAddress, ControlKind::ComboBox, "", {11, 41, 87, 13}, kBorder | kAutoScroll},
          {kNoControlId, ControlKind::Static, "Server Port Number:", {20, 58, 68, 9}},
          {IdServerPort, ControlKind::Edit, "", {37, 69, 35, 13}, kBorder | kAutoScroll},
          {IdJoinGo, ControlKind::DefaultPushButton, "&GO", {7, 90, 95, 15}},
          {IdJoinFreakOut, ControlKind::PushButton, "&Freak out", {7, 106, 95, 15}},
          {IdFindGames, ControlKind::PushButton, "F&ind Games…", {7, 122, 95, 15}},
      }};
  return t;
}

const DialogTemplate& ConnectionTemplate() {
  static const DialogTemplate t{
      112, "Establishing Connection To Server...", 245, 130, kCentred,
      {
          {1049, ControlKind::Icon, "", {103, 5, 21, 20}, kFlagNone, 0, 102},
          {1039, ControlKind::GroupBox, "Connection Status", {8, 24, 229, 83}},
          {IdConnectionLog, ControlKind::ListBox, "", {13, 34, 218, 69}, kBorder | kVScroll | kNotify},
          {IdAttemptConnection, ControlKind::DefaultPushButton, "&Attempt Connection", {35, 110, 76, 15}},
          {IdConnectCancel, ControlKind::PushButton, "&Cancel", {115, 110, 76, 15}},
      }};
  return t;
}

const DialogTemplate& FindGamesTemplate() {
  static const DialogTemplate t{
      120, "Find Games", 270, 140, kCentred | kCloseBox,
      {
          {IdFoundServers, ControlKind::Table, "Server\tMap\tPlayers\tPing\tAddress",
           {6, 6, 258, 110}, kBorder},
          {IdFindRefresh, ControlKind::PushButton, "&Refresh", {6, 120, 60, 15}},
          {IdFindJoin, ControlKind::DefaultPushButton, "&Join", {138, 120, 60, 15}},
          {IdFindCancel, ControlKind::PushButton, "&Cancel", {204, 120, 60, 15}},
      }};
  return t;
}
