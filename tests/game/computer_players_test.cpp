#include "game/computer_players.h"

#include <gtest/gtest.h>

#include "connection/game_step.h"
#include "game/arena.h"
#include "game/contacts.h"
#include "support/test_game.h"

namespace {

// One computer player in slot 2 of a walled arena. Each Run scripts the
// random numbers expected, in order, and checks that exactly those were used.
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
};

TEST_F(ComputerTest, ShieldChancesAndAStandingPlayerPicksADirection) {
  c->Energy = 5;
  Run({201, 0, 0});  // up at 1 in 200; no drop; standing: wants up
  EXPECT_EQ(c->Shield, 1);
  EXPECT_EQ(c->WantDir, 'u');
  Run({0, 301, 3});  // dropped at 1 in 300; wants right
  EXPECT_EQ(c->Shield, 0);
  EXPECT_EQ(c->WantDir, 'r');
  c->Energy = 0;
  Run({1, 0, 1});  // no energy: the chance comes to nothing
  EXPECT_EQ(c->Shield, 0);
  EXPECT_EQ(c->WantDir, 'd');

  Place(t.g, 5, 240, 230);  // an opponent close by
  c->Energy = 10;
  Run({0, 1, 0});  // danger needs more than 10 energy: not even drawn
  EXPECT_EQ(c->Shield, 0);
  c->Energy = 11;
  Run({0, 11, 2});  // in danger: up at 1 in 10, and no drop is drawn
  EXPECT_EQ(c->Shield, 1);
  EXPECT_EQ(c->WantDir, 'l');
}

TEST_F(ComputerTest, WhileMovingTheFirstDrawPicksTheSideOfATurn) {
  struct Case {
    int dir, side, turn, want;  // turn: the second draw, 1 in 20 when % 20 is 2
  } cases[] = {
      {'u', 0, 22, 'l'}, {'u', 1, 22, 'r'}, {'d', 0, 2, 'l'}, {'d', 1, 42, 'r'},
      {'l', 0, 2, 'u'},  {'l', 1, 2, 'd'},  {'r', 0, 2, 'u'}, {'r', 1, 2, 'd'},
      {'r', 1, 3, 's'},  // no turn this step
  };
  for (const Case& k : cases) {
    c->Dir = k.dir;
    c->WantDir = 's';
    Run({0, 0, k.side, k.turn});  // shield chances first: no energy, nothing
    EXPECT_EQ(c->WantDir, k.want) << static_cast<char>(k.dir) << " side " << k.side;
  }
}

TEST_F(ComputerTest, AClearedFireballStillCountsAsDangerWhereItExploded) {
  Fireball& f = t.g.Fireballs[5];
  f.X = 230;
  f.Y = 170;
  f.State = FireCleared;
  t.g.Rng.Script({1});  // the 1 in 5 chance
  EXPECT_TRUE(ComputerSensesDanger(t.g, 2));
  t.g.Rng.Script({0});
  EXPECT_FALSE(ComputerSensesDanger(t.g, 2));
  f.State = FireNone;  // never launched: not even drawn for
  t.g.Rng.Script({1});
  EXPECT_FALSE(ComputerSensesDanger(t.g, 2));
  EXPECT_EQ(t.g.Rng.ScriptLeft(), 1u);
}

TEST_F(ComputerTest, FiresAtAnOpponentAheadInLineHalfTheTime) {
  Place(t.g, 0, 200, 80);  // straight above; walls between do not matter
  SetTile(t.g, 4, 5, 1);
  c->Dir = 'u';
  c->Energy = 70;
  Run({0, 0, 0, 0, 0, 0});  // no luck at 1/600, the target's 1/2 fails
  EXPECT_EQ(t.g.Fireballs[2].State, 'n');
  Run({0, 0, 0, 1, 0, 0});
  EXPECT_EQ(t.g.Fireballs[2].State, 'f');
  EXPECT_EQ(t.g.Fireballs[2].Dir, 'u');
  EXPECT_EQ(t.rec.audio.effects, std::vector<std::string>{"launchf.wav"});

  c->Energy = 70;  // without a target: 1 in 600 once the fireball is free
  c->Dir = 'd';
  t.g.Fireballs[2].State = FireCleared;
  Run({0, 0, 601, 0, 0});
  EXPECT_EQ(t.g.Fireballs[2].State, 'f');
  EXPECT_EQ(t.g.Fireballs[2].Dir, 'd');
}

TEST_F(ComputerTest, OnlyAServerBringsAKilledComputerBackAtTheNextFrameZero) {
  t.g.IsServer = 1;
  t.g.MaxPlayers = 8;
  t.g.FrameCounter = 3;
  KillPlayer(t.g, 2, 0);
  EndFrame(t.g);
  while (t.g.FrameCounter != 0) {
    GameStep(t.g);
    EXPECT_NE(c->Life, Alive) << int(t.g.FrameCounter);
    EndFrame(t.g);
  }
  GameStep(t.g);
  EXPECT_EQ(c->Life, Alive);
  EXPECT_EQ(c->X, t.g.SpawnX);
  EXPECT_EQ(c->Y, t.g.SpawnY);

  t.g.IsServer = 0;  // a client never brings them back
  t.g.IsClient = 1;
  c->Life = Dead;
  for (int k = 0; k < 16; ++k) {
    GameStep(t.g);
    EndFrame(t.g);
  }
  EXPECT_EQ(c->Life, Dead);
}

}  // namespace
