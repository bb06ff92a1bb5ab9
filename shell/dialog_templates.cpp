// The welcome and nickname templates, and any shell template by id.
#include "shell/dialog_templates.h"

#include "shell/info_templates.h"

const DialogTemplate& WelcomeTemplate() {
  static const DialogTemplate t{
      108, "Welcome to Vrask...", 98, 151, kCentred,
      {
          {1042, ControlKind::GroupBox, "Your NickName", {7, 1, 82, 30}},
          {1027, ControlKind::Edit, "", {18, 14, 61, 12}, kBorder | kAutoScroll, 8},
          {1031, ControlKind::CheckBox, "Play &Sounds", {36, 38, 56, 13}},
          {1032, ControlKind::CheckBox, "Play &Music", {36, 51, 56, 13}},
          {1039, ControlKind::Icon, "", {7, 41, 20, 20}, kFlagNone, 0, 102},
          {1028, ControlKind::DefaultPushButton, "&Begin!", {11, 68, 75, 19}},
          {1029, ControlKind::PushButton, "&Cancel", {11, 88, 75, 13}},
          {1049, ControlKind::Picture, "", {8, 104, 85, 46}, kFlagNone, 0, 130},
      }};
  return t;
}

const DialogTemplate& NicknameTemplate() {
  static const DialogTemplate t{
      115, "Change Nick Name...", 97, 103, kCentred,
      {
          {kNoControlId, ControlKind::Icon, "", {38, 4, 21, 20}, kFlagNone, 0, 102},
          {kNoControlId, ControlKind::GroupBox, "Your New NickName", {7, 28, 82, 30}},
          {1027, ControlKind::Edit, "", {18, 40, 61, 12}, kBorder | kAutoScroll, 8},
          {1028, ControlKind::DefaultPushButton, "&Change", {5, 65, 88, 16}},
          {1029, ControlKind::PushButton, "Ca&ncel", {5, 83, 88, 16}},
      }};
  return t;
}

const DialogTemplate* DialogTemplateById(int id) {
  for (const DialogTemplate* t :
       {&WelcomeTemplate(), &NicknameTemplate(), &AboutTemplate(), &GameplayHelpTemplate(),
        &StatusBarHelpTemplate(), &ClientServerHelpTemplate()})
    if (t->id == id) return t;
  return nullptr;
}
