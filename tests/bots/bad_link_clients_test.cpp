// Eight of the game's own clients (joining, map fetch, updates, notices,
// keep-alive; joined and stepped by the bots' own functions) and a server in one process over
// real loopback sockets, the clients behind the network-fault simulator.
// Every client must keep its place and its updates, and stay a client.
#include <gtest/gtest.h>

#include "bots/bot_session.h"
#include "connection/game_step.h"
#include "platform/faulty_socket.h"
#include "platform/posix_network.h"
#include "tests/protocol/loopback.h"
#include "tests/protocol/server_fixture.h"

namespace {

struct RealClient {
  NetAddress address;
  PosixNetwork posix;
  LinkFaults faults;
  FaultyNetwork link;
  RecordingUi ui;
  GameState g;
  RandomSource choices;
  bool joined = false;
  uint64_t updates = 0;
  int slot = -1;

  RealClient(int n, Clock& clock)
      : address(NetAddress::Of(127, 0, 0, static_cast<uint8_t>(2 + n), 0)),
        posix(address),
        faults{.Loss = 0.2, .Duplicate = 0.05, .Reorder = 0.05, .DelayMs = 30, .Seed = 300u + n},
        link(posix, faults, clock),
        choices(50u + n) {
    g.platform = Platform{&ui, &clock, nullptr, &link};
    g.Socket = link.CreateSocket();
    g.Nickname = "Bot " + std::to_string(n + 1);
    g.Rng.Seed(70u + n);
  }

  void Step() {
    GameStep(g);
    AfterBotStep(g, choices, &updates);
  }
};

TEST(BadLinkClientsTest, EightRealClientsKeepTheirPlacesAndUpdatesForThreeThousandSteps) {
  ServerGame s;
  PosixNetwork net;
  const uint16_t port = BindFreeUdpPort(net, s.g.Socket);
  ASSERT_NE(port, 0);
  FakeClock& clock = s.rec.clock;
  std::vector<std::unique_ptr<RealClient>> clients;
  for (int n = 0; n < 8; ++n) clients.push_back(std::make_unique<RealClient>(n, clock));

  // The world moves on whenever time passes, also while a client holds the
  // thread joining or fetching a map: the server steps every 40 ms and so
  // do the clients already in (but not from inside their own holds).
  uint32_t due = clock.now;
  bool inClients = false;
  auto tick = [&] {
    while (clock.now - due >= 40) {
      due += 40;
      GameStep(s.g);
      if (inClients) continue;
      inClients = true;
      for (auto& c : clients)
        if (c->joined) c->Step();
      inClients = false;
    }
  };
  clock.onSleep = tick;

  for (auto& c : clients) {
    c->joined = JoinAsBot(c->g, "127.0.0.1", port, c->faults, {}).Joined();
    ASSERT_TRUE(c->joined) << c->g.Nickname;
  }

  const int kSteps = 3000;
  std::vector<uint64_t> updatesBefore;
  for (int step = 0; step < kSteps; ++step) {
    if (step == kSteps - 500)
      for (auto& c : clients) updatesBefore.push_back(c->updates);
    clock.now += 40;
    tick();
    for (auto& c : clients) {
      ASSERT_TRUE(c->g.IsClient) << c->g.Nickname << " at step " << step;
      const int slot = FindSenderSlot(s.g, c->address);
      if (c->slot < 0) c->slot = slot;
      ASSERT_EQ(slot, c->slot) << c->g.Nickname << " at step " << step;
    }
  }
  for (size_t n = 0; n < clients.size(); ++n) {
    const RealClient& c = *clients[n];
    SCOPED_TRACE(c.g.Nickname);
    EXPECT_GE(c.slot, 0);
    EXPECT_EQ(c.g.LocalSlot, c.slot);  // the client knows its own place
    // An update every second step, about 80 % of them arriving: in the
    // last 500 steps well over a hundred.
    EXPECT_GT(c.updates - updatesBefore[n], 120u);
    EXPECT_TRUE(c.ui.boxes.empty()) << c.ui.boxes[0].title;
  }
  EXPECT_TRUE(s.rec.ui.boxes.empty());
}

}  // namespace
