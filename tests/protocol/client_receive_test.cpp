// The client's receive: result codes, the sequence rule, what an update
// changes, the name as a sign of life, silence and prediction.
#include <gtest/gtest.h>

#include "connection/game_step.h"
#include "protocol/client_receive.h"
#include "tests/protocol/client_fixture.h"

namespace {

// Slot 0 of the source state at x, so that an applied update shows.
std::string UpdateAt(int x, uint8_t seq) {
  GameState src;
  src.Players[0].X = x;
  return UpdateBytes(src, seq);
}

TEST(ClientReceiveTest, SequenceNumbersDropAnOlderUpdateAndLetTheNextThrough) {
  struct Case {
    std::vector<int> seqs;
    std::vector<int> applied;
  } cases[] = {
      {{5, 6, 3, 7}, {1, 1, 0, 1}},
      {{255, 1, 1, 2}, {1, 0, 1, 1}},  // the server's wrap after 255
      {{4, 4}, {1, 1}},
  };
  for (const Case& c : cases) {
    ClientGame t;
    for (size_t k = 0; k < c.seqs.size(); ++k) {
      int x = 40 + 4 * static_cast<int>(k + 1);
      std::string u = UpdateAt(x, static_cast<uint8_t>(c.seqs[k]));
      int before = t.g.Players[0].X;
      int r = ApplyUpdate(t.g, reinterpret_cast<const uint8_t*>(u.data()), u.size());
      EXPECT_EQ(r, c.applied[k] ? kReceiveUpdate : kReceiveNothing) << c.seqs[k];
      EXPECT_EQ(t.g.Players[0].X, c.applied[k] ? x : before) << c.seqs[k];
    }
  }
}

TEST(ClientReceiveTest, AnUpdateWritesRecordsThatCarryTheirOwnNumberAndLiveFireballs) {
  ClientGame t;
  GameState src;
  for (int i = 0; i < kSlotCount; ++i) {
    PlayerSlot& p = src.Players[i];
    p.Kind = i == 4 ? KindComputer : KindInternet;
    p.Active = 1;
    p.X = 80 + i;
    p.Y = 300 + i;
    p.Dir = 'l';
    p.WantDir = 'u';
    p.Life = Exploding;
    p.Energy = 69;
    p.Frags = 12;
    p.Shield = 1;
    SetPlayerName(p, i == 2 ? "Eightchr" : "Ann");
  }
  src.Fireballs[0] = Fireball{FireFlying, 100, 200, 'r', 0, 0, 0};
  src.Fireballs[1] = Fireball{FireCleared, 110, 210, 'u', 0, 0, 0};
  src.Fireballs[2] = Fireball{FireNone, 120, 220, 'd', 0, 0, 0};
  src.Fireballs[7] = Fireball{FireExploding, 300, 400, 'd', 0, 0, 0};
  std::string u = UpdateBytes(src, 9);
  u[3 + 21 * 3 + 1] = 'y';  // this copy goes to slot 3
  u[3 + 21 * 6] = 9;        // record 6 does not carry its number 7
  for (Fireball& f : t.g.Fireballs) f = Fireball{FireNone, 7, 8, 'l', 0, 0, 0};
  t.g.Players[6].X = 44;

  ASSERT_EQ(ApplyUpdate(t.g, reinterpret_cast<const uint8_t*>(u.data()), u.size()), kReceiveUpdate);
  EXPECT_EQ(t.g.LocalSlot, 3);
  EXPECT_EQ(t.g.Players[3].Kind, KindInternet);
  EXPECT_EQ(t.g.Players[4].Kind, KindComputer);
  EXPECT_EQ(t.g.Players[6].X, 44);  // unchanged
  const PlayerSlot& p = t.g.Players[2];
  EXPECT_EQ(std::tie(p.X, p.Y, p.Dir, p.WantDir, p.Life, p.Active),
            std::make_tuple(82, 302, int('l'), int('u'), int(Exploding), 1));
  EXPECT_EQ(std::tie(p.Energy, p.Frags, p.Shield, p.Number),
            std::make_tuple(uint8_t(69), uint8_t(12), uint8_t(1), uint8_t(3)));
  EXPECT_STREQ(p.Name, "Eightchr");
  EXPECT_STREQ(t.g.Players[5].Name, "Ann");
  // Flying and exploding fireballs move; cleared and unused ones keep their
  // place; the last record carries no y or direction: they are rebuilt
  // (EighthFireballTest), never kept from before.
  const Fireball* f = t.g.Fireballs.data();
  EXPECT_EQ(std::tie(f[0].State, f[0].X, f[0].Y, f[0].Dir), std::make_tuple('f', 100, 200, int('r')));
  EXPECT_EQ(std::tie(f[1].State, f[1].X, f[1].Y), std::make_tuple('c', 7, 8));
  EXPECT_EQ(std::tie(f[2].State, f[2].X, f[2].Y), std::make_tuple('n', 7, 8));
  EXPECT_EQ(std::tie(f[7].State, f[7].X), std::make_tuple('e', 300));
  EXPECT_NE(f[7].Y, 8);
}

TEST(ClientReceiveTest, ResultCodesAndWhatIsLeftWaiting) {
  ClientGame t;
  EXPECT_EQ(ClientReceive(t.g), kReceiveNothing);  // nothing waiting
  t.FromServer("XYZ not ours");
  t.FromServer("PMt");
  EXPECT_EQ(ClientReceive(t.g), kReceiveDropped);
  EXPECT_EQ(t.socket().inbox.size(), 1u);  // the notice waits for the next step
  t.g.LastServerMessage[100] = 77;
  EXPECT_EQ(ClientReceive(t.g), kReceiveNotice);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(t.g.LastServerMessage), 4), std::string("PMt\0", 4));
  EXPECT_EQ(t.g.LastServerMessage[100], 0);  // nothing of an older notice is left
  t.FromServer(UpdateAt(60, 1).substr(0, 217));  // cut short: cannot be applied
  EXPECT_EQ(ClientReceive(t.g), kReceiveDropped);
  // Another port of the server's host is someone else.
  t.socket().Queue(NetAddress::Of(10, 0, 0, 1, 2728), "PMs - I am shutting down, ta ta...");
  EXPECT_EQ(ClientReceive(t.g), kReceiveNothing);
  EXPECT_TRUE(t.socket().inbox.empty());
  EXPECT_TRUE(t.Sent().empty());

  // Not yet a client, or quiet for more than 200 steps: the name goes out
  // instead, and any sequence number is welcome again.
  for (auto [client, quiet, sends] : {std::tuple{0, 0u, true}, {1, 200u, false}, {1, 201u, true}}) {
    t.rec.net.sent.clear();
    t.g.IsClient = client;
    t.g.ClientQuiet = quiet;
    t.g.LastUpdateSeq = 40;
    EXPECT_EQ(ClientReceive(t.g), kReceiveNothing);
    EXPECT_EQ(t.Sent(), sends ? std::vector<std::string>{std::string("PMnRex\0", 7)}
                              : std::vector<std::string>{});
    EXPECT_EQ(t.g.LastUpdateSeq, sends ? 0 : 40);
    EXPECT_EQ(t.g.ClientQuiet, sends ? 0u : quiet);
  }
}

TEST(ClientReceiveTest, QueuedUpdatesAreSkippedAtRandomButNeverTheLast) {
  int firstApplied = 0, secondApplied = 0;
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    ClientGame t;
    t.g.Rng.Seed(seed);
    t.FromServer(UpdateAt(44, 1));
    t.FromServer(UpdateAt(48, 2));
    ASSERT_EQ(ClientReceive(t.g), kReceiveUpdate);
    (t.g.Players[0].X == 44 ? firstApplied : secondApplied)++;
    EXPECT_EQ(t.socket().inbox.size(), t.g.Players[0].X == 44 ? 1u : 0u);
  }
  EXPECT_GT(firstApplied, 5);
  EXPECT_GT(secondApplied, 5);
}

TEST(ClientReceiveTest, AQuietClientSendsItsNameAndASilentServerIsGivenUpAtStep201) {
  ClientGame t;
  // An update at every step keeps the server alive; the client, sending
  // nothing, says its name again at the 201st step.
  for (int step = 1; step <= 201; ++step) {
    t.FromServer(UpdateAt(44, 1));
    GameStep(t.g);
    ASSERT_EQ(t.Sent().size(), step == 201 ? 1u : 0u) << step;
  }
  EXPECT_EQ(t.g.IsClient, 1);

  t.rec.net.sent.clear();
  t.socket().inbox.clear();
  // The last update came at step 200; sending the name took step 201's turn.
  EXPECT_EQ(t.g.ServerSilence, 1u);
  for (int step = 2; step <= 200; ++step) GameStep(t.g);
  EXPECT_EQ(t.g.IsClient, 1);
  EXPECT_EQ(t.g.ServerSilence, 200u);
  GameStep(t.g);
  EXPECT_EQ(t.g.IsClient, 0);
  ASSERT_EQ(t.rec.ui.boxes.size(), 1u);
  EXPECT_EQ(t.rec.ui.boxes[0].title, "You Were Disconnected");
  EXPECT_EQ(t.rec.ui.boxes[0].text,
            "The remote server has not sent any data for a long time.\nThe server may be "
            "experiencing technical difficulties or your internet connection may be down.");
  // The time-out notice, then EndGame's leaving datagram.
  std::vector<std::string> sent = t.Sent();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0], std::string("PMst - You have timed out") + std::string(230, '\0'));
  EXPECT_EQ(sent[1], "PMs - I am shutting down, ta ta...");
}

TEST(ClientReceiveTest, WithoutPredictionPlayersMoveOnlyWhenAnUpdateIsApplied) {
  for (int predict : {0, 1}) {
    ClientGame t;
    t.g.PredictionOn = predict;
    t.g.Tiles.fill(0);
    PlayerSlot& p = t.g.Players[1];
    p.Kind = KindInternet;  // not steered by the computer pass
    p.Active = 1;
    p.Life = Alive;
    p.X = p.Y = 200;
    p.Dir = p.WantDir = 'r';
    GameStep(t.g);
    EXPECT_EQ(p.X, predict ? 204 : 200);
    GameState src;
    src.Players[1] = p;
    src.Players[1].X = 240;
    t.FromServer(UpdateBytes(src, 1));
    GameStep(t.g);
    EXPECT_EQ(p.X, predict ? 244 : 240);  // the update, then the local rules
  }
}

}  // namespace
