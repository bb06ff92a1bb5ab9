#include "shell/game_tick.h"

#include <gtest/gtest.h>

#include "support/test_game.h"

namespace {

TEST(GameTickTest, StepsOnlyWhenMoreThanTheIntervalHasPassed) {
  TestGame t;
  t.rec.clock.now = 1000;
  t.g.LastStepTime = 1000;
  t.rec.clock.now = 1040;
  EXPECT_FALSE(GameTick(t.g));
  EXPECT_EQ(t.g.FrameCounter, 0);
  EXPECT_EQ(MsUntilNextStep(t.g), 1u);
  t.rec.clock.now = 1041;
  EXPECT_TRUE(GameTick(t.g));
  EXPECT_EQ(t.g.LastStepTime, 1041u);
  EXPECT_EQ(t.g.FrameCounter, 1);
  EXPECT_EQ(t.rec.ui.invalidations, 1);
  EXPECT_EQ(MsUntilNextStep(t.g), 41u);
}

TEST(GameTickTest, OnlyTheLowByteOfTheIntervalCounts) {
  TestGame t;
  t.g.TickInterval = 256 + 60;
  t.g.LastStepTime = 0;
  t.rec.clock.now = 60;
  EXPECT_FALSE(GameTick(t.g));
  t.rec.clock.now = 61;
  EXPECT_TRUE(GameTick(t.g));
}

TEST(GameTickTest, SurvivesTheTickCountWrappingAround) {
  TestGame t;
  t.g.LastStepTime = 0xFFFFFFF0u;
  t.rec.clock.now = 0x18;  // 40 ms later, across zero
  EXPECT_FALSE(GameTick(t.g));
  t.rec.clock.now = 0x19;  // 41 ms
  EXPECT_TRUE(GameTick(t.g));
}

TEST(GameTickTest, LateTimeIsNotMadeUp) {
  TestGame t;
  t.g.LastStepTime = 0;
  t.rec.clock.now = 500;  // twelve intervals late: still one step
  EXPECT_TRUE(GameTick(t.g));
  EXPECT_FALSE(GameTick(t.g));
  EXPECT_EQ(t.g.FrameCounter, 1);
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
