// What the two map dialogs decide, apart from their widgets: the scan of the
// saved maps "pakmap%d.map", the suggested number of the map control
// dialog, the file name behind a list entry and the buttons' actions with
// their messages. The Qt files (choose_map_dialog.cpp,
// map_control_dialog.cpp) only bind these to the templates' controls.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct GameState;

// Both dialogs look at the numbers 0 to 98; a map saved as 99 is never listed.
constexpr int kMapScanCount = 99;
// The suggestion when no other applies.
constexpr int kNoSuggestion = 99;
// Longest file name taken from a list entry.
constexpr int kEntryNameMax = 63;

// "pakmap%d.map".
std::string SavedMapName(int number);

// The saved maps in ascending number, as list entries "[pakmap%d.map] %s".
// A number is listed when ReadMapDescription accepts its file, which leaves
// the last listed description in MapDescription.
struct MapListing {
  std::vector<std::string> entries;
  int suggestion = kNoSuggestion;  // the number the map control dialog offers
};
MapListing ScanSavedMaps(GameState& g);

// The description field's first text: "My Saved Map Number %d".
std::string SuggestedDescription(int number);

// The file name in a list entry: from its second character up to the first
// ']', at most 63 characters. "[pakmap12.map] Cellar" gives "pakmap12.map".
std::string FileNameFromEntry(const std::string& entry);

// The selected list entry, if any.
using SelectedEntry = std::optional<std::string>;

// --- "Choose a map..." ---
// Result with which the dialog closes.
constexpr int kChooseMapCancelled = 0;
constexpr int kChooseMapDone = 1;
// Load selected map: true when the map was loaded and the dialog closes with
// 1; otherwise the error box was shown and the dialog stays open.
bool ChooseMapLoad(GameState& g, const SelectedEntry& selected);
// Generate Random Map: a new maze, then the dialog closes with 1.
int ChooseMapGenerate(GameState& g);

// --- "Vrask Map Control" ---
// Save Current Map with the texts of the number and description fields.
// True when the dialog is to be refreshed (after every save attempt);
// false when it stopped at an invalid number or a "No" to overwriting.
bool MapControlSave(GameState& g, const std::string& numberText,
                    const std::string& descriptionText);
// Load Selected; the dialog stays open either way. True when loaded.
bool MapControlLoad(GameState& g, const SelectedEntry& selected);
// Delete Selected: empties the file after a confirmation. True when it was
// emptied and the dialog is to be refreshed.
bool MapControlDelete(GameState& g, const SelectedEntry& selected);
