// The recent servers of the join dialog: order, limit, damaged files and
// the atomic save.
#include <gtest/gtest.h>

#include <filesystem>

#include "connection/recent_servers.h"
#include "support/test_game.h"

namespace {

RecentServer R(int n) { return {"10.0.0." + std::to_string(n), "2727"}; }

TEST(RecentServers, NewestFirstEightAtMostNoRepeats) {
  std::vector<RecentServer> list;
  for (int i = 1; i <= 10; ++i) RememberServer(list, R(i));
  ASSERT_EQ(list.size(), kRecentServersMax);
  EXPECT_EQ(list.front(), R(10));
  EXPECT_EQ(list.back(), R(3));
  RememberServer(list, R(5));  // joined again: moves to the front, once
  EXPECT_EQ(list.front(), R(5));
  EXPECT_EQ(std::count(list.begin(), list.end(), R(5)), 1);
  EXPECT_EQ(list.size(), kRecentServersMax);
  RememberServer(list, {"10.0.0.5", "2728"});  // another port is another server
  EXPECT_EQ(list[1], R(5));
}

TEST(RecentServers, FilesReadAsWellAsTheyCan) {
  ScopedTempDir dir;
  struct Row {
    const char* what;
    std::string text;
    std::vector<RecentServer> expected;
  };
  const Row rows[] = {
      {"two lines", "a.example:2727\n10.0.0.1:5000\n", {{"a.example", "2727"}, {"10.0.0.1", "5000"}}},
      {"damage skipped", std::string("\x01\xff:zz\n:2727\nhost:\nhost:99999\nok:1\n", 34), {{"ok", "1"}}},
      {"an overlong line", std::string(400, 'a') + ":1\nb:2\n", {{"b", "2"}}},
      {"nine lines, eight kept", "a:1\nb:1\nc:1\nd:1\ne:1\nf:1\ng:1\nh:1\ni:1\n",
       {{"a", "1"}, {"b", "1"}, {"c", "1"}, {"d", "1"}, {"e", "1"}, {"f", "1"}, {"g", "1"}, {"h", "1"}}},
  };
  for (const Row& r : rows) {
    WriteFile("recent-servers", r.text);
    EXPECT_EQ(LoadRecentServers("recent-servers"), r.expected) << r.what;
  }
  EXPECT_TRUE(LoadRecentServers("missing").empty());
}

TEST(RecentServers, SavedAtomicallyWhereTheConfigurationLives) {
  ScopedTempDir dir;
  EXPECT_EQ(RecentServersPath("/cfg", "/home/p"), std::filesystem::path("/cfg/vrask/recent-servers"));
  EXPECT_EQ(RecentServersPath("relative", "/home/p"),
            std::filesystem::path("/home/p/.config/vrask/recent-servers"));
  EXPECT_TRUE(RecentServersPath(nullptr, nullptr).empty());

  const std::filesystem::path file = dir.path() / "cfg" / "vrask" / "recent-servers";
  std::vector<RecentServer> list{R(1), R(2)};
  ASSERT_TRUE(SaveRecentServers(file, list));
  EXPECT_EQ(LoadRecentServers(file), list);
  EXPECT_FALSE(std::filesystem::exists(file.string() + ".tmp"));

  // When the new list cannot be written whole, the old one stays.
  std::filesystem::create_directory(file.string() + ".tmp");
  EXPECT_FALSE(SaveRecentServers(file, {R(3)}));
  EXPECT_EQ(LoadRecentServers(file), list);
}

}  // namespace
