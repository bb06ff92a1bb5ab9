// The two map dialogs as tables: id, kind, text and rectangle in dialog units.
#include "maps/map_dialog_templates.h"

namespace {
constexpr unsigned kListFlags = kNotify | kVScroll | kBorder;
constexpr unsigned kEditFlags = kBorder | kAutoScroll;
}  // namespace

const DialogTemplate& ChooseMapTemplate() {
  static const DialogTemplate t{
      113, "Choose a map...", 238, 118, kStyleNone,
      {
          {kIdLoadSelected, ControlKind::DefaultPushButton, "&Load selected map", {9, 99, 75, 15}},
          {kIdMapCancel, ControlKind::PushButton, "&Cancel", {178, 99, 49, 15}},
          {kNoControlId, ControlKind::GroupBox, "Available maps", {4, 1, 229, 94}},
          {kIdChooseMapList, ControlKind::ListBox, "", {11, 14, 215, 75}, kListFlags},
          {kIdGenerateRandom, ControlKind::PushButton, "&Generate Random Map", {88, 99, 85, 15}},
      }};
  return t;
}

const DialogTemplate& MapControlTemplate() {
  static const DialogTemplate t{
      116, "Vrask Map Control", 312, 162, kStyleNone,
      {
          {kIdSaveCurrent, ControlKind::DefaultPushButton, "&Save Current Map", {10, 136, 163, 15}},
          {kIdMapCancel, ControlKind::PushButton, "&Cancel", {179, 136, 108, 15}},
          {kNoControlId, ControlKind::GroupBox, "Save Current Map As", {4, 104, 305, 53}},
          {kIdMapControlList, ControlKind::ListBox, "", {11, 38, 215, 59}, kListFlags},
          {kIdFileNumber, ControlKind::Edit, "", {55, 115, 17, 12}, kEditFlags | kDigitsOnly,
           kFileNumberChars},
          {kIdDeleteSelected, ControlKind::PushButton, "&Delete Selected", {231, 46, 72, 20}},
          {kIdLoadSelected, ControlKind::PushButton, "&Load Selected", {231, 71, 72, 20}},
          {kIdSaveDescription, ControlKind::Edit, "", {149, 115, 152, 13}, kEditFlags,
           kSaveDescriptionChars},
          {1048, ControlKind::Static, "File: PAKMAP", {10, 117, 44, 10}},
          {1050, ControlKind::Static, ".MAP", {74, 117, 19, 10}},
          {1051, ControlKind::Static, "Description:", {109, 117, 38, 10}},
          {1052, ControlKind::GroupBox, "Map File Control", {4, 27, 305, 75}},
          {1053, ControlKind::Icon, "", {145, 4, 20, 20}, kFlagNone, 0, 102},
      }};
  return t;
}
