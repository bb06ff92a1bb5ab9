// The game folder: where it is, where the shipped files come from, and the
// fill that copies only what is missing.
#include "shell/game_folder.h"

#include <gtest/gtest.h>

#include "support/test_game.h"

namespace fs = std::filesystem;

namespace {

TEST(GameFolderTest, PathFromVraskHomeThenXdgDataHomeThenHome) {
  struct Row {
    const char *vraskHome, *xdg, *home;
    const char* folder;
  };
  const Row rows[] = {
      {"/games/v", "/data", "/home/a", "/games/v"},
      {"", "/data", "/home/a", "/data/vrask"},  // empty counts as unset
      {nullptr, "/data", "/home/a", "/data/vrask"},
      {nullptr, "data", "/home/a", "/home/a/.local/share/vrask"},  // relative: ignored
      {nullptr, "", "/home/a", "/home/a/.local/share/vrask"},
      {nullptr, nullptr, "/home/a", "/home/a/.local/share/vrask"},
      {nullptr, nullptr, nullptr, ""},
      {"rel", nullptr, nullptr, "rel"},  // the player's own choice, as given
  };
  for (const Row& r : rows)
    EXPECT_EQ(GameFolderPath(r.vraskHome, r.xdg, r.home), fs::path(r.folder)) << r.folder;
}

TEST(GameFolderTest, ShippedFilesFromTheInstallElseFromTheSourceTreeForTheBuildFolder) {
  ScopedTempDir dir;
  fs::path root = dir.path();
  fs::create_directories(root / "prefix/bin");
  fs::create_directories(root / "prefix/share/vrask");
  fs::create_directories(root / "build");
  fs::create_directories(root / "src/data");
  fs::path installed = "../share/vrask";
  EXPECT_EQ(ShippedFilesFolderFor(root / "prefix/bin", installed, root / "build", root / "src/data"),
            root / "prefix/share/vrask");
  EXPECT_EQ(ShippedFilesFolderFor(root / "build", installed, root / "build", root / "src/data"),
            root / "src/data");
  // A copy of the program elsewhere does not reach into the source tree.
  EXPECT_EQ(ShippedFilesFolderFor(root / "src", installed, root / "build", root / "src/data"), fs::path());
  fs::remove(root / "prefix/share/vrask");
  EXPECT_EQ(ShippedFilesFolderFor(root / "prefix/bin", installed, root / "build", root / "src/data"),
            fs::path());
}

TEST(GameFolderTest, FillCopiesOnlyMissingFilesAndNeverTouchesThePlayers) {
  ScopedTempDir dir;
  fs::create_directories("shipped/sub");
  WriteFile("shipped/pakmap.map", "shipped map");
  WriteFile("shipped/pakmap0.map", "saved map");
  WriteFile("shipped/boom.wav", "RIFF");
  WriteFile("shipped/sub/ignored.txt", "x");
  fs::create_directories("game");
  WriteFile("game/pakmap.map", "the player's map");
  fs::create_symlink("nowhere", "game/pakmap0.map");  // a dangling link is the player's too

  FillReport report;
  std::string error;
  ASSERT_TRUE(FillGameFolder("shipped", "game", &report, &error)) << error;
  EXPECT_EQ(report.copied, std::vector<std::string>{"boom.wav"});
  EXPECT_TRUE(report.failed.empty());
  EXPECT_EQ(ReadFile("game/pakmap.map"), "the player's map");
  EXPECT_TRUE(fs::is_symlink("game/pakmap0.map"));
  EXPECT_EQ(ReadFile("game/boom.wav"), "RIFF");
  EXPECT_FALSE(fs::exists("game/sub"));
  EXPECT_FALSE(fs::exists("game/.boom.wav.part"));

  // A deleted file comes back; a second fill finds nothing else to do.
  fs::remove("game/pakmap.map");
  FillReport again;
  ASSERT_TRUE(FillGameFolder("shipped", "game", &again, &error));
  EXPECT_EQ(again.copied, std::vector<std::string>{"pakmap.map"});
  EXPECT_EQ(ReadFile("game/pakmap.map"), "shipped map");

  // A fresh folder, nested, is made and filled.
  FillReport fresh;
  ASSERT_TRUE(FillGameFolder("shipped", "a/b/game", &fresh, &error));
  EXPECT_EQ(fresh.copied, (std::vector<std::string>{"boom.wav", "pakmap.map", "pakmap0.map"}));

  // Nothing shipped: only the folder.
  FillReport none;
  ASSERT_TRUE(FillGameFolder(fs::path(), "empty", &none, &error));
  EXPECT_TRUE(fs::is_directory("empty"));
  EXPECT_TRUE(none.copied.empty());

  // A folder that cannot be made is an error, not a silent success.
  WriteFile("file", "");
  FillReport bad;
  error.clear();
  EXPECT_FALSE(FillGameFolder("shipped", "file/game", &bad, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(FillGameFolder("shipped", "file", &bad, &error));
}

}  // namespace
