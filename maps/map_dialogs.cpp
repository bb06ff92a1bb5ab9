#include "maps/map_dialogs.h"

#include "game/game_state.h"
#include "maps/generate_map.h"
#include "maps/map_dialog_templates.h"
#include "maps/map_file.h"

namespace {

constexpr const char* kLoadFailed = "Could not load selected map file.";
constexpr const char* kDeleteFailed = "Could not delete selected map file.";

// Message boxes of the map dialogs. Those the map control dialog owns
// itself are not owned by the main window.
MsgAnswer Box(GameState& g, const std::string& text, const char* title, MsgButtons buttons,
              MsgIcon icon, bool ownedByMainWindow) {
  if (!g.platform.ui) return MsgAnswer::No;
  return g.platform.ui->MessageBox(text, title, buttons, icon, ownedByMainWindow);
}

void ShowError(GameState& g, const char* text) {
  Box(g, text, "Error!", MsgButtons::Ok, MsgIcon::Exclamation, true);
}

bool AskSure(GameState& g, const char* question, bool ownedByMainWindow) {
  return Box(g, question, "Are you sure?", MsgButtons::YesNo, MsgIcon::Question,
             ownedByMainWindow) == MsgAnswer::Yes;
}

// The name of the selected entry, kept in MapFileName. The name passes
// through MapDescription as scratch on its way there, so a failed read
// leaves the name in MapDescription; kept as the dialogs always did.
std::string TakeSelectedName(GameState& g, const std::string& entry) {
  std::string name = FileNameFromEntry(entry);
  g.MapDescription = name;
  g.MapFileName = name;
  return name;
}

}  // namespace

std::string SavedMapName(int number) { return "pakmap" + std::to_string(number) + ".map"; }

std::string SuggestedDescription(int number) {
  return "My Saved Map Number " + std::to_string(number);
}

MapListing ScanSavedMaps(GameState& g) {
  MapListing listing;
  int suggestion = 0;
  for (int n = 0; n < kMapScanCount; ++n) {
    if (ReadMapDescription(g, SavedMapName(n))) {
      listing.entries.push_back("[" + SavedMapName(n) + "] " + g.MapDescription);
    } else if (suggestion == 0) {
      // The suggestion is the count of maps listed so far, and 0 means "none
      // yet": intended as the first free number, it is that only when the
      // maps run from 0 without gaps. Without a map 0 a later gap sets it
      // (possibly to a listed number; saving then asks first), or it is 99.
      suggestion = static_cast<int>(listing.entries.size());
    }
  }
  listing.suggestion = suggestion != 0 ? suggestion : kNoSuggestion;
  return listing;
}

std::string FileNameFromEntry(const std::string& entry) {
  if (entry.size() < 2) return {};
  std::string name = entry.substr(1, entry.find(']', 1) - 1);
  if (name.size() > kEntryNameMax) name.resize(kEntryNameMax);
  return name;
}

bool ChooseMapLoad(GameState& g, const SelectedEntry& selected) {
  if (selected) {
    const std::string name = TakeSelectedName(g, *selected);
    if (ReadMapDescription(g, name) && LoadMapFile(g, name)) return true;
  }
  ShowError(g, kLoadFailed);
  return false;
}

int ChooseMapGenerate(GameState& g) {
  GenerateMap(g);
  // Closes with 1 whether or not every player could be sent the map.
  return kChooseMapDone;
}

bool MapControlSave(GameState& g, const std::string& numberText,
                    const std::string& descriptionText) {
  const std::string digits = numberText.substr(0, kFileNumberChars);
  if (digits.empty() || digits[0] < '0' || digits[0] > '9') {
    Box(g, "Please choose a valid filenumber.", "Error.", MsgButtons::Ok, MsgIcon::Exclamation,
        false);
    return false;
  }
  // Converted like atoi: the digits up to the first other character.
  int number = digits[0] - '0';
  if (digits.size() > 1 && digits[1] >= '0' && digits[1] <= '9')
    number = number * 10 + (digits[1] - '0');

  const std::string description = descriptionText.substr(0, kSaveDescriptionChars);
  const std::string name = SavedMapName(number);
  // Reading the old description overwrites MapDescription, not the text
  // to be saved, which is set only afterwards.
  if (ReadMapDescription(g, name) &&
      !AskSure(g, "Do you want to overwrite the selected map file with the current map?", false))
    return false;

  g.MapDescription = description;
  // SaveMapFile fails when no game is running; the box then says so.
  const bool saved = SaveMapFile(g, name) != 0;
  Box(g, (saved ? "Current map was saved as " : "Failed to save map as ") + name,
      "Saving Map...", MsgButtons::Ok, MsgIcon::Information, false);
  return true;
}

bool MapControlLoad(GameState& g, const SelectedEntry& selected) {
  // The same steps and message as in "Choose a map...".
  return ChooseMapLoad(g, selected);
}

bool MapControlDelete(GameState& g, const SelectedEntry& selected) {
  if (selected) {
    const std::string name = TakeSelectedName(g, *selected);
    if (ReadMapDescription(g, name) &&
        !AskSure(g, "Do you want to delete the selected map file?", true))
      return false;
    // Checked again: the file may have changed while the question was open.
    if (ReadMapDescription(g, name) && ClearMapFile(g, name)) return true;
  }
  ShowError(g, kDeleteFailed);
  return false;
}
