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
