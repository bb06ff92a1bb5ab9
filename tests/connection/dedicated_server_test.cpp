// The dedicated server's command line and set-up.
#include "connection/dedicated_server.h"

#include <gtest/gtest.h>

#include "game/game_state.h"
#include "support/test_game.h"

namespace {

ParseResult Parse(std::vector<std::string> args, DedicatedOptions* o, std::string* err = nullptr) {
  std::string e;
  return ParseDedicatedOptions(args, o, err ? err : &e);
}

TEST(DedicatedOptionsTest, DefaultsAndEveryOption) {
  DedicatedOptions o;
  ASSERT_EQ(Parse({}, &o), ParseResult::Run);
  EXPECT_EQ(o.Port, 2727);
  EXPECT_EQ(o.TickInterval, 40);
  EXPECT_EQ(o.MaxPlayers, 8);
  EXPECT_TRUE(o.ComputerFill);
  EXPECT_EQ(o.MapFile, "pakmap.map");
  EXPECT_FALSE(o.Seeded);

  DedicatedOptions all;
  ASSERT_EQ(Parse({"--port", "65000", "--speed", "slow", "--max-players", "1", "--no-computer",
                   "--map", "x.map", "--seed", "4294967295"},
                  &all),
            ParseResult::Run);
  EXPECT_EQ(all.Port, 65000);
  EXPECT_EQ(all.TickInterval, 60);
  EXPECT_EQ(all.MaxPlayers, 1);
  EXPECT_FALSE(all.ComputerFill);
  EXPECT_EQ(all.MapFile, "x.map");
  EXPECT_TRUE(all.Seeded);
  EXPECT_EQ(all.Seed, 4294967295u);
  DedicatedOptions gen;
  ASSERT_EQ(Parse({"--generate"}, &gen), ParseResult::Run);
  EXPECT_TRUE(gen.Generate);
  EXPECT_EQ(Parse({"--help"}, &gen), ParseResult::Help);
}

TEST(DedicatedOptionsTest, BadArgumentsAreRefused) {
  const std::vector<std::vector<std::string>> bad = {
      {"--port", "0"},       {"--port", "65001"},   {"--port", "27x"}, {"--port"},
      {"--speed", "medium"}, {"--max-players", "0"}, {"--max-players", "9"},
      {"--seed", "-1"},      {"--map", "a", "--generate"}, {"--frobnicate"}, {"--map", ""}};
  for (const auto& args : bad) {
    DedicatedOptions o;
    std::string err;
    EXPECT_EQ(Parse(args, &o, &err), ParseResult::Bad) << args[0];
    EXPECT_FALSE(err.empty());
  }
}

TEST(DedicatedServerTest, StartSetsUpComputerPlacesAndBindsThePort) {
  ScopedTempDir dir;
  WriteFile("pakmap.map", BorderMapText());
  TestGame t;
  DedicatedOptions o;
  o.MaxPlayers = 3;
  o.Port = 4321;
  o.Seeded = true;
  o.Seed = 3;
  std::vector<std::string> posted;
  t.g.OnBoardLine = [&](const char* text) { posted.push_back(text); };
  ASSERT_EQ(StartDedicatedServer(t.g, o), StartResult::Started);
  EXPECT_EQ(t.socket().boundPort, 4321);
  EXPECT_EQ(t.g.ConnectionStatus, "Server, port 4321");
  EXPECT_EQ(t.g.LocalSlot, kNoSlot);
  EXPECT_EQ(t.g.AllowInternet, 1);
  for (int i = 0; i < kSlotCount; ++i) {
    EXPECT_EQ(t.g.Players[i].Active, i < 3 ? 1 : 0);
    EXPECT_EQ(t.g.Fireballs[i].State, 'n');
    EXPECT_EQ(t.g.Fireballs[i].Y, 640);
  }
  EXPECT_STREQ(t.g.Players[2].Name, "Comp 3");
  EXPECT_EQ(t.g.Players[2].Kind, 'c');
  EXPECT_TRUE(posted.empty());
  AnnounceDedicatedServer(t.g);
  EXPECT_EQ(t.g.IsServer, 1);
  EXPECT_EQ(posted, std::vector<std::string>{"=Server Started="});

  TestGame noMap;
  o.MapFile = "absent.map";
  EXPECT_EQ(StartDedicatedServer(noMap.g, o), StartResult::MapFailed);
  TestGame busy;
  busy.socket().bindResult = false;
  o.MapFile = "pakmap.map";
  o.ComputerFill = false;
  EXPECT_EQ(StartDedicatedServer(busy.g, o), StartResult::BindFailed);
  EXPECT_EQ(busy.g.Players[0].Active, 0);
}

}  // namespace

namespace {

TEST(DedicatedServerTest, LoopStepsOnTimeAndMakesTheFrameTransitions) {
  ScopedTempDir dir;
  WriteFile("pakmap.map", BorderMapText());
  TestGame t;
  DedicatedOptions o;
  o.ComputerFill = false;
  ASSERT_EQ(StartDedicatedServer(t.g, o), StartResult::Started);
  AnnounceDedicatedServer(t.g);
  // A player exploding at the end of the frame before FrameCounter 0, and a
  // fireball that has finished exploding.
  PlayerSlot& p = t.g.Players[3];
  p.Active = 1;
  p.Life = Exploding;
  t.g.FrameCounter = 7;
  t.g.Fireballs[5].State = FireCleared;
  t.g.Fireballs[5].X = 200;
  t.g.Fireballs[5].Y = 200;
  int calls = 0;
  RunDedicatedServer(t.g, [&] {
    t.rec.clock.now += 41;  // each check finds a step due
    return ++calls <= 1;
  });
  EXPECT_EQ(t.g.FrameCounter, 0);
  EXPECT_EQ(p.Life, Dead);
  EXPECT_EQ(t.g.Fireballs[5].State, 'n');
  EXPECT_EQ(t.g.Fireballs[5].Y, 640);

  // Nothing is due: the loop waits instead of stepping.
  calls = 0;
  t.g.LastStepTime = t.rec.clock.now;
  auto before = t.g.FrameCounter;
  RunDedicatedServer(t.g, [&] { return ++calls <= 2; });
  EXPECT_EQ(t.g.FrameCounter, before);
}

}  // namespace
