#include "game/game_step.h"

#include <gtest/gtest.h>

#include "support/test_game.h"
#include "game/arena.h"

namespace {

int BoardsSent(TestGame& t) {
  int n = 0;
  for (const auto& d : t.socket().sent)
    if (d.bytes.size() > 2 && d.bytes[0] == 'P' && d.bytes[1] == 'M' && d.bytes[2] == 't') ++n;
  return n;
}

TEST(GameStepTest, WarnsTheLocalPlayerWhoseShieldIsAboutToDrop) {
  TestGame t;
  WalledArena(t.g);
  t.g.SoundsOn = 1;
  PlayerSlot& p = Place(t.g, 0, 200, 200);
  p.Shield = 1;
  p.Energy = 1;
  t.g.LocalSlot = 256;  // only the low byte counts
  GameStep(t.g);
  EXPECT_EQ(t.rec.audio.effects, std::vector<std::string>{"shielddo.wav"});
  EXPECT_EQ(p.Energy, 0);
  EXPECT_EQ(p.Shield, 1);  // drops at the next step

  t.rec.audio.effects.clear();
  GameStep(t.g);  // energy 0: no second warning
  EXPECT_EQ(p.Shield, 0);
  for (int other : {kNoSlot, 8, 1}) {
    p.Shield = 1;
    p.Energy = 1;
    t.g.LocalSlot = other;
    GameStep(t.g);
  }
  EXPECT_TRUE(t.rec.audio.effects.empty());
}

TEST(GameStepTest, PrePassKeepsDrawnPositionsAndTheLeadersFrags) {
  TestGame t;
  WalledArena(t.g);
  PlayerSlot& a = Place(t.g, 0, 200, 200);
  a.Dir = a.WantDir = 'r';
  a.Frags = 4;
  Place(t.g, 1, 400, 400).Frags = 6;
  t.g.Players[2].Frags = 90;  // inactive: not a leader
  Fireball& f = t.g.Fireballs[0];
  f.State = FireFlying;
  f.Dir = 'd';
  f.X = 100;
  f.Y = 100;
  t.g.LeaderFrags = 200;
  GameStep(t.g);
  EXPECT_EQ(t.g.LeaderFrags, 6);
  EXPECT_EQ(a.DrawX, 200);
  EXPECT_EQ(a.X, 204);
  EXPECT_EQ(f.DrawY, 100);
  EXPECT_EQ(f.Y, 110);
}

TEST(GameStepTest, ClientWithoutPredictionOnlyListens) {
  TestGame t;
  WalledArena(t.g);
  t.g.IsClient = 1;
  t.g.PredictionOn = 0;
  PlayerSlot& p = Place(t.g, 0, 200, 200);
  p.Dir = p.WantDir = 'r';
  p.Energy = 3;
  const uint64_t draws = t.g.Rng.Draws();
  GameStep(t.g);
  EXPECT_EQ(t.g.ClientQuiet, 1u);
  EXPECT_EQ(t.g.ServerSilence, 1u);
  EXPECT_EQ(p.X, 200);
  EXPECT_EQ(p.DrawX, 200);
  EXPECT_EQ(p.Energy, 3);
  EXPECT_EQ(t.g.SendParity, 0);
  EXPECT_EQ(t.g.Rng.Draws(), draws);

  t.g.PredictionOn = 1;  // with prediction the rules run on the copy
  GameStep(t.g);
  EXPECT_EQ(p.X, 204);
  EXPECT_EQ(p.Energy, 4);
  EXPECT_EQ(t.g.SendParity, 1);
  EXPECT_EQ(t.g.ServerSilence, 2u);
}

TEST(GameStepTest, ServerWithItsOwnPlayerKeepsNoWatchdog) {
  TestGame t;
  t.g.IsServer = t.g.IsClient = 1;
  t.g.LocalSlot = 0;
  GameStep(t.g);
  GameStep(t.g);
  EXPECT_EQ(t.g.ServerSilence, 0u);
  EXPECT_EQ(t.g.ClientQuiet, 0u);
  EXPECT_EQ(t.g.SendParity, 0);  // flipped twice
}

TEST(GameStepTest, BoardGoesOutAgainOnceIn500Steps) {
  TestGame t;
  WalledArena(t.g);
  t.g.IsServer = 1;
  t.g.AllowInternet = 1;
  t.g.MaxPlayers = 2;
  Place(t.g, 1, 200, 200).Address = NetAddress::Of(127, 0, 0, 2, 2727);
  t.g.Rng.Script({500});
  GameStep(t.g);
  EXPECT_EQ(BoardsSent(t), 0);
  t.g.Rng.Script({501});
  GameStep(t.g);
  EXPECT_EQ(BoardsSent(t), 1);
  EXPECT_EQ(t.g.Rng.ScriptLeft(), 0u);

  t.g.AllowInternet = 0;  // a server for this machine only sends nothing
  t.g.Rng.Script({1});
  GameStep(t.g);
  EXPECT_EQ(BoardsSent(t), 1);
}

TEST(GameStepTest, FireballLaunchedByAComputerFliesInTheSameStep) {
  TestGame t;
  WalledArena(t.g);
  t.g.IsServer = 1;
  PlayerSlot& c = Place(t.g, 3, 200, 200, KindComputer);
  c.Energy = 69;  // full after the energy pass
  // 200, 300, 600 (fires), steering (stands: up), then the board's 500.
  t.g.Rng.Script({0, 0, 1, 0, 0});
  GameStep(t.g);
  const Fireball& f = t.g.Fireballs[3];
  EXPECT_EQ(f.State, 'f');
  EXPECT_EQ(f.X, 200 - 39 - 10);
  EXPECT_EQ(c.Energy, 0);
  EXPECT_EQ(t.g.Rng.ScriptLeft(), 0u);
}

TEST(GameStepTest, IdleGameWithNobodyChangesNothing) {
  TestGame t;
  WalledArena(t.g);
  GameState before;
  before.Tiles = t.g.Tiles;
  GameStep(t.g);
  EXPECT_EQ(t.g.Tiles, before.Tiles);
  for (int i = 0; i < kSlotCount; ++i) {
    EXPECT_EQ(t.g.Players[i].Active, 0);
    EXPECT_EQ(t.g.Fireballs[i].State, 'n');
  }
  EXPECT_TRUE(t.socket().sent.empty());
  EXPECT_TRUE(t.rec.audio.effects.empty());
}

}  // namespace
