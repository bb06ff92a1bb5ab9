#include "maps/map_file.h"

#include <gtest/gtest.h>

#include "support/test_game.h"

namespace {

class MapFileTest : public ::testing::Test {
 protected:
  ScopedTempDir dir;
  TestGame t;
};

TEST_F(MapFileTest, LoadsEveryLineEndingLayout) {
  // No line ends at all, LF only (13 separators) and CR LF (26 separators).
  for (const std::string& eol : {std::string(""), std::string("\n"), std::string("\r\n")}) {
    WriteFile("m.map", BorderMapText(eol));
    t.g.Tiles.fill(9);
    ASSERT_EQ(LoadMapFile(t.g, "m.map"), 1) << "eol size " << eol.size();
    EXPECT_EQ(t.g.Tiles[0], 1);
    EXPECT_EQ(t.g.Tiles[15], 0);
    EXPECT_EQ(t.g.Tiles[195], 1);
  }
}

TEST_F(MapFileTest, SeparatorLimitIsForty) {
  std::string text = BorderMapText("");
  WriteFile("ok.map", std::string(40, '\n') + text);
  WriteFile("bad.map", std::string(41, '\n') + text);
  WriteFile("nul.map", std::string(20, '\0') + std::string(20, '\r') + text);
  EXPECT_EQ(LoadMapFile(t.g, "ok.map"), 1);
  EXPECT_EQ(LoadMapFile(t.g, "nul.map"), 1);
  EXPECT_EQ(LoadMapFile(t.g, "bad.map"), 0);
}

TEST_F(MapFileTest, RejectsStrayBytesAndShortFilesWithoutTouchingTiles) {
  t.g.Tiles.fill(7);
  std::string text = BorderMapText();
  std::string spaced = text;
  spaced[20] = ' ';
  std::string tabbed = text;
  tabbed[20] = '\t';
  WriteFile("space.map", spaced);
  WriteFile("tab.map", tabbed);
  WriteFile("short.map", text.substr(0, text.size() - 1));
  WriteFile("empty.map", "");
  for (const char* name : {"space.map", "tab.map", "short.map", "empty.map", "missing.map"})
    EXPECT_EQ(LoadMapFile(t.g, name), 0) << name;
  for (uint8_t v : t.g.Tiles) ASSERT_EQ(v, 7);
}

TEST_F(MapFileTest, ColonIsTileTen) {
  std::string text = BorderMapText();
  text[17] = ':';  // row 1, column 1
  WriteFile("m.map", text);
  ASSERT_EQ(LoadMapFile(t.g, "m.map"), 1);
  EXPECT_EQ(t.g.Tiles[15], 10);
}

TEST_F(MapFileTest, LoadMarksMapDirtyAndRepaints) {
  WriteFile("m.map", BorderMapText());
  t.g.MapDirty = 0;
  ASSERT_EQ(LoadMapFile(t.g, "m.map"), 1);
  EXPECT_EQ(t.g.MapDirty, 1);
  EXPECT_GT(t.rec.ui.invalidations, 0);
}

TEST_F(MapFileTest, ClientCannotLoadButServerNotifiesInternetPlayers) {
  WriteFile("m.map", BorderMapText());
  t.g.IsClient = 1;
  t.g.Tiles.fill(3);
  EXPECT_EQ(LoadMapFile(t.g, "m.map"), 0);
  EXPECT_EQ(t.g.Tiles[15], 3);

  // A server with two internet players and one computer player.
  t.g.IsServer = 1;
  t.g.MaxPlayers = 8;
  t.g.Players[1].Active = 1;
  t.g.Players[1].Kind = KindInternet;
  t.g.Players[1].Address = NetAddress::Of(127, 0, 0, 2, 5000);
  t.g.Players[2].Active = 1;
  t.g.Players[2].Kind = KindComputer;
  t.g.Players[4].Active = 1;
  t.g.Players[4].Kind = KindInternet;
  t.g.Players[4].Address = NetAddress::Of(127, 0, 0, 3, 5001);
  ASSERT_EQ(LoadMapFile(t.g, "m.map"), 1);
  const auto& sent = t.socket().sent;
  ASSERT_EQ(sent.size(), 2u);
  for (const auto& d : sent) EXPECT_EQ(std::string(d.bytes.begin(), d.bytes.end()), "PMf");
  EXPECT_EQ(sent[0].addr, t.g.Players[1].Address);
  EXPECT_EQ(sent[1].addr, t.g.Players[4].Address);
}

TEST_F(MapFileTest, DescriptionRules) {
  std::string text = BorderMapText();
  struct Case {
    std::string tail, expected;
  } cases[] = {
      {"", ""},
      {std::string(64, 'x'), std::string(64, 'x')},
      {std::string(70, 'y'), std::string(64, 'y')},
      {"Cellar\r\n", "Cellar"},
  };
  for (const Case& c : cases) {
    WriteFile("m.map", text + c.tail);
    t.g.MapDescription = "stale";
    ASSERT_EQ(ReadMapDescription(t.g, "m.map"), 1);
    EXPECT_EQ(t.g.MapDescription, c.expected);
  }
}

TEST_F(MapFileTest, DescriptionReaderIsLenientButLoaderIsNot) {
  std::string spaced = BorderMapText();
  spaced.insert(5, "  ");
  WriteFile("spaced.map", spaced + "Hi");
  EXPECT_EQ(ReadMapDescription(t.g, "spaced.map"), 1);
  EXPECT_EQ(t.g.MapDescription, "Hi");
  EXPECT_EQ(LoadMapFile(t.g, "spaced.map"), 0);
  WriteFile("empty.map", "");
  EXPECT_EQ(ReadMapDescription(t.g, "empty.map"), 0);
  EXPECT_EQ(ReadMapDescription(t.g, "missing.map"), 0);
}

TEST_F(MapFileTest, SaveNeedsAGameAndRoundTrips) {
  for (int i = 0; i < kMapCells; ++i) t.g.Tiles[i] = static_cast<uint8_t>(i % 11);
  t.g.MapDescription = std::string(70, 'd');
  EXPECT_EQ(SaveMapFile(t.g, "pakmap3.map"), 0);
  EXPECT_FALSE(std::filesystem::exists("pakmap3.map"));

  t.g.IsServer = 1;
  ASSERT_EQ(SaveMapFile(t.g, "pakmap3.map"), 1);
  std::string bytes = ReadFile("pakmap3.map");
  ASSERT_EQ(bytes.size(), 224u + 64u);
  EXPECT_EQ(bytes.substr(0, 14), "0123456789:012");
  EXPECT_EQ(bytes.substr(14, 2), "\r\n");
  EXPECT_FALSE(std::filesystem::exists("pakmap3.map.tmp"));

  TileMap saved = t.g.Tiles;
  t.g.Tiles.fill(0);
  ASSERT_EQ(LoadMapFile(t.g, "pakmap3.map"), 1);
  EXPECT_EQ(t.g.Tiles, saved);
  ASSERT_EQ(ReadMapDescription(t.g, "pakmap3.map"), 1);
  EXPECT_EQ(t.g.MapDescription, std::string(64, 'd'));
}

TEST_F(MapFileTest, FailedSaveLeavesTheOldMapWhole) {
  t.g.IsServer = 1;
  WriteFile("pakmap1.map", BorderMapText() + "Old");
  // A folder where the temporary file would go makes the write fail.
  std::filesystem::create_directory("pakmap1.map.tmp");
  t.g.Tiles.fill(0);
  EXPECT_EQ(SaveMapFile(t.g, "pakmap1.map"), 0);
  EXPECT_EQ(ReadFile("pakmap1.map"), BorderMapText() + "Old");
}

TEST_F(MapFileTest, ClearLeavesAnEmptyFileThatNoReaderAccepts) {
  WriteFile("pakmap2.map", BorderMapText());
  ASSERT_EQ(ClearMapFile(t.g, "pakmap2.map"), 1);
  EXPECT_TRUE(std::filesystem::exists("pakmap2.map"));
  EXPECT_EQ(std::filesystem::file_size("pakmap2.map"), 0u);
  EXPECT_EQ(ReadMapDescription(t.g, "pakmap2.map"), 0);
  EXPECT_EQ(ClearMapFile(t.g, "no/such/folder.map"), 0);
}

TEST_F(MapFileTest, ShippedDefaultMapLoads) {
  std::filesystem::copy_file(std::string(VRASK_SOURCE_DIR) + "/data/pakmap.map", "pakmap.map");
  ASSERT_EQ(LoadMapFile(t.g, "pakmap.map"), 1);
  for (int k = 0; k < kMapSide; ++k) {
    EXPECT_NE(t.g.Tiles[k], 0);
    EXPECT_NE(t.g.Tiles[13 * kMapSide + k], 0);
  }
}

}  // namespace
