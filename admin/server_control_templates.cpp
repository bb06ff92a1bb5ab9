// The two server control dialogs as tables: id, kind, text and rectangle in
// dialog units.
#include "admin/server_control_templates.h"

namespace {
constexpr unsigned kListFlags = kBorder | kHScroll | kNotify;
}  // namespace

const DialogTemplate& ServerControlTemplate() {
  static const DialogTemplate t{
      106, "Vrask - Advanced Server Control...", 221, 119, kCentred,
      {
          {kNoControlId, ControlKind::GroupBox, "", {4, 1, 212, 94}},
          {kNoControlId, ControlKind::Static, "List of Players", {21, 11, 78, 8}},
          {kIdPlayerList, ControlKind::ListBox, "", {10, 21, 130, 69}, kListFlags},
          {kIdKickPlayer, ControlKind::PushButton, "&Kick Player", {144, 22, 66, 16}},
          {kIdBanPlayer, ControlKind::PushButton, "&Ban Player Address", {144, 40, 66, 15}},
          {kIdZeroPlayerFrags, ControlKind::PushButton, "&Zero Player Frags", {144, 57, 66, 15}},
          {kIdZeroAllFrags, ControlKind::PushButton, "Zero &All Frags", {144, 75, 66, 15}},
          {kIdServerControlDone, ControlKind::DefaultPushButton, "&Done", {6, 100, 124, 15}},
          {kIdBanControl, ControlKind::PushButton, "Ban &Control", {135, 100, 80, 15}},
      }};
  return t;
}

const DialogTemplate& BanControlTemplate() {
  static const DialogTemplate t{
      114, "Vrask - Advanced Server Control [Ban Control]...", 197, 110, kCentred,
      {
          {kNoControlId, ControlKind::GroupBox, "", {4, 1, 188, 88}},
          {kNoControlId, ControlKind::Static, "Banned addresses", {21, 11, 78, 8}},
          {kIdBanList, ControlKind::ListBox, "", {10, 21, 104, 63}, kListFlags},
          {kIdRemoveBan, ControlKind::PushButton, "&Remove Selected Address Ban",
           {119, 26, 66, 22}, kMultiline},
          {kIdClearAllBans, ControlKind::PushButton, "Clear &All Bans", {119, 51, 66, 20}},
          {kIdBanControlDone, ControlKind::DefaultPushButton, "&Done", {24, 92, 149, 15}},
      }};
  return t;
}
