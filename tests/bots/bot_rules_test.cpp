// The bots' command line and the keys their rules choose.
#include <gtest/gtest.h>

#include "bots/bot_options.h"
#include "bots/bot_player.h"
#include "game/game_state.h"

namespace {

struct ArgsRow {
  std::vector<std::string> args;
  ParseResult result;
};

TEST(BotOptions, GoodAndBadCommandLines) {
  const ArgsRow rows[] = {
      {{}, ParseResult::Run},
      {{"--help"}, ParseResult::Help},
      {{"--count", "8", "--port", "65000", "--seconds", "1"}, ParseResult::Run},
      {{"--count", "253"}, ParseResult::Run},
      {{"--count", "254"}, ParseResult::Bad},
      {{"--count", "0"}, ParseResult::Bad},
      {{"--port", "0"}, ParseResult::Bad},
      {{"--port", "65001"}, ParseResult::Bad},
      {{"--port", "12x"}, ParseResult::Bad},
      {{"--seconds", "0"}, ParseResult::Bad},
      {{"--loss", "100"}, ParseResult::Run},
      {{"--loss", "100.5"}, ParseResult::Bad},
      {{"--loss", "-1"}, ParseResult::Bad},
      {{"--reorder", "nan"}, ParseResult::Bad},
      {{"--delay", "10001"}, ParseResult::Bad},
      {{"--seed", "4294967296"}, ParseResult::Bad},
      {{"--server"}, ParseResult::Bad},
      {{"--server", ""}, ParseResult::Bad},
      {{"--bots", "2"}, ParseResult::Bad},
  };
  for (const ArgsRow& row : rows) {
    BotOptions o;
    std::string error;
    std::string shown;
    for (const std::string& a : row.args) shown += a + " ";
    EXPECT_EQ(ParseBotOptions(row.args, &o, &error), row.result) << shown;
    if (row.result == ParseResult::Bad) {
      EXPECT_FALSE(error.empty()) << shown;
    }
  }
}

TEST(BotOptions, ValuesAreTaken) {
  BotOptions o;
  std::string error;
  ASSERT_EQ(ParseBotOptions({"--server", "127.0.0.1", "--port", "2800", "--count", "3",
                             "--seconds", "9", "--seed", "4", "--loss", "20", "--duplicate",
                             "5", "--reorder", "2.5", "--delay", "30"},
                            &o, &error),
            ParseResult::Run);
  EXPECT_EQ(o.Server, "127.0.0.1");
  EXPECT_EQ(o.Port, 2800);
  EXPECT_EQ(o.Count, 3);
  EXPECT_EQ(o.Seconds, 9);
  EXPECT_TRUE(o.Seeded);
  EXPECT_EQ(o.Seed, 4u);
  EXPECT_DOUBLE_EQ(o.Faults.Loss, 0.20);
  EXPECT_DOUBLE_EQ(o.Faults.Duplicate, 0.05);
  EXPECT_DOUBLE_EQ(o.Faults.Reorder, 0.025);
  EXPECT_EQ(o.Faults.DelayMs, 30u);
}

// A client's copy with its own player alone on the field in place 2.
GameState LonePlayer(int energy, int dir) {
  GameState g;
  g.IsClient = 1;
  g.LocalSlot = 2;
  PlayerSlot& p = g.Players[2];
  p.Kind = KindInternet;
  p.Active = 1;
  p.Life = Alive;
  p.X = 100;
  p.Y = 100;
  p.Energy = static_cast<uint8_t>(energy);
  p.Dir = dir;
  p.WantDir = dir;
  return g;
}

struct KeysRow {
  int energy;
  int dir;
  std::vector<int> draws;  // the bot's generator, in the order the rules draw
  std::string keys;
};

TEST(BotPlayer, RulesBecomeKeysAndTheCopyStaysAsItWas) {
  // Alone on the field the rules draw: raise the shield (1 in 200), drop it
  // (1 in 300), [fire (1 in 600) at full energy], then steer.
  const KeysRow rows[] = {
      {0, DirStop, {0, 0, 3}, "r"},            // stopped: a new way, chosen at random
      {5, DirStop, {1, 0, 0}, "up"},           // shield up too
      {0, DirStop, {1, 0, 1}, "d"},            // no shield without energy
      {70, DirStop, {0, 0, 1, 2}, "lb"},       // fire at full energy
      {70, DirUp, {0, 0, 0, 1, 2}, "r"},       // moving: 1 in 20 turns aside
      {70, DirUp, {0, 0, 0, 1, 3}, ""},        // ... and usually not
      {69, DirLeft, {0, 0, 0, 2}, "u"},
  };
  for (const KeysRow& row : rows) {
    GameState g = LonePlayer(row.energy, row.dir);
    const uint64_t gameDraws = g.Rng.Draws();
    RandomSource rng;
    rng.Script(row.draws);
    EXPECT_EQ(ChooseBotKeys(g, rng), row.keys) << row.energy << " " << static_cast<char>(row.dir);
    EXPECT_EQ(rng.ScriptLeft(), 0u);
    EXPECT_EQ(g.Rng.Draws(), gameDraws);
    const PlayerSlot& p = g.Players[2];
    EXPECT_EQ(p.Kind, KindInternet);
    EXPECT_EQ(p.WantDir, row.dir);
    EXPECT_EQ(p.Shield, 0);
    EXPECT_EQ(p.Energy, row.energy);
    EXPECT_EQ(g.Fireballs[2].State, FireNone);
  }
}

TEST(BotPlayer, DeadAsksBackOnFrameZeroAndNoPlaceNoKeys) {
  GameState g = LonePlayer(0, DirStop);
  g.Players[2].Life = Dead;
  RandomSource rng;
  g.FrameCounter = 1;
  EXPECT_EQ(ChooseBotKeys(g, rng), "");
  g.FrameCounter = 0;
  EXPECT_EQ(ChooseBotKeys(g, rng), "b");
  g.LocalSlot = kNoSlot;
  EXPECT_EQ(ChooseBotKeys(g, rng), "");
  EXPECT_EQ(rng.Draws(), 0u);
}

}  // namespace
