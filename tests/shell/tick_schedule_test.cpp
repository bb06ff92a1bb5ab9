#include "shell/tick_schedule.h"

#include <gtest/gtest.h>

#include "connection/game_tick.h"
#include "support/test_game.h"

namespace {

// A game state at time 1000 whose last step was at 1000 with the given frame.
struct ScheduleGame : TestGame {
  explicit ScheduleGame(uint8_t frame = 0, bool walls = false) {
    rec.clock.now = 1000;
    g.LastStepTime = 1000;
    g.TickInterval = 40;
    g.FrameCounter = frame;
    g.MusicOn = 0;
    g.Tiles.fill(0);
    if (walls) g.Tiles[0] = 1;
  }
};

TEST(TickScheduleTest, WhenTheTimerMustNextRun) {
  struct Case {
    const char* what;
    bool server, client, shown, walls, music, activeSlot;
    uint8_t frame;
    uint32_t wait;
  };
  const Case cases[] = {
      // A running game steps every 41 ms, shown or not.
      {"server", true, false, true, false, false, false, 0, 41},
      {"client, hidden", false, true, false, false, false, false, 0, 41},
      // Idle: nothing on screen moves, or nobody sees it: no timer.
      {"idle, empty map, music off", false, false, true, false, false, false, 0, kNoTickDue},
      {"idle, hidden", false, false, false, true, true, true, 1, kNoTickDue},
      // Idle with an animated picture: wake when the phase moves on, at the
      // step that makes the frame even.
      {"idle, walls, frame odd", false, false, true, true, false, false, 1, 41},
      {"idle, walls, frame even", false, false, true, true, false, false, 2, 82},
      {"idle, music note", false, false, true, false, true, false, 7, 41},
      {"idle, a slot left active", false, false, true, false, false, true, 0, 82},
  };
  for (const Case& c : cases) {
    ScheduleGame t(c.frame, c.walls);
    t.g.IsServer = c.server;
    t.g.IsClient = c.client;
    t.g.MusicOn = c.music;
    t.g.Players[3].Active = c.activeSlot;
    EXPECT_EQ(MsUntilTickDue(t.g, TickNeeds{c.shown}), c.wait) << c.what;
  }
}

TEST(TickScheduleTest, AStepOverdueMeansTickNow) {
  ScheduleGame t(0, true);
  t.rec.clock.now = 1000 + 41;
  EXPECT_EQ(MsUntilTickDue(t.g, TickNeeds{}), 41u);  // frame 0: two steps to the phase
  t.rec.clock.now = 1000 + 82;
  EXPECT_EQ(MsUntilTickDue(t.g, TickNeeds{}), 0u);
  t.g.IsServer = 1;
  t.rec.clock.now = 1000 + 41;
  EXPECT_EQ(MsUntilTickDue(t.g, TickNeeds{}), 0u);
}

TEST(TickScheduleTest, IdleWakeRunsTheStepsThatFellDue) {
  struct Case {
    uint32_t slept;
    int caughtUp;
    uint8_t frameAfterTick;
  };
  // The tick runs the last step due; the catch-up runs the ones before it,
  // seven at most, each timed as if on time.
  const Case cases[] = {{40, 0, 0}, {41, 0, 1}, {81, 0, 1}, {82, 1, 2},
                        {41 * 5, 4, 5}, {41 * 8, 7, 0}, {41 * 100, 7, 0}};
  for (const Case& c : cases) {
    ScheduleGame t(0, true);
    t.rec.clock.now = 1000 + c.slept;
    EXPECT_EQ(CatchUpIdleSteps(t.g), c.caughtUp) << c.slept;
    EXPECT_EQ(t.g.LastStepTime, 1000u + 41u * static_cast<uint32_t>(c.caughtUp)) << c.slept;
    GameTick(t.g);
    EXPECT_EQ(t.g.FrameCounter, c.frameAfterTick) << c.slept;
  }
}

TEST(TickScheduleTest, ARunningGameIsNeverCaughtUp) {
  ScheduleGame t;
  t.g.IsClient = 1;
  t.rec.clock.now = 1000 + 41 * 5;
  EXPECT_EQ(CatchUpIdleSteps(t.g), 0);
  EXPECT_EQ(t.g.LastStepTime, 1000u);
}

}  // namespace
