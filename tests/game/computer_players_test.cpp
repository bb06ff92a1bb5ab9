#include "game/computer_players.h"

#include <gtest/gtest.h>

#include "game/game_step.h"
#include "game/rules.h"
#include "support/test_game.h"
#include "game/arena.h"

namespace {

// One computer player in slot 2 of a walled arena; every test scripts the
// random numbers it expects to be drawn, in order, and checks that exactly
// those were used.
struct ComputerTest : ::testing::Test {
  TestGame t;
  PlayerSlot* c = nullptr;
  void SetUp() override {
    WalledArena(t.g);
    t.g.SoundsOn = 1;
    c = &Place(t.g, 2, 200, 200, KindComputer);
  }
  void Run(std::vector<int> draws) {
    t.g.Rng.Script(std::move(draws));
    ComputerPass(t.g);
    EXPECT_EQ(t.g.Rng.ScriptLeft(), 0u) << "not every scripted draw was used";
  }
  uint64_t DrawsOf(std::vector<int> draws) {
    uint64_t before = t.g.Rng.Draws();
    t.g.Rng.Script(std::move(draws));
    ComputerPass(t.g);
    return t.g.Rng.Draws() - before;
  }
};

TEST_F(ComputerTest, RaisesTheShieldOnceIn200AndDropsItOnceIn300) {
  c->Energy = 5;
  Run({201, 0, 0});  // shield up; no drop; standing: wants up
  EXPECT_EQ(c->Shield, 1);
  EXPECT_EQ(c->WantDir, 'u');
  Run({0, 301, 3});  // dropped; wants right
  EXPECT_EQ(c->Shield, 0);
  EXPECT_EQ(c->WantDir, 'r');
  c->Energy = 0;
  Run({1, 0, 1});  // no energy: the chance comes to nothing
  EXPECT_EQ(c->Shield, 0);
  EXPECT_EQ(c->WantDir, 'd');
}

TEST_F(ComputerTest, DangerRaisesTheShieldOnlyAboveTenEnergy) {
  Place(t.g, 5, 240, 230);  // an opponent close by
  c->Energy = 10;
  Run({0, 1, 0});  // too little energy: the 1/10 chance is not even drawn
  EXPECT_EQ(c->Shield, 0);
  Run({1, 0, 0});  // but the 1/200 chance still works
  EXPECT_EQ(c->Shield, 1);
  c->Shield = 0;
  c->Energy = 11;
  Run({0, 11, 2});  // in danger: up, and no drop is drawn
  EXPECT_EQ(c->Shield, 1);
  EXPECT_EQ(c->WantDir, 'l');
}

TEST_F(ComputerTest, NearbyFireballsCountAsDangerOnceInFive) {
  c->Energy = 20;
  Fireball& f = t.g.Fireballs[6];
  f.X = 250;
  f.Y = 150;
  f.State = FireNone;  // never launched: not looked at
  EXPECT_EQ(DrawsOf({}), 3u);
  f.State = FireCleared;  // still counts where it exploded
  Run({0, 1, 1, 0});
  EXPECT_EQ(c->Shield, 1);
  c->Shield = 0;
  Run({0, 2, 301, 0});  // not this time: the drop chance is drawn instead
  EXPECT_EQ(c->Shield, 0);
  t.g.Fireballs[2] = f;  // its own fireball is no danger
  f.State = FireNone;
  EXPECT_EQ(DrawsOf({}), 3u);
}

TEST_F(ComputerTest, FiresAtAnOpponentInLineHalfTheTime) {
  Place(t.g, 0, 200, 80);  // straight above, walls between do not matter
  SetTile(t.g, 4, 5, 1);
  c->Dir = 'u';
  c->Energy = 70;
  Run({0, 0, 0, 0, 0, 0});  // no luck at 1/600, the target's 1/2 fails
  EXPECT_EQ(t.g.Fireballs[2].State, 'n');
  Run({0, 0, 0, 1, 0, 0});
  EXPECT_EQ(t.g.Fireballs[2].State, 'f');
  EXPECT_EQ(t.g.Fireballs[2].Dir, 'u');
  EXPECT_EQ(c->Energy, 0);
  EXPECT_EQ(t.rec.audio.effects, std::vector<std::string>{"launchf.wav"});
}

TEST_F(ComputerTest, TargetMustBeAheadExactlyInLine) {
  c->Energy = 70;
  c->Dir = 'l';
  Place(t.g, 0, 201, 120);  // off the line
  Place(t.g, 1, 280, 200);  // in line, but behind
  EXPECT_EQ(DrawsOf({}), 5u);  // 200, 300, 600, then steering: no target draw
  EXPECT_EQ(t.g.Fireballs[2].State, 'n');
}

TEST_F(ComputerTest, FiresWithoutTargetOnceIn600WhenTheFireballIsFree) {
  Place(t.g, 0, 200, 80);
  c->Dir = 'u';
  c->Energy = 70;
  t.g.Fireballs[2].State = FireExploding;
  Run({0, 0, 601, 0, 0});  // the target is not even looked at
  EXPECT_EQ(t.g.Fireballs[2].State, 'e');
  EXPECT_EQ(c->Energy, 70);
  EXPECT_TRUE(t.rec.audio.effects.empty());
  t.g.Fireballs[2].State = FireCleared;
  Run({0, 0, 601, 0, 0});
  EXPECT_EQ(t.g.Fireballs[2].State, 'f');
}

TEST_F(ComputerTest, TurnsAsideOnceIn20WhileMoving) {
  struct Case {
    int dir, side, want;
  } cases[] = {{'u', 0, 'l'}, {'d', 1, 'r'}, {'l', 0, 'u'}, {'r', 1, 'd'}};
  for (const Case& k : cases) {
    c->Dir = k.dir;
    c->WantDir = k.dir;
    Run({0, 0, k.side, 3});  // 3 % 20 is not 2: no turn
    EXPECT_EQ(c->WantDir, k.dir);
    Run({0, 0, k.side, 22});
    EXPECT_EQ(c->WantDir, k.want);
  }
}

TEST_F(ComputerTest, OnlyActiveComputerSlotsDecide) {
  c->Kind = KindInternet;
  EXPECT_EQ(DrawsOf({}), 0u);
  c->Kind = KindComputer;
  c->Active = 0;
  EXPECT_EQ(DrawsOf({}), 0u);
}

TEST_F(ComputerTest, ServerBringsAKilledComputerBackAtTheNextFrameZero) {
  t.g.IsServer = 1;
  t.g.MaxPlayers = 8;
  c->Energy = 40;
  c->Shield = 1;
  t.g.FrameCounter = 3;
  KillPlayer(t.g, 2, 0);
  EXPECT_EQ(c->Life, Exploding);
  EndFrame(t.g);
  while (t.g.FrameCounter != 0) {
    GameStep(t.g);
    EXPECT_NE(c->Life, Alive) << int(t.g.FrameCounter);
    EndFrame(t.g);
  }
  EXPECT_EQ(c->Life, Dead);  // the paint at frame 0 ended the explosion
  GameStep(t.g);
  EXPECT_EQ(c->Life, Alive);
  EXPECT_EQ(c->X, t.g.SpawnX);
  EXPECT_EQ(c->Y, t.g.SpawnY);
  EXPECT_EQ(c->Shield, 1);  // left as it was
}

TEST_F(ComputerTest, ExplodingComputerComesBackStraightAtFrameZero) {
  t.g.IsServer = 1;
  c->Life = Exploding;
  t.g.FrameCounter = 0;
  ComputerPass(t.g);
  EXPECT_EQ(c->Life, Alive);
}

TEST_F(ComputerTest, ClientNeverBringsComputersBack) {
  t.g.IsClient = 1;
  c->Life = Dead;
  for (int k = 0; k < 16; ++k) {
    GameStep(t.g);
    EndFrame(t.g);
  }
  EXPECT_EQ(c->Life, Dead);
}

}  // namespace
