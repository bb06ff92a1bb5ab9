// The music's reaction to what the device reports. That the window's timer
// asks for the notices is tested in gui/main_window_test.cpp, the real
// device's notices in gui/sdl_audio_test.cpp.
#include "shell/music.h"

#include <gtest/gtest.h>

#include "platform/menu_ids.h"
#include "support/test_game.h"

namespace {

struct MusicTest : ::testing::Test {
  TestGame t;
  std::vector<std::string>& music() { return t.rec.audio.music; }
  MusicTest() {
    t.g.MusicOn = 1;
    t.g.MusicTrack = 11;
    PlayMusic(t.g, MusicFileName(11));
    music().clear();
  }
};

TEST_F(MusicTest, EndOfTrackStartsTheNextWrappingToTheFirst) {
  for (int code : {kMusicSuccessful, kMusicSuperseded}) {
    t.g.MusicTrack = 11;
    music().clear();
    t.rec.audio.notice = code;
    PollMusicNotice(t.g);
    EXPECT_EQ(music(), (std::vector<std::string>{"stop", "vrask0.mid"})) << code;
    EXPECT_EQ(t.g.MusicTrack, 0);
    EXPECT_EQ(t.g.MusicDevice, 1);
  }
  PollMusicNotice(t.g);  // a notice is handled once
  EXPECT_EQ(music().size(), 2u);
}

TEST_F(MusicTest, OwnStopUnplayableTrackAndFailureStartNothing) {
  struct Row {
    int code;
    int musicOn, device;
    bool menuOff;  // check mark removed, skip greyed
  };
  const Row rows[] = {
      {kMusicAborted, 1, 1, false},
      {kMusicCannotPlay, 1, 0, false},  // PlayMusic's error, late: silent
      {kMusicFailure, 0, 1, true},      // the device stays open until the next stop
  };
  for (const Row& r : rows) {
    t.g.MusicOn = 1;
    t.g.MusicDevice = 1;
    t.rec.ui.checked.clear();
    t.rec.ui.enabled.clear();
    HandleMusicNotice(t.g, r.code);
    EXPECT_TRUE(music().empty()) << r.code;
    EXPECT_EQ(t.g.MusicTrack, 11) << r.code;
    EXPECT_EQ(t.g.MusicOn, r.musicOn) << r.code;
    EXPECT_EQ(t.g.MusicDevice, r.device) << r.code;
    EXPECT_EQ(t.rec.ui.checked.count(CmdPlayMusic) + t.rec.ui.enabled.count(CmdNextTrack),
              r.menuOff ? 2u : 0u) << r.code;
    if (r.menuOff) {
      EXPECT_FALSE(t.rec.ui.checked.at(CmdPlayMusic));
      EXPECT_FALSE(t.rec.ui.enabled.at(CmdNextTrack));
    }
  }
  // With music off, the end of a track moves on without playing.
  HandleMusicNotice(t.g, kMusicSuccessful);
  EXPECT_EQ(music(), std::vector<std::string>{"stop"});
  EXPECT_EQ(t.g.MusicTrack, 0);
}

TEST_F(MusicTest, FileThatCannotBeOpenedLeavesMusicOnAndNoDevice) {
  t.rec.audio.musicResult = 3;
  EXPECT_EQ(PlayMusic(t.g, "vrask0.mid"), 3);
  EXPECT_EQ(t.g.MusicDevice, 0);
  EXPECT_EQ(t.g.MusicOn, 1);
  EXPECT_TRUE(t.rec.ui.checked.empty());
  EXPECT_EQ(PlayMusic(t.g, "stop"), 1);
  EXPECT_EQ(music(), (std::vector<std::string>{"stop", "vrask0.mid"}));  // no second stop
}

}  // namespace
