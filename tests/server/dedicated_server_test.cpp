// The dedicated server's command line, set-up and loop.
#include "server/dedicated_server.h"

#include <gtest/gtest.h>

#include <tuple>

#include "game/game_state.h"
#include "support/test_game.h"

namespace {

TEST(DedicatedOptionsTest, DefaultsEveryOptionAndBadArguments) {
  DedicatedOptions o, all, gen;
  std::string err;
  ASSERT_EQ(ParseDedicatedOptions({}, &o, &err), ParseResult::Run);
  EXPECT_EQ(std::tuple(o.Port, o.TickInterval, o.MaxPlayers, o.ComputerFill, o.MapFile, o.Seeded),
            std::tuple(2727, 40, 8, true, std::string("pakmap.map"), false));
  ASSERT_EQ(ParseDedicatedOptions({"--port", "65000", "--speed", "slow", "--max-players", "1", "--no-computer", "--map",
                   "x.map", "--seed", "4294967295", "--require-token"},
                  &all, &err),
            ParseResult::Run);
  EXPECT_EQ(std::tuple(all.Port, all.TickInterval, all.MaxPlayers, all.ComputerFill, all.MapFile, all.Seed,
                       all.RequireToken),
            std::tuple(65000, 60, 1, false, std::string("x.map"), 4294967295u, true));
  EXPECT_FALSE(o.RequireToken);
  EXPECT_TRUE(all.Seeded);
  ASSERT_EQ(ParseDedicatedOptions({"--generate"}, &gen, &err), ParseResult::Run);
  EXPECT_TRUE(gen.Generate);
  EXPECT_EQ(ParseDedicatedOptions({"--help"}, &gen, &err), ParseResult::Help);
  EXPECT_EQ(ParseDedicatedOptions({"--version"}, &gen, &err), ParseResult::Version);
  EXPECT_TRUE(o.Dir.empty());
  ASSERT_EQ(ParseDedicatedOptions({"--dir", "/srv/vrask"}, &gen, &err), ParseResult::Run);
  EXPECT_EQ(gen.Dir, "/srv/vrask");
  EXPECT_FALSE(o.Agones);
  ASSERT_EQ(ParseDedicatedOptions({"--agones", "--metrics", "127.0.0.1:9100"}, &gen, &err), ParseResult::Run);
  EXPECT_EQ(std::tuple(gen.Agones, gen.MetricsHost, gen.MetricsPort), std::tuple(true, std::string("127.0.0.1"), 9100));

  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--port", "0"}, {"--port", "65001"}, {"--port", "27x"}, {"--port"}, {"--speed", "medium"},
           {"--max-players", "0"}, {"--max-players", "9"}, {"--seed", "-1"}, {"--map", "a", "--generate"},
           {"--frobnicate"}, {"--map", ""}, {"--dir", ""}, {"--dir"},
           {"--metrics", "9100"}, {"--metrics", ":9100"}, {"--metrics", "127.0.0.1:0"}, {"--metrics", "h:65536"}}) {
    err.clear();
    EXPECT_EQ(ParseDedicatedOptions(args, &o, &err), ParseResult::Bad) << args[0] << " " << args.back();
    EXPECT_FALSE(err.empty());
  }
}

TEST(DedicatedServerTest, StartSetsUpComputerPlacesAndBindsThePort) {
  ScopedTempDir dir;
  WriteFile("pakmap.map", BorderMapText() + "Walled square");
  TestGame t;
  DedicatedOptions o;
  o.MaxPlayers = 3;
  o.Port = 4321;
  std::vector<std::string> posted;
  t.g.OnBoardLine = [&](const char* text) { posted.push_back(text); };
  o.RequireToken = true;
  ASSERT_EQ(StartDedicatedServer(t.g, o), StartResult::Started);
  EXPECT_TRUE(t.g.RequireToken);
  EXPECT_NE(t.g.TokenKey, JoinTokenKey{});  // a key of its own, made at the start
  EXPECT_EQ(t.socket().boundPort, 4321);
  EXPECT_EQ(t.g.ConnectionStatus, "Server, port 4321");
  EXPECT_EQ(t.g.LocalSlot, kNoSlot);
  EXPECT_EQ(t.g.AllowInternet, 1);
  EXPECT_EQ(t.g.MapDescription, "Walled square");  // told to those looking for games
  for (int i = 0; i < kSlotCount; ++i) {
    EXPECT_EQ(t.g.Players[i].Active, i < 3 ? 1 : 0);
    EXPECT_EQ(t.g.Fireballs[i].Y, 640);
  }
  EXPECT_STREQ(t.g.Players[2].Name, "Comp 3");
  EXPECT_EQ(t.g.Players[2].Kind, 'c');
  EXPECT_TRUE(posted.empty());
  AnnounceDedicatedServer(t.g);
  EXPECT_EQ(t.g.IsServer, 1);
  EXPECT_EQ(posted, std::vector<std::string>{"=Server Started="});

  TestGame noMap, generated;
  o.MapFile = "absent.map";
  EXPECT_EQ(StartDedicatedServer(noMap.g, o), StartResult::MapFailed);
  o.Generate = true;  // a fresh maze needs no file
  ASSERT_EQ(StartDedicatedServer(generated.g, o), StartResult::Started);
  EXPECT_NE(generated.g.Tiles, t.g.Tiles);
  o.Generate = false;
  TestGame busy;
  busy.socket().bindResult = false;
  o.MapFile = "pakmap.map";
  EXPECT_EQ(StartDedicatedServer(busy.g, o), StartResult::BindFailed);
}

TEST(DedicatedServerTest, LoopStepsWhenDueAndMakesTheFrameTransitions) {
  ScopedTempDir dir;
  WriteFile("pakmap.map", BorderMapText());
  TestGame t;
  DedicatedOptions o;
  o.ComputerFill = false;
  ASSERT_EQ(StartDedicatedServer(t.g, o), StartResult::Started);
  AnnounceDedicatedServer(t.g);
  t.g.Fireballs[5] = Fireball{FireCleared, 200, 200, DirUp, 0, 0, 0};  // parked by the drawing
  int calls = 0;
  RunDedicatedServer(t.g, [&] { return ++calls <= 2; });  // no step due: it waits
  EXPECT_EQ(t.g.Fireballs[5].State, 'c');
  calls = 0;
  RunDedicatedServer(t.g, [&] {
    t.rec.clock.now += 41;  // each check finds a step due
    return ++calls <= 1;
  });
  EXPECT_EQ(t.g.Fireballs[5].State, 'n');
  EXPECT_EQ(t.g.Fireballs[5].Y, 640);
}

}  // namespace
