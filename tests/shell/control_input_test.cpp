#include "shell/control_input.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/test_game.h"

namespace {

// A game with the user's player in slot 0 on an open floor.
struct LocalGame : TestGame {
  explicit LocalGame(bool client) {
    for (int r = 1; r < 13; ++r)
      for (int c = 1; c < 13; ++c) g.Tiles[r * 14 + c] = 0;
    g.SoundsOn = 1;
    g.LocalSlot = 0;
    g.IsClient = 1;
    g.IsServer = client ? 0 : 1;
    g.AllowInternet = 1;
    g.ServerAddress = NetAddress::Of(127, 0, 0, 9, 2727);
    PlayerSlot& p = g.Players[0];
    p.Active = 1;
    p.Life = Alive;
    p.X = p.Y = 200;
    p.Dir = p.WantDir = 's';
  }
  PlayerSlot& me() { return g.Players[0]; }
  std::vector<std::string> keysSent() {
    std::vector<std::string> out;
    for (const auto& d : socket().sent) out.emplace_back(d.bytes.begin(), d.bytes.end());
    return out;
  }
};

TEST(ControlInputTest, ClientSendsADirectionOncePerChange) {
  LocalGame t(true);
  t.g.ClientQuiet = 50;
  ApplyControlKey(t.g, 'r');
  ApplyControlKey(t.g, 'r');  // held: the system repeats the key
  ApplyControlKey(t.g, 'l');
  auto sent = t.keysSent();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0], "PMgr - Key Signature");
  EXPECT_EQ(sent[1], "PMgl - Key Signature");
  EXPECT_EQ(t.socket().sent[0].addr, t.g.ServerAddress);
  EXPECT_EQ(t.me().WantDir, 'l');
  EXPECT_EQ(t.g.ClientQuiet, 0u);

  t.g.LocalSlot = 8;  // not one of the eight places: no effect
  ApplyControlKey(t.g, 'r');
  EXPECT_EQ(t.socket().sent.size(), 2u);
}

TEST(ControlInputTest, ShieldNeedsEnergyButTheKeyStillTravels) {
  LocalGame t(true);
  t.me().Energy = 0;
  ApplyControlKey(t.g, 'p');
  EXPECT_EQ(t.me().Shield, 0);
  EXPECT_TRUE(t.rec.audio.effects.empty());
  ASSERT_EQ(t.keysSent().size(), 1u);
  EXPECT_EQ(t.keysSent()[0], "PMgp - Key Signature");

  t.me().Energy = 10;
  ApplyControlKey(t.g, 'p');
  ApplyControlKey(t.g, 'p');
  EXPECT_EQ(t.me().Shield, 1);
  // The sound repeats while Shift is held, the shield already up.
  EXPECT_EQ(t.rec.audio.effects, (std::vector<std::string>{"shieldup.wav", "shieldup.wav"}));
  ApplyControlKey(t.g, 'a');
  EXPECT_EQ(t.me().Shield, 0);
  EXPECT_EQ(t.rec.audio.effects.back(), "shielddo.wav");
}

TEST(ControlInputTest, FiringNeedsFullEnergyAndNoFireballInTheAir) {
  LocalGame t(false);
  t.me().Energy = 69;
  ApplyControlKey(t.g, 'a');
  ApplyControlKey(t.g, 'b');
  EXPECT_EQ(t.g.Fireballs[0].State, 'n');

  t.me().Energy = 70;
  t.me().Dir = 's';  // a stopped player fires to the left
  ApplyControlKey(t.g, 'b');
  EXPECT_EQ(t.g.Fireballs[0].State, 'f');
  EXPECT_EQ(t.g.Fireballs[0].Dir, 'l');
  EXPECT_EQ(t.g.Fireballs[0].X, 200 - 39);
  EXPECT_EQ(t.me().Energy, 0);
  EXPECT_EQ(t.rec.audio.effects.back(), "launchf.wav");

  t.me().Energy = 70;
  ApplyControlKey(t.g, 'b');  // still flying: nothing leaves
  EXPECT_EQ(t.me().Energy, 70);
  EXPECT_TRUE(t.socket().sent.empty());  // a server's own player sends nothing
}

TEST(ControlInputTest, DeadPlayerReappearsOnAServerOnly) {
  LocalGame server(false);
  server.me().Life = Dead;
  ApplyControlKey(server.g, 'b');
  EXPECT_EQ(server.me().Life, Alive);
  EXPECT_EQ(server.me().X, server.g.SpawnX);
  EXPECT_EQ(server.g.Fireballs[0].State, 'n');  // dying left the energy at 0

  LocalGame client(true);
  client.me().Life = Dead;
  ApplyControlKey(client.g, 'b');
  EXPECT_EQ(client.me().Life, Dead);
  EXPECT_EQ(client.keysSent().size(), 1u);
}

TEST(ControlInputTest, EnterSendsTheChatLineThenTheKeyOrPutsTheServersOnTheBoard) {
  LocalGame t(true);
  std::strcpy(t.g.ChatInput, "hi all");
  t.g.ChatInputLength = 6;
  ApplyControlKey(t.g, 't');
  auto sent = t.keysSent();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0], std::string("PMthi all", 9) + '\0');
  EXPECT_EQ(sent[1], "PMgt - Key Signature");
  EXPECT_EQ(t.g.ChatInput[0], 0);
  ApplyControlKey(t.g, 't');  // empty entry, 't' already wanted: nothing
  EXPECT_EQ(t.keysSent().size(), 2u);

  LocalGame server(false);
  const uint8_t colour[3] = {255, 255, 1};
  std::copy_n(colour, 3, server.g.PlayerColours[0]);
  std::strcpy(server.g.ChatInput, "gg");
  server.g.ChatInputLength = 2;
  ApplyControlKey(server.g, 't');
  EXPECT_STREQ(server.g.Board.Lines[7], "\xff\xff\x01gg");
  EXPECT_EQ(server.rec.audio.effects.back(), "ring.wav");
  EXPECT_EQ(server.g.ChatInputLength, 0);
}

}  // namespace
