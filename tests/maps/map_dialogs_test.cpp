// The map dialogs' model: listing, suggestion, names and the buttons.
#include "maps/map_dialogs.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "maps/generate_map.h"
#include "maps/map_file.h"
#include "protocol/datagrams.h"
#include "support/test_game.h"

namespace {

void WriteMap(int number, const std::string& description) {
  WriteFile(SavedMapName(number), BorderMapText() + "\r\n" + description);
}

void WriteMaps(std::initializer_list<int> numbers) {
  for (int n : numbers) WriteMap(n, "Map " + std::to_string(n));
}

class MapDialogsTest : public ::testing::Test {
 protected:
  ScopedTempDir dir;
  TestGame t;
  RecordingUi& ui() { return t.rec.ui; }

  void SetUp() override { t.g.IsServer = 1; }

  void ExpectOnlyBox(const std::string& text, const std::string& title, MsgIcon icon,
                     bool ownedByMainWindow) {
    ASSERT_EQ(ui().boxes.size(), 1u);
    EXPECT_EQ(ui().boxes[0].text, text);
    EXPECT_EQ(ui().boxes[0].title, title);
    EXPECT_EQ(ui().boxes[0].icon, icon);
    EXPECT_EQ(ui().boxes[0].owned, ownedByMainWindow);
  }
};

TEST_F(MapDialogsTest, ListsMapsInAscendingNumberAndOnlyFilesHoldingMaps) {
  WriteMap(12, "Cellar");
  WriteMap(0, "");
  WriteFile(SavedMapName(3), "");           // deleted
  WriteFile(SavedMapName(4), "0123456789");  // too short to be a map
  WriteMap(98, "Last");
  WriteMap(99, "Never listed");
  std::string spaced = BorderMapText();
  spaced[20] = ' ';
  // Spaces are not counted by the description reader, so this is listed
  // although it will not load.
  WriteFile(SavedMapName(7), spaced + "x");

  MapListing l = ScanSavedMaps(t.g);
  EXPECT_EQ(l.entries, (std::vector<std::string>{"[pakmap0.map] ", "[pakmap7.map] ",
                                                 "[pakmap12.map] Cellar", "[pakmap98.map] Last"}));
}

TEST_F(MapDialogsTest, SuggestionIsTheFirstGapAfterMapsFromZeroElse99) {
  EXPECT_EQ(ScanSavedMaps(t.g).suggestion, 99);
  WriteMaps({0, 1, 2, 3, 4});
  MapListing l = ScanSavedMaps(t.g);
  EXPECT_EQ(l.suggestion, 5);
  EXPECT_EQ(SuggestedDescription(l.suggestion), "My Saved Map Number 5");
  WriteFile(SavedMapName(2), "");
  EXPECT_EQ(ScanSavedMaps(t.g).suggestion, 2);
  for (int n = 0; n < 99; ++n) WriteMap(n, "");
  EXPECT_EQ(ScanSavedMaps(t.g).suggestion, 99);
}

TEST_F(MapDialogsTest, ZeroCountsAsNoSuggestionSoAFolderWithoutMapZeroGetsALaterCount) {
  // The missing map 0 would suggest 0, which means "none yet"; the gap
  // after 2 then suggests the count listed so far: 2, a listed number.
  WriteMaps({1, 2});
  EXPECT_EQ(ScanSavedMaps(t.g).suggestion, 2);
  WriteFile(SavedMapName(1), "");
  WriteFile(SavedMapName(2), "");
  WriteMaps({5});
  EXPECT_EQ(ScanSavedMaps(t.g).suggestion, 1);
}

TEST_F(MapDialogsTest, FileNameRunsFromTheSecondCharacterToTheFirstBracket) {
  EXPECT_EQ(FileNameFromEntry("[pakmap12.map] Cellar"), "pakmap12.map");
  EXPECT_EQ(FileNameFromEntry("[pakmap1.map] a]b"), "pakmap1.map");
  EXPECT_EQ(FileNameFromEntry("[]"), "");
  EXPECT_EQ(FileNameFromEntry(""), "");
  EXPECT_EQ(FileNameFromEntry("[" + std::string(80, 'a')), std::string(63, 'a'));
}

TEST_F(MapDialogsTest, SavesUnderTheTypedNumberWithoutLeadingZero) {
  t.g.Tiles.fill(0);
  t.g.Tiles[20] = 3;
  EXPECT_TRUE(MapControlSave(t.g, "7", "Spiral"));
  ExpectOnlyBox("Current map was saved as pakmap7.map", "Saving Map...", MsgIcon::Information,
                false);
  EXPECT_EQ(t.g.MapDescription, "Spiral");

  TestGame other;
  ASSERT_EQ(LoadMapFile(other.g, "pakmap7.map"), 1);
  EXPECT_EQ(other.g.Tiles, t.g.Tiles);
  ASSERT_EQ(ReadMapDescription(other.g, "pakmap7.map"), 1);
  EXPECT_EQ(other.g.MapDescription, "Spiral");

  // "07" names the same file; a third digit is never read.
  ui().answers = {MsgAnswer::Yes};
  EXPECT_TRUE(MapControlSave(t.g, "07", std::string(70, 'd')));
  EXPECT_FALSE(std::filesystem::exists("pakmap07.map"));
  EXPECT_TRUE(MapControlSave(t.g, "123", ""));
  EXPECT_TRUE(std::filesystem::exists("pakmap12.map"));
  ASSERT_EQ(ReadMapDescription(other.g, "pakmap7.map"), 1);
  EXPECT_EQ(other.g.MapDescription, std::string(63, 'd'));
}

TEST_F(MapDialogsTest, SavingOverAMapAsksFirst) {
  WriteMap(3, "Old");
  ui().answers = {MsgAnswer::No};
  EXPECT_FALSE(MapControlSave(t.g, "3", "New"));
  ExpectOnlyBox("Do you want to overwrite the selected map file with the current map?",
                "Are you sure?", MsgIcon::Question, false);
  EXPECT_EQ(ui().boxes[0].buttons, MsgButtons::YesNo);
  ASSERT_EQ(ReadMapDescription(t.g, "pakmap3.map"), 1);
  EXPECT_EQ(t.g.MapDescription, "Old");

  ui().boxes.clear();
  ui().answers = {MsgAnswer::Yes};
  EXPECT_TRUE(MapControlSave(t.g, "3", "New"));
  ASSERT_EQ(ui().boxes.size(), 2u);
  EXPECT_EQ(ui().boxes[1].text, "Current map was saved as pakmap3.map");
  ASSERT_EQ(ReadMapDescription(t.g, "pakmap3.map"), 1);
  EXPECT_EQ(t.g.MapDescription, "New");
}

TEST_F(MapDialogsTest, InvalidNumbersAreRefusedByTheDialogItself) {
  for (const char* text : {"", "x1", "-1", " 5"}) {
    ui().boxes.clear();
    EXPECT_FALSE(MapControlSave(t.g, text, "d")) << text;
    ExpectOnlyBox("Please choose a valid filenumber.", "Error.", MsgIcon::Exclamation, false);
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(MapDialogsTest, SavingWithoutAGameReportsFailure) {
  t.g.IsServer = 0;
  EXPECT_TRUE(MapControlSave(t.g, "5", "d"));
  ExpectOnlyBox("Failed to save map as pakmap5.map", "Saving Map...", MsgIcon::Information,
                false);
  EXPECT_FALSE(std::filesystem::exists("pakmap5.map"));
}

TEST_F(MapDialogsTest, DeletingAsksThenLeavesAnEmptyFileAndFreesTheNumber) {
  WriteMaps({0, 1, 2, 4});
  const std::string entry = ScanSavedMaps(t.g).entries[3];
  ASSERT_EQ(entry, "[pakmap4.map] Map 4");

  ui().answers = {MsgAnswer::No};
  EXPECT_FALSE(MapControlDelete(t.g, entry));
  EXPECT_EQ(ui().boxes.at(0).text, "Do you want to delete the selected map file?");
  EXPECT_EQ(ReadMapDescription(t.g, "pakmap4.map"), 1);

  ui().answers = {MsgAnswer::Yes};
  EXPECT_TRUE(MapControlDelete(t.g, entry));
  EXPECT_EQ(t.g.MapFileName, "pakmap4.map");
  EXPECT_TRUE(std::filesystem::exists("pakmap4.map"));
  EXPECT_EQ(ReadFile("pakmap4.map"), "");
  MapListing l = ScanSavedMaps(t.g);
  EXPECT_EQ(l.entries.size(), 3u);
  EXPECT_EQ(l.suggestion, 3);  // 4 is free now, but 3 is the first gap

  ui().answers = {MsgAnswer::Yes};
  EXPECT_TRUE(MapControlDelete(t.g, l.entries[1]));
  EXPECT_EQ(ScanSavedMaps(t.g).suggestion, 1);
}

TEST_F(MapDialogsTest, NothingSelectedOrNoMapGivesTheErrorBoxes) {
  EXPECT_FALSE(ChooseMapLoad(t.g, std::nullopt));
  ExpectOnlyBox("Could not load selected map file.", "Error!", MsgIcon::Exclamation, true);

  ui().boxes.clear();
  EXPECT_FALSE(MapControlDelete(t.g, std::nullopt));
  ExpectOnlyBox("Could not delete selected map file.", "Error!", MsgIcon::Exclamation, true);

  // An entry whose file was emptied meanwhile: no question, the error.
  WriteFile("pakmap6.map", "");
  ui().boxes.clear();
  EXPECT_FALSE(MapControlDelete(t.g, std::string("[pakmap6.map] Gone")));
  ExpectOnlyBox("Could not delete selected map file.", "Error!", MsgIcon::Exclamation, true);
}

TEST_F(MapDialogsTest, LoadingTheSelectedMapReplacesTilesAndTakesItsDescription) {
  WriteMap(2, "Cellar");
  t.g.Tiles.fill(5);
  EXPECT_TRUE(ChooseMapLoad(t.g, std::string("[pakmap2.map] Cellar")));
  EXPECT_TRUE(ui().boxes.empty());
  EXPECT_EQ(t.g.Tiles[0], 1);
  EXPECT_EQ(t.g.Tiles[15], 0);
  EXPECT_EQ(t.g.MapFileName, "pakmap2.map");
  EXPECT_EQ(t.g.MapDescription, "Cellar");

  // A listed file that does not load (a space among the tiles).
  std::string spaced = BorderMapText();
  spaced[20] = ' ';
  WriteFile("pakmap3.map", spaced);
  EXPECT_FALSE(MapControlLoad(t.g, std::string("[pakmap3.map] ")));
  ExpectOnlyBox("Could not load selected map file.", "Error!", MsgIcon::Exclamation, true);

  // A connected client may not load: the message, and Tiles stay.
  t.g.IsServer = 0;
  t.g.IsClient = 1;
  t.g.Tiles.fill(5);
  EXPECT_FALSE(MapControlLoad(t.g, std::string("[pakmap2.map] Cellar")));
  EXPECT_EQ(ui().boxes.size(), 2u);
  EXPECT_EQ(t.g.Tiles[15], 5);
}

// A server admitting internet players, with MaxPlayers 4: internet players
// in slots 1 and 3, a computer in 2, the local player in 0, an internet
// player beyond MaxPlayers in 5 and an inactive one in 6.
void SetUpServer(GameState& g) {
  g.IsServer = 1;
  g.AllowInternet = 1;
  g.MaxPlayers = 4;
  for (int i = 0; i < kSlotCount; ++i) {
    g.Players[i].Active = 1;
    g.Players[i].Kind = KindInternet;
    g.Players[i].Address = NetAddress::Of(127, 0, 0, static_cast<uint8_t>(i + 1), 4000);
  }
  g.Players[0].Kind = KindLocal;
  g.Players[2].Kind = KindComputer;
  g.Players[6].Active = 0;
}

TEST_F(MapDialogsTest, GenerateSendsTheMapToEachInternetPlayer) {
  SetUpServer(t.g);
  t.g.Tiles.fill(0);
  t.g.MapDirty = 0;
  EXPECT_EQ(ChooseMapGenerate(t.g), 1);
  EXPECT_EQ(t.g.Tiles[0], 1);  // a generated maze has its border
  ASSERT_EQ(t.socket().sent.size(), 2u);
  DatagramBuffer want;
  BuildMap(want, t.g.Tiles);
  ASSERT_EQ(want.size(), 199u);
  EXPECT_EQ(t.socket().sent[0].addr, t.g.Players[1].Address);
  EXPECT_EQ(t.socket().sent[1].addr, t.g.Players[3].Address);
  for (const auto& d : t.socket().sent)
    EXPECT_EQ(d.bytes, std::vector<uint8_t>(want.data(), want.data() + want.size()));
  EXPECT_EQ(t.g.MapDirty, 1);
  EXPECT_EQ(ui().invalidations, 1);
}

TEST_F(MapDialogsTest, GenerateWithoutInternetSendsNothingButRepaints) {
  SetUpServer(t.g);
  t.g.AllowInternet = 0;
  t.g.MapDirty = 0;
  EXPECT_EQ(GenerateMap(t.g), 1);
  EXPECT_TRUE(t.socket().sent.empty());
  EXPECT_EQ(t.g.MapDirty, 1);
  EXPECT_EQ(ui().invalidations, 1);

  // A send that fails at the destination still closes the dialog with 1.
  t.g.AllowInternet = 1;
  t.socket().sendResult = SendResult::Dropped;
  EXPECT_EQ(ChooseMapGenerate(t.g), 1);
  EXPECT_EQ(t.g.DroppedSends, 2u);
  EXPECT_TRUE(ui().boxes.empty());
}

}  // namespace
