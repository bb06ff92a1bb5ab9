#include "connection/game_step.h"

#include <gtest/gtest.h>

#include "game/arena.h"
#include "support/test_game.h"

namespace {

struct GameStepTest : ::testing::Test {
  TestGame t;
  void SetUp() override { WalledArena(t.g); }
};

TEST_F(GameStepTest, WarnsTheLocalPlayerWhoseShieldIsAboutToDrop) {
  t.g.SoundsOn = 1;
  PlayerSlot& p = Place(t.g, 0, 200, 200);
  for (int local : {256, 1}) {  // only the low byte of LocalSlot counts
    p.Shield = 1;
    p.Energy = 1;
    t.g.LocalSlot = local;
    GameStep(t.g);
    EXPECT_EQ(p.Shield, 1);  // drops at the next step
  }
  EXPECT_EQ(t.rec.audio.effects, std::vector<std::string>{"shielddo.wav"});
}

TEST_F(GameStepTest, PrePassKeepsDrawnPositionsAndTheLeadersFrags) {
  PlayerSlot& a = Place(t.g, 0, 200, 200);
  a.Dir = a.WantDir = 'r';
  Place(t.g, 1, 400, 400).Frags = 6;
  t.g.Players[2].Frags = 90;  // inactive: not a leader
  Fireball& f = t.g.Fireballs[0];
  f.State = FireFlying;
  f.Dir = 'd';
  f.X = f.Y = 100;
  GameStep(t.g);
  EXPECT_EQ(t.g.LeaderFrags, 6);
  EXPECT_EQ(a.DrawX, 200);
  EXPECT_EQ(a.X, 204);
  EXPECT_EQ(f.DrawY, 100);
  EXPECT_EQ(f.Y, 110);
}

TEST_F(GameStepTest, ClientRunsTheRulesOnlyWithPrediction) {
  t.g.IsClient = 1;
  t.g.PredictionOn = 0;
  PlayerSlot& p = Place(t.g, 0, 200, 200);
  p.Dir = p.WantDir = 'r';
  GameStep(t.g);
  EXPECT_EQ(t.g.ServerSilence, 1u);
  EXPECT_EQ(p.X, 200);
  EXPECT_EQ(p.Energy, 0);
  t.g.PredictionOn = 1;
  GameStep(t.g);
  EXPECT_EQ(p.X, 204);
  EXPECT_EQ(p.Energy, 1);
  EXPECT_EQ(t.g.ServerSilence, 2u);
}

TEST_F(GameStepTest, BoardGoesOutAgainOnceIn500StepsToInternetPlayers) {
  auto boards = [&] {
    int n = 0;
    for (const auto& d : t.socket().sent) n += d.bytes.size() == 255 && d.bytes[2] == 't';
    return n;
  };
  t.g.IsServer = t.g.AllowInternet = 1;
  t.g.MaxPlayers = 2;
  Place(t.g, 1, 200, 200).Address = NetAddress::Of(127, 0, 0, 2, 2727);
  t.g.Rng.Script({500, 501});
  GameStep(t.g);
  EXPECT_EQ(boards(), 0);
  GameStep(t.g);
  EXPECT_EQ(boards(), 1);
  t.g.AllowInternet = 0;
  t.g.Rng.Script({1});
  GameStep(t.g);
  EXPECT_EQ(boards(), 1);
}

TEST_F(GameStepTest, FireballLaunchedByAComputerFliesInTheSameStep) {
  t.g.IsServer = 1;
  PlayerSlot& c = Place(t.g, 3, 200, 200, KindComputer);
  c.Energy = 69;  // full after the energy pass
  // 200, 300, 600 (fires), steering (stands: up), then the board's 500.
  t.g.Rng.Script({0, 0, 1, 0, 0});
  GameStep(t.g);
  EXPECT_EQ(t.g.Fireballs[3].State, 'f');
  EXPECT_EQ(t.g.Fireballs[3].X, 200 - 39 - 10);
  EXPECT_EQ(t.g.Rng.ScriptLeft(), 0u);
}

}  // namespace
