// The map dialogs' model: listing, suggestion, names and the buttons.
#include "maps/map_dialogs.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "maps/generate_map.h"
#include "maps/map_file.h"
#include "protocol/datagrams.h"
#include "support/test_game.h"

namespace {

void WriteMaps(std::initializer_list<int> numbers) {
  for (int n : numbers)
    WriteFile(SavedMapName(n), BorderMapText() + "\r\nMap " + std::to_string(n));
}

class MapDialogsTest : public ::testing::Test {
 protected:
  ScopedTempDir dir;
  TestGame t;
  RecordingUi& ui() { return t.rec.ui; }
  void SetUp() override { t.g.IsServer = 1; }
  // The one box shown since the last call, which forgets it.
  void ExpectOnlyBox(const std::string& text, MsgIcon icon) {
    ASSERT_EQ(ui().boxes.size(), 1u);
    EXPECT_EQ(ui().boxes[0].text, text);
    EXPECT_EQ(ui().boxes[0].icon, icon);
    ui().boxes.clear();
  }
};

TEST_F(MapDialogsTest, ListsMapsInAscendingNumberAndOnlyFilesHoldingMaps) {
  WriteMaps({12, 0, 98, 99});               // 99 is never listed
  WriteFile(SavedMapName(3), "");           // deleted
  WriteFile(SavedMapName(4), "0123456789");  // too short to be a map
  EXPECT_EQ(ScanSavedMaps(t.g).entries,
            (std::vector<std::string>{"[pakmap0.map] Map 0", "[pakmap12.map] Map 12",
                                      "[pakmap98.map] Map 98"}));
}

TEST_F(MapDialogsTest, SuggestionIsTheFirstGapAfterMapsFromZeroElse99) {
  EXPECT_EQ(ScanSavedMaps(t.g).suggestion, 99);
  WriteMaps({0, 1, 2, 3, 4});
  MapListing l = ScanSavedMaps(t.g);
  EXPECT_EQ(l.suggestion, 5);
  EXPECT_EQ(SuggestedDescription(l.suggestion), "My Saved Map Number 5");
  // Without map 0 the gap at 0 means "none yet": the gap after 2 suggests
  // the count listed so far, 2, itself a listed number.
  WriteFile(SavedMapName(0), "");
  WriteFile(SavedMapName(3), "");
  EXPECT_EQ(ScanSavedMaps(t.g).suggestion, 2);
}

TEST_F(MapDialogsTest, FileNameRunsFromTheSecondCharacterToTheFirstBracket) {
  EXPECT_EQ(FileNameFromEntry("[pakmap1.map] a]b"), "pakmap1.map");
  EXPECT_EQ(FileNameFromEntry(""), "");
  EXPECT_EQ(FileNameFromEntry("[" + std::string(80, 'a')), std::string(63, 'a'));
}

TEST_F(MapDialogsTest, SavingOverAMapAsksFirstAndYesTakesTheNewDescription) {
  WriteMaps({3});
  ui().answers = {MsgAnswer::No};
  EXPECT_FALSE(MapControlSave(t.g, "3", "New"));
  ExpectOnlyBox("Do you want to overwrite the selected map file with the current map?",
                MsgIcon::Question);
  ASSERT_EQ(ReadMapDescription(t.g, "pakmap3.map"), 1);
  EXPECT_EQ(t.g.MapDescription, "Map 3");

  ui().answers = {MsgAnswer::Yes};
  t.g.Tiles[20] = 3;
  EXPECT_TRUE(MapControlSave(t.g, "03", "New"));  // "03" names the same file
  ASSERT_EQ(ui().boxes.size(), 2u);
  EXPECT_EQ(ui().boxes[1].text, "Current map was saved as pakmap3.map");
  TestGame other;
  ASSERT_EQ(LoadMapFile(other.g, "pakmap3.map"), 1);
  EXPECT_EQ(other.g.Tiles, t.g.Tiles);
  ASSERT_EQ(ReadMapDescription(other.g, "pakmap3.map"), 1);
  EXPECT_EQ(other.g.MapDescription, "New");
}

TEST_F(MapDialogsTest, InvalidNumbersAndSavingWithoutAGame) {
  for (const char* text : {"", "x1", "-1", " 5"}) {
    EXPECT_FALSE(MapControlSave(t.g, text, "d")) << text;
    ExpectOnlyBox("Please choose a valid filenumber.", MsgIcon::Exclamation);
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  t.g.IsServer = 0;
  EXPECT_TRUE(MapControlSave(t.g, "5", "d"));
  ExpectOnlyBox("Failed to save map as pakmap5.map", MsgIcon::Information);
}

TEST_F(MapDialogsTest, DeletingAsksThenLeavesAnEmptyFile) {
  WriteMaps({0, 4});
  const std::string entry = ScanSavedMaps(t.g).entries[1];
  ui().answers = {MsgAnswer::No};
  EXPECT_FALSE(MapControlDelete(t.g, entry));
  ExpectOnlyBox("Do you want to delete the selected map file?", MsgIcon::Question);
  EXPECT_EQ(ReadMapDescription(t.g, "pakmap4.map"), 1);

  ui().answers = {MsgAnswer::Yes};
  EXPECT_TRUE(MapControlDelete(t.g, entry));
  EXPECT_TRUE(std::filesystem::exists("pakmap4.map"));
  EXPECT_EQ(ReadFile("pakmap4.map"), "");
  EXPECT_EQ(ScanSavedMaps(t.g).entries.size(), 1u);
}

TEST_F(MapDialogsTest, NothingSelectedOrNoMapGivesTheErrorBoxes) {
  EXPECT_FALSE(ChooseMapLoad(t.g, std::nullopt));
  ExpectOnlyBox("Could not load selected map file.", MsgIcon::Exclamation);
  EXPECT_FALSE(MapControlDelete(t.g, std::nullopt));
  ExpectOnlyBox("Could not delete selected map file.", MsgIcon::Exclamation);
  WriteFile("pakmap6.map", "");  // emptied meanwhile: no question, the error
  EXPECT_FALSE(MapControlDelete(t.g, std::string("[pakmap6.map] Gone")));
  ExpectOnlyBox("Could not delete selected map file.", MsgIcon::Exclamation);

  WriteMaps({2});
  t.g.Tiles.fill(5);
  EXPECT_TRUE(ChooseMapLoad(t.g, std::string("[pakmap2.map] Map 2")));
  EXPECT_TRUE(ui().boxes.empty());
  EXPECT_EQ(t.g.Tiles[15], 0);
  EXPECT_EQ(t.g.MapDescription, "Map 2");
}

TEST_F(MapDialogsTest, GenerateSendsTheMapToEachInternetPlayerOnly) {
  // MaxPlayers 4: internet players in 1 and 3, a computer in 2, the local
  // player in 0, one beyond MaxPlayers in 5 and an inactive one in 6.
  t.g.AllowInternet = 1;
  t.g.MaxPlayers = 4;
  for (int i = 0; i < kSlotCount; ++i) {
    t.g.Players[i].Active = i != 6;
    t.g.Players[i].Kind = i == 0 ? KindLocal : i == 2 ? KindComputer : KindInternet;
    t.g.Players[i].Address = NetAddress::Of(127, 0, 0, static_cast<uint8_t>(i + 1), 4000);
  }
  t.g.Tiles.fill(0);
  EXPECT_EQ(ChooseMapGenerate(t.g), 1);
  EXPECT_EQ(t.g.Tiles[0], 1);
  ASSERT_EQ(t.socket().sent.size(), 2u);
  DatagramBuffer want;
  BuildMap(want, t.g.Tiles);
  ASSERT_EQ(want.size(), 199u);
  EXPECT_EQ(t.socket().sent[0].addr, t.g.Players[1].Address);
  EXPECT_EQ(t.socket().sent[1].addr, t.g.Players[3].Address);
  for (const auto& d : t.socket().sent)
    EXPECT_EQ(d.bytes, std::vector<uint8_t>(want.data(), want.data() + want.size()));

  t.g.AllowInternet = 0;
  t.g.MapDirty = 0;
  EXPECT_EQ(GenerateMap(t.g), 1);
  EXPECT_EQ(t.socket().sent.size(), 2u);
  EXPECT_EQ(t.g.MapDirty, 1);
  EXPECT_EQ(ui().invalidations, 2);
}

}  // namespace
