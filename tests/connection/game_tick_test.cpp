#include "connection/game_tick.h"

#include <gtest/gtest.h>

#include "support/test_game.h"

namespace {

TEST(GameTickTest, StepsOnlyWhenMoreThanTheIntervalHasPassed) {
  TestGame t;
  t.g.LastStepTime = 1000;
  t.rec.clock.now = 1040;
  EXPECT_FALSE(GameTick(t.g));
  EXPECT_EQ(MsUntilNextStep(t.g), 1u);
  t.rec.clock.now = 1041;
  EXPECT_TRUE(GameTick(t.g));
  EXPECT_EQ(t.g.FrameCounter, 1);
  EXPECT_EQ(t.rec.ui.invalidations, 1);
  EXPECT_EQ(MsUntilNextStep(t.g), 41u);

  // Twelve intervals late: still one step, the time is not made up.
  t.rec.clock.now = 1541;
  EXPECT_TRUE(GameTick(t.g));
  EXPECT_FALSE(GameTick(t.g));
  EXPECT_EQ(t.g.FrameCounter, 2);
}

TEST(GameTickTest, OnlyTheLowByteOfTheIntervalCountsAndTheCountMayWrap) {
  struct Case {
    int tickInterval;
    uint32_t last, justBefore;
  };
  // 256 + 60 counts as 60; 0xFFFFFFF0 + 40 wraps through zero.
  for (const Case c : {Case{256 + 60, 0, 60}, Case{40, 0xFFFFFFF0u, 0x18}}) {
    TestGame t;
    t.g.TickInterval = c.tickInterval;
    t.g.LastStepTime = c.last;
    t.rec.clock.now = c.justBefore;
    EXPECT_FALSE(GameTick(t.g)) << c.tickInterval;
    t.rec.clock.now = c.justBefore + 1;
    EXPECT_TRUE(GameTick(t.g)) << c.tickInterval;
  }
}

TEST(GameTickTest, FrameCounterCyclesThroughEightFrames) {
  TestGame t;
  for (int i = 1; i <= 16; ++i) {
    t.rec.clock.now += 41;
    ASSERT_TRUE(GameTick(t.g));
    EXPECT_EQ(t.g.FrameCounter, i % 8);
  }
}

}  // namespace
