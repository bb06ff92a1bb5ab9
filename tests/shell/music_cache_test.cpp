#include "shell/music_cache.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "support/test_game.h"

namespace fs = std::filesystem;

namespace {

TEST(MusicCacheTest, TheCacheFolder) {
  EXPECT_EQ(MusicCacheDir("/x/cache", "/home/a"), fs::path("/x/cache/vrask/music"));
  EXPECT_EQ(MusicCacheDir("relative", "/home/a"), fs::path("/home/a/.cache/vrask/music"));
  EXPECT_EQ(MusicCacheDir("", "/home/a"), fs::path("/home/a/.cache/vrask/music"));
  EXPECT_EQ(MusicCacheDir(nullptr, nullptr), fs::path());
}

TEST(MusicCacheTest, TheNameChangesWithWhatDecidesTheSound) {
  const std::string base = RenderName("MThd-a", "font|1|2", "rate=44100", ".flac");
  EXPECT_EQ(base.size(), 32u + 5u);
  EXPECT_EQ(RenderName("MThd-a", "font|1|2", "rate=44100", ".flac"), base);
  struct Case {
    const char* what;
    std::string midi, font, settings;
  };
  const Case changed[] = {
      {"midi file", "MThd-b", "font|1|2", "rate=44100"},
      {"soundfont", "MThd-a", "font|1|3", "rate=44100"},
      {"settings", "MThd-a", "font|1|2", "rate=48000"},
      // The parts are kept apart: moving a byte from one to the next counts.
      {"boundary", "MThd-", "afont|1|2", "rate=44100"},
  };
  for (const Case& c : changed)
    EXPECT_NE(RenderName(c.midi, c.font, c.settings, ".flac"), base) << c.what;
}

TEST(MusicCacheTest, TheSoundfontIdentityFollowsItsFile) {
  ScopedTempDir dir;
  WriteFile("font.sf2", "abc");
  std::string first = SoundfontIdentity(dir.path() / "font.sf2");
  EXPECT_FALSE(first.empty());
  WriteFile("font.sf2", "abcd");
  EXPECT_NE(SoundfontIdentity(dir.path() / "font.sf2"), first);
  EXPECT_EQ(SoundfontIdentity(dir.path() / "missing.sf2"), "");
}

struct CacheFolder {
  ScopedTempDir dir;
  // Stores a render with the given contents under the given name.
  bool Store(const std::string& name, const std::string& bytes) {
    WriteFile("render.tmp", bytes);
    return StoreRender(dir.path(), name, dir.path() / "render.tmp");
  }
};

TEST(MusicCacheTest, ADamagedRenderIsNotPlayedButRenderedAgain) {
  struct Case {
    const char* what;
    void (*damage)(const fs::path& render);
    bool found;
  };
  const Case cases[] = {
      {"intact", [](const fs::path&) {}, true},
      {"cut short", [](const fs::path& r) { fs::resize_file(r, 4); }, false},
      {"a byte changed",
       [](const fs::path& r) {
         std::fstream f(r, std::ios::in | std::ios::out | std::ios::binary);
         f.seekp(3);
         f.put('X');
       },
       false},
      {"checksum missing", [](const fs::path& r) { fs::remove(fs::path(r) += ".sum"); }, false},
      {"render missing", [](const fs::path& r) { fs::remove(r); }, false},
  };
  for (const Case& c : cases) {
    CacheFolder cache;
    ASSERT_TRUE(cache.Store("a.flac", "fLaC-render-bytes")) << c.what;
    c.damage(cache.dir.path() / "a.flac");
    fs::path found = FindRender(cache.dir.path(), "a.flac");
    EXPECT_EQ(!found.empty(), c.found) << c.what;
    // What is not played is gone, so the next play renders it again.
    EXPECT_EQ(fs::exists(cache.dir.path() / "a.flac"), c.found) << c.what;
  }
}

TEST(MusicCacheTest, AtMostTwelveRendersTheLeastRecentlyPlayedGoFirst) {
  CacheFolder cache;
  auto age = [&](int i, int minutes) {
    fs::last_write_time(cache.dir.path() / (std::to_string(i) + ".flac"),
                        fs::file_time_type::clock::now() - std::chrono::minutes(minutes));
  };
  for (int i = 0; i < kMaxCachedTracks; ++i) {
    ASSERT_TRUE(cache.Store(std::to_string(i) + ".flac", "render " + std::to_string(i)));
    age(i, 100 - i);  // render 0 is the oldest
  }
  age(1, 200);                                        // render 1 older still...
  EXPECT_FALSE(FindRender(cache.dir.path(), "1.flac").empty());  // ...but just played
  for (int i = 0; i < kMaxCachedTracks; ++i)
    EXPECT_TRUE(fs::exists(cache.dir.path() / (std::to_string(i) + ".flac"))) << i;

  ASSERT_TRUE(cache.Store("12.flac", "render 12"));
  EXPECT_FALSE(fs::exists(cache.dir.path() / "0.flac"));
  EXPECT_FALSE(fs::exists(cache.dir.path() / "0.flac.sum"));
  for (int i = 1; i <= kMaxCachedTracks; ++i)
    EXPECT_TRUE(fs::exists(cache.dir.path() / (std::to_string(i) + ".flac"))) << i;
}

}  // namespace
