// Clients joining an in-process server over loopback and playing: map,
// updates, keys, chat, kick, forged notices, shutdown, a silent server.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "connection/end_game.h"
#include "protocol/datagrams.h"
#include "protocol/join_token.h"
#include "shell/control_input.h"
#include "tests/connection/client_world.h"

namespace {

TEST(ClientLoopbackTest, TwoClientsJoinSteerChatOneIsKickedThenTheServerShutsDown) {
  ClientWorld w(60, false);  // no computer players to get in the way
  Program& anna = w.AddClient("127.0.0.2", "Anna");
  Program& bert = w.AddClient("127.0.0.3", "Bert");
  ASSERT_EQ(w.Join(anna), 1);
  ASSERT_EQ(w.Join(bert), 1);
  const int a = w.SlotOf("127.0.0.2"), b = w.SlotOf("127.0.0.3");
  ASSERT_GE(a, 0);
  ASSERT_GE(b, 0);
  for (Program* c : {&anna, &bert}) {
    EXPECT_EQ(c->g.Tiles, w.server.g.Tiles);  // the server's map, fetched
    EXPECT_EQ(c->g.TickInterval, 60);         // and its speed
    EXPECT_EQ(c->g.ConnectionStatus, "Client Connected");
  }
  // Names travel in the updates; each marks the receiver's own place.
  EXPECT_TRUE(w.StepUntil([&] { return std::string(anna.g.Players[b].Name) == "Bert"; }));
  EXPECT_STREQ(w.server.g.Players[a].Name, "Anna");
  EXPECT_EQ(anna.g.LocalSlot, a);
  EXPECT_EQ(bert.g.LocalSlot, b);

  // A key reaches the server: Anna raises her shield there.
  ASSERT_GT(w.server.g.Players[a].Energy, 0);
  EXPECT_EQ(w.server.g.Players[a].Shield, 0);
  ApplyControlKey(anna.g, 'p');
  // The server steps every 60 ms, the clients' time by 41: the next server
  // step falls within two of these.
  EXPECT_TRUE(w.StepUntil([&] { return w.server.g.Players[a].Shield == 1; }, 2));

  // A chat line reaches both boards, in Anna's colour.
  for (char c : std::string("hi all")) anna.g.ChatInput[anna.g.ChatInputLength++] = c;
  ApplyControlKey(anna.g, 't');
  EXPECT_TRUE(w.StepUntil([&] { return w.Newest(anna.g) == "hi all" && w.Newest(bert.g) == "hi all"; }));
  for (Program* c : {&anna, &bert}) {
    EXPECT_EQ(w.Newest(c->g), "hi all");
    EXPECT_EQ(std::memcmp(c->g.Board.Lines[7], w.server.g.PlayerColours[a], 3), 0);
  }
  EXPECT_NE(std::find(bert.audio.effects.begin(), bert.audio.effects.end(), "ring.wav"), bert.audio.effects.end());

  // A kick or a shutdown from another port of the server's host, or from
  // another host, is nobody's business.
  UdpTestClient forgerSameHost("127.0.0.1", bert.g.ServerAddress.port);
  UdpTestClient forgerElsewhere("127.0.0.9", 0);
  const NetAddress bertAt = w.server.g.Players[b].Address;
  for (UdpTestClient* f : {&forgerSameHost, &forgerElsewhere}) {
    f->SendTo("127.0.0.3", bertAt.port, "PMk");
    f->SendTo("127.0.0.3", bertAt.port, "PMs - I am shutting down, ta ta...");
  }
  w.Step(4);
  EXPECT_EQ(bert.g.IsClient, 1);
  EXPECT_TRUE(bert.ui.boxes.empty());

  // The real kick ends Bert's game; his goodbye reaches the server.
  DatagramBuffer kick;
  BuildKick(kick);
  SendDatagram(w.server.g, bertAt, kick.data(), kick.size(), "Send error #66");
  EXPECT_TRUE(w.StepUntil([&] { return !bert.g.IsClient; }));
  EXPECT_TRUE(w.StepUntil([&] { return w.Newest(w.server.g) == "Bert Has Left :("; }, 2));
  ASSERT_EQ(bert.ui.boxes.size(), 1u);
  EXPECT_EQ(bert.ui.boxes[0].text, "You have been kicked from the server");

  // The server shuts down: one message, and no time-out after it.
  EndGame(w.server.g);
  EXPECT_TRUE(w.StepUntil([&] { return !anna.g.IsClient; }));
  w.Step(250);
  ASSERT_EQ(anna.ui.boxes.size(), 1u);
  EXPECT_EQ(anna.ui.boxes[0].text, "Remote server closed connection");
}

TEST(ClientLoopbackTest, AQuietClientStaysASilentServerIsGivenUpAfter201Steps) {
  ClientWorld w;
  Program& c = w.AddClient("127.0.0.2", "Quiet");
  ASSERT_EQ(w.Join(c), 1);
  const int slot = w.SlotOf("127.0.0.2");
  // Sending no key for 450 steps: the name goes out as a sign of life, so
  // the server (which times out after 400 silent steps) keeps the player.
  w.Step(450);
  EXPECT_EQ(c.g.IsClient, 1);
  EXPECT_EQ(w.server.g.Players[slot].Kind, KindInternet);
  EXPECT_LT(c.g.ServerSilence, 3u);

  w.serverRuns = false;
  w.Step(3);  // whatever was still on its way
  const int left = 201 - static_cast<int>(c.g.ServerSilence);
  w.Step(left - 1);
  EXPECT_EQ(c.g.IsClient, 1);
  EXPECT_EQ(c.g.ServerSilence, 200u);
  w.Step();
  EXPECT_EQ(c.g.IsClient, 0);
  ASSERT_EQ(c.ui.boxes.size(), 1u);
  EXPECT_EQ(c.ui.boxes[0].title, "You Were Disconnected");
  // The server, back, reads the time-out notice as the player leaving.
  w.serverRuns = true;
  w.Step();
  EXPECT_EQ(w.Newest(w.server.g), "Quiet Has Left :(");
  EXPECT_EQ(w.server.g.Players[slot].Kind, KindComputer);
}

TEST(ClientLoopbackTest, ANewMapIsFetchedDuringTheGame) {
  ClientWorld w;
  Program& c = w.AddClient("127.0.0.2", "Mapper");
  ASSERT_EQ(w.Join(c), 1);
  w.Step(3);
  w.server.g.Tiles[5 * kMapSide + 5] = 9;
  DatagramBuffer notice;
  BuildMapNotice(notice);
  SendToInternetPlayers(w.server.g, notice.data(), notice.size(), "Send error #9");
  c.g.MapDirty = 0;
  EXPECT_TRUE(w.StepUntil([&] { return c.g.Tiles == w.server.g.Tiles; }));
  EXPECT_EQ(c.g.MapDirty, 1);
  EXPECT_EQ(c.g.IsClient, 1);
}

}  // namespace

// Our client against our server over loopback: through the handshake,
// with or without tokens required, and when the first challenge or the
// accept is lost (the attempt's second passes and the next carries on).
TEST(ClientLoopbackTest, TheClientJoinsThroughTheTokenHandshake) {
  const struct {
    bool require;
    char lost;         // the first datagram of this type is lost (0: none)
    uint32_t msTaken;  // the attempts' seconds
  } rows[] = {{false, 0, 2000}, {true, 0, 2000}, {true, 'h', 3000},
              // The next attempt returns the cookie at once and is sent
              // the accept again: one second, not two.
              {true, 'o', 3000}};
  for (const auto& r : rows) {
    ClientWorld w;
    w.server.g.RequireToken = r.require;
    w.server.g.TokenKey = NewJoinTokenKey();
    Program& c = w.AddClient("127.0.0.2", "Ann");
    int toLose = r.lost ? 1 : 0;
    w.clock.onSleep = [&] {
      w.CatchUpServer();
      ClientWorld::Settle();
      // Loses the datagram on its way: read and dropped before the client
      // looks.
      uint8_t buf[256];
      NetAddress from;
      // The accept comes with the place, the challenge before it: what is
      // waiting then is dropped.
      const bool due = (r.lost == 'o') == (w.SlotOf("127.0.0.2") >= 0);
      while (due && toLose > 0 && c.g.Socket->Pending() > 0) {
        c.g.Socket->ReceiveFrom(buf, sizeof buf, &from);
        if (buf[2] == r.lost) --toLose;
      }
    };
    const uint32_t start = w.clock.now;
    ASSERT_EQ(w.Join(c), 1) << r.require << r.lost;
    EXPECT_GE(w.SlotOf("127.0.0.2"), 0);
    EXPECT_EQ(w.clock.now - start >= r.msTaken && w.clock.now - start < r.msTaken + 1000, true)
        << w.clock.now - start;
  }
}
