#include "maps/map_file.h"

#include <gtest/gtest.h>

#include "support/test_game.h"

namespace {

class MapFileTest : public ::testing::Test {
 protected:
  ScopedTempDir dir;
  TestGame t;
};

TEST_F(MapFileTest, LoadsAnyLineEndingsUpToFortySeparatorsAndColonAsTen) {
  std::string colon = BorderMapText("");
  colon[15] = ':';  // row 1, column 1
  const std::pair<std::string, int> files[] = {{colon, 10},
                                               {BorderMapText("\n"), 0},
                                               {BorderMapText("\r\n"), 0},
                                               {std::string(40, '\n') + BorderMapText(""), 0}};
  for (const auto& [text, cell] : files) {
    WriteFile("m.map", text);
    t.g.Tiles.fill(9);
    ASSERT_EQ(LoadMapFile(t.g, "m.map"), 1) << text.size();
    EXPECT_EQ(t.g.Tiles[0], 1);
    EXPECT_EQ(t.g.Tiles[15], cell);
    EXPECT_EQ(t.g.Tiles[16], 0);
    EXPECT_EQ(t.g.Tiles[195], 1);
  }
}

TEST_F(MapFileTest, RejectsExtraSeparatorsStrayBytesAndShortFilesWithoutTouchingTiles) {
  t.g.Tiles.fill(7);
  std::string spaced = BorderMapText(), tabbed = spaced;
  spaced[20] = ' ';
  tabbed[20] = '\t';
  WriteFile("41.map", std::string(41, '\n') + BorderMapText(""));
  WriteFile("space.map", spaced);
  WriteFile("tab.map", tabbed);
  WriteFile("short.map", BorderMapText().substr(0, spaced.size() - 1));
  for (const char* name : {"41.map", "space.map", "tab.map", "short.map", "missing.map"})
    EXPECT_EQ(LoadMapFile(t.g, name), 0) << name;
  for (uint8_t v : t.g.Tiles) ASSERT_EQ(v, 7);
}

TEST_F(MapFileTest, DescriptionIsCutTo64AndEndsAtTheLineEnd) {
  struct Case {
    std::string tail, expected;
  } cases[] = {{"", ""},
               {std::string(64, 'x'), std::string(64, 'x')},
               {std::string(70, 'y'), std::string(64, 'y')},
               {"Cellar\r\n", "Cellar"}};
  for (const Case& c : cases) {
    WriteFile("m.map", BorderMapText() + c.tail);
    t.g.MapDescription = "stale";
    ASSERT_EQ(ReadMapDescription(t.g, "m.map"), 1);
    EXPECT_EQ(t.g.MapDescription, c.expected);
  }
}

TEST_F(MapFileTest, ClientCannotLoadButServerNotifiesInternetPlayers) {
  WriteFile("m.map", BorderMapText());
  t.g.IsClient = 1;
  t.g.Tiles.fill(3);
  EXPECT_EQ(LoadMapFile(t.g, "m.map"), 0);
  EXPECT_EQ(t.g.Tiles[15], 3);

  t.g.IsServer = 1;
  t.g.MaxPlayers = 8;
  for (int i : {1, 2, 4}) {
    t.g.Players[i].Active = 1;
    t.g.Players[i].Kind = i == 2 ? KindComputer : KindInternet;
    t.g.Players[i].Address = NetAddress::Of(127, 0, 0, 2 + i, 5000);
  }
  t.g.MapDirty = 0;
  ASSERT_EQ(LoadMapFile(t.g, "m.map"), 1);
  EXPECT_EQ(t.g.MapDirty, 1);
  const auto& sent = t.socket().sent;
  ASSERT_EQ(sent.size(), 2u);
  for (const auto& d : sent) EXPECT_EQ(std::string(d.bytes.begin(), d.bytes.end()), "PMf");
  EXPECT_EQ(sent[0].addr, t.g.Players[1].Address);
  EXPECT_EQ(sent[1].addr, t.g.Players[4].Address);
}

TEST_F(MapFileTest, SaveNeedsAGameAndRoundTrips) {
  for (int i = 0; i < kMapCells; ++i) t.g.Tiles[i] = static_cast<uint8_t>(i % 11);
  t.g.MapDescription = std::string(70, 'd');
  EXPECT_EQ(SaveMapFile(t.g, "pakmap3.map"), 0);
  EXPECT_FALSE(std::filesystem::exists("pakmap3.map"));

  t.g.IsServer = 1;
  ASSERT_EQ(SaveMapFile(t.g, "pakmap3.map"), 1);
  EXPECT_EQ(ReadFile("pakmap3.map").substr(0, 16), "0123456789:012\r\n");
  const TileMap saved = t.g.Tiles;
  t.g.Tiles.fill(0);
  ASSERT_EQ(LoadMapFile(t.g, "pakmap3.map"), 1);
  EXPECT_EQ(t.g.Tiles, saved);
  ASSERT_EQ(ReadMapDescription(t.g, "pakmap3.map"), 1);
  EXPECT_EQ(t.g.MapDescription, std::string(64, 'd'));
}

TEST_F(MapFileTest, FailedSaveLeavesTheOldMapWholeAndClearEmptiesTheFile) {
  t.g.IsServer = 1;
  WriteFile("pakmap1.map", BorderMapText() + "Old");
  std::filesystem::create_directory("pakmap1.map.tmp");  // the temporary file cannot be written
  t.g.Tiles.fill(0);
  EXPECT_EQ(SaveMapFile(t.g, "pakmap1.map"), 0);
  EXPECT_EQ(ReadFile("pakmap1.map"), BorderMapText() + "Old");

  ASSERT_EQ(ClearMapFile(t.g, "pakmap1.map"), 1);
  EXPECT_TRUE(std::filesystem::exists("pakmap1.map"));
  EXPECT_EQ(ReadFile("pakmap1.map"), "");
  EXPECT_EQ(ReadMapDescription(t.g, "pakmap1.map"), 0);
}

}  // namespace
