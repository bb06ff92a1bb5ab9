// The in-process server on a real loopback socket: parity and sequence
// numbers, time-outs, and senders whose replies cannot be delivered.
#include <gtest/gtest.h>

#include "game/game_step.h"
#include "platform/posix_network.h"
#include "protocol/update_datagram.h"
#include "tests/protocol/loopback.h"
#include "tests/protocol/server_fixture.h"

namespace {

const std::string kJoin = "PMc10 - I wanna play!\r\n";

// A ServerGame whose socket is a real one bound to a free loopback port.
struct LoopbackServer : ServerGame {
  PosixNetwork net;
  uint16_t port = 0;
  LoopbackServer() {
    for (int attempt = 0; attempt < 5 && port == 0; ++attempt) {
      g.Socket = net.CreateSocket();
      uint16_t p = FreeUdpPort();
      if (g.Socket->Bind(p)) port = p;
    }
  }
  void Step() { GameStep(g); }
};

// The sequence byte of the next update, or -1 when none came.
int NextUpdateSeq(UdpTestClient& c, int timeoutMs = 300) {
  std::string u = c.ReceiveType('m', timeoutMs);
  return u.size() == 218 ? static_cast<uint8_t>(u[217]) : -1;
}

TEST(ServerLoopbackTest, UpdatesAlternateBetweenTheHalvesWithSequenceNumbers) {
  LoopbackServer s;
  ASSERT_NE(s.port, 0);
  UdpTestClient c0("127.0.0.2", s.port), c1("127.0.0.3", s.port), c2("127.0.0.4", s.port);
  for (UdpTestClient* c : {&c0, &c1, &c2}) c->Send(kJoin);
  s.Step();  // joins; SendParity becomes 1: slots 0 and 2 are served
  for (UdpTestClient* c : {&c0, &c1, &c2}) ASSERT_EQ(c->ReceiveType('o', 500).size(), 100u);
  EXPECT_EQ(NextUpdateSeq(c0), 1);
  EXPECT_EQ(NextUpdateSeq(c2), 1);
  EXPECT_EQ(NextUpdateSeq(c1, 100), -1);
  s.Step();
  EXPECT_EQ(NextUpdateSeq(c1), 1);
  EXPECT_EQ(NextUpdateSeq(c0, 100), -1);
  s.Step();
  EXPECT_EQ(NextUpdateSeq(c0), 1);  // 0 and 1 both travel as 1
  s.Step();
  s.Step();
  EXPECT_EQ(NextUpdateSeq(c0), 2);
  EXPECT_EQ(NextUpdateSeq(c1), 1);
  s.Step();
  EXPECT_EQ(NextUpdateSeq(c1), 2);
  EXPECT_EQ(NextUpdateSeq(c2), 1);
  EXPECT_EQ(NextUpdateSeq(c2), 2);
}

TEST(ServerLoopbackTest, ASilentPlayerIsTimedOutAtStep401) {
  LoopbackServer s;
  ASSERT_NE(s.port, 0);
  UdpTestClient quiet("127.0.0.2", s.port), talker("127.0.0.3", s.port);
  quiet.Send(kJoin);
  talker.Send(kJoin);
  s.Step();
  ASSERT_EQ(s.g.Players[0].Kind, 'i');
  // 400 steps after the join without a word: still in the game.
  for (int step = 1; step <= 400; ++step) {
    if (step % 100 == 0) {
      talker.Send("PMgs - Key Signature");
    }
    s.Step();
    while (!quiet.Receive(0).empty()) {}  // keep its receive buffer from filling
    while (!talker.Receive(0).empty()) {}
  }
  EXPECT_EQ(s.g.Players[0].Kind, 'i');
  s.Step();  // the 401st step without a word from it
  EXPECT_EQ(s.g.Players[0].Kind, 'c');
  EXPECT_STREQ(s.g.Players[0].Name, "Comp 0");
  EXPECT_EQ(s.g.Players[1].Kind, 'i');
  std::string notice = quiet.ReceiveType('s', 500);
  EXPECT_EQ(notice.size(), 255u);
  EXPECT_EQ(notice.substr(0, 4), "PMst");
}

TEST(ServerLoopbackTest, ForgedLookingSendersCannotEndTheServer) {
  LoopbackServer s;
  ASSERT_NE(s.port, 0);
  // Senders that vanish before the answer arrives: their replies meet a
  // closed port.
  for (int i = 0; i < 20; ++i) {
    UdpTestClient ghost(("127.0.1." + std::to_string(i + 1)).c_str(), s.port);
    ghost.Send(i % 2 ? kJoin : "PMf - I need the map\r\n");
  }
  for (int i = 0; i < 4; ++i) s.Step();
  // The real socket refuses to answer addresses no honest peer has.
  uint8_t map[3] = {'P', 'M', 'f'};
  for (NetAddress bad : {NetAddress::Of(0, 0, 0, 0, 0), NetAddress::Of(127, 0, 0, 1, 0),
                         NetAddress::Of(255, 255, 255, 255, 2727), NetAddress::Of(224, 0, 0, 1, 2727),
                         NetAddress::Of(0, 0, 0, 0, 2727)})
    EXPECT_EQ(s.g.Socket->SendTo(bad, map, 3), SendResult::Dropped) << bad.DottedIp();
  HandleServerDatagram(s.g, reinterpret_cast<const uint8_t*>(kJoin.data()), kJoin.size(),
                       NetAddress::Of(255, 255, 255, 255, 2727));
  s.Step();
  EXPECT_TRUE(s.rec.ui.boxes.empty());
  EXPECT_EQ(s.rec.ui.quits, 0);
  EXPECT_GE(s.g.DroppedSends, 1u);
  // And it still serves an honest player.
  UdpTestClient honest("127.0.0.2", s.port);
  honest.Send("PMf - I need the map\r\n");
  s.Step();
  EXPECT_EQ(honest.ReceiveType('f', 500).size(), 199u);
}

TEST(ServerForgedSenderTest, DroppedRepliesAreCountedNotFatal) {
  ServerGame s;
  s.socket().sendResult = SendResult::Dropped;
  for (NetAddress from : {NetAddress::Of(0, 0, 0, 0, 0), NetAddress::Of(255, 255, 255, 255, 1),
                          NetAddress::Of(10, 9, 9, 9, 0)}) {
    s.Receive(from, kJoin);
    s.Receive(from, "PMf - I need the map\r\n");
    s.Receive(from, "PMthi");
  }
  for (int i = 0; i < 10; ++i) GameStep(s.g);
  EXPECT_TRUE(s.rec.ui.boxes.empty());
  EXPECT_EQ(s.rec.ui.quits, 0);
  EXPECT_GE(s.g.DroppedSends, 6u);  // accepts, maps, boards and updates
  s.socket().sendResult = SendResult::Sent;
  s.Receive(Client(77), "PMf");
  EXPECT_EQ(s.SentTo(Client(77)).size(), 1u);
  // A real socket failure is still reported.
  s.socket().sendResult = SendResult::Failed;
  s.Receive(Client(78), "PMf");
  ASSERT_EQ(s.rec.ui.boxes.size(), 1u);
  EXPECT_EQ(s.rec.ui.boxes[0].text, "Send error #6\nInternal error #10054");
}

}  // namespace
