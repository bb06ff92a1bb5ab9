// Templates 113 ("Choose a map...") and 116 ("Vrask Map Control") and the
// ids of their controls.
#pragma once

#include "platform/dialog_template.h"

enum MapDialogId : int {
  kIdMapCancel = 1001,        // "&Cancel" in both dialogs
  kIdDeleteSelected = 1002,   // 116
  kIdChooseMapList = 1029,    // 113's list of saved maps
  kIdLoadSelected = 1036,     // "&Load selected map" (113), "&Load Selected" (116)
  kIdGenerateRandom = 1037,   // 113
  kIdSaveCurrent = 1043,      // 116
  kIdMapControlList = 1044,   // 116's list of saved maps
  kIdFileNumber = 1045,       // 116: two digits
  kIdSaveDescription = 1046,  // 116: the description to save
};

// Longest texts the two edit fields of 116 accept.
constexpr int kFileNumberChars = 2;
constexpr int kSaveDescriptionChars = 63;

// Neither template has a close box: only their buttons end them.
const DialogTemplate& ChooseMapTemplate();   // 113
const DialogTemplate& MapControlTemplate();  // 116
