// The in-process server on a real loopback socket: update parity and
// sequence numbers, time-outs, and senders whose replies cannot arrive.
#include <gtest/gtest.h>

#include "connection/game_step.h"
#include "platform/posix_network.h"
#include "tests/protocol/loopback.h"
#include "tests/protocol/server_fixture.h"

namespace {

const std::string kJoin = "PMc10 - I wanna play!\r\n";
const std::string kMapRequest = "PMf - I need the map\r\n";

// A ServerGame whose socket is a real one bound to a free loopback port.
struct LoopbackServer : ServerGame {
  PosixNetwork net;
  uint16_t port = 0;
  LoopbackServer() {
    port = BindFreeUdpPort(net, g.Socket);
  }
  void Step() { GameStep(g); }
};

// The sequence byte of the next update, or -1 when none came; the update
// must mark the receiver's slot, and only it, "y".
int NextUpdateSeq(UdpTestClient& c, int slot, int timeoutMs = 300) {
  std::string u = c.ReceiveType('m', timeoutMs);
  if (u.size() != 218) return -1;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(u[3 + 21 * i + 1] == 'y', i == slot) << i;
  return static_cast<uint8_t>(u[217]);
}

TEST(ServerLoopbackTest, UpdatesByParityWithSequenceNumbersThenATimeOutAtStep401) {
  LoopbackServer s;
  ASSERT_NE(s.port, 0);
  s.g.Players[7].Kind = KindLocal;  // the host's own place is never timed out
  s.g.LocalSlot = 7;
  UdpTestClient c0("127.0.0.2", s.port), c1("127.0.0.3", s.port), c2("127.0.0.4", s.port);
  for (UdpTestClient* c : {&c0, &c1, &c2}) c->Send(kJoin);
  s.Step();  // joins; SendParity becomes 1: slots 0 and 2 are served
  for (UdpTestClient* c : {&c0, &c1, &c2}) ASSERT_EQ(c->ReceiveType('o', 500).size(), 100u);
  EXPECT_EQ(NextUpdateSeq(c0, 0), 1);
  EXPECT_EQ(NextUpdateSeq(c2, 2), 1);
  EXPECT_EQ(NextUpdateSeq(c1, 1, 100), -1);
  s.Step();
  EXPECT_EQ(NextUpdateSeq(c1, 1), 1);
  EXPECT_EQ(NextUpdateSeq(c0, 0, 100), -1);
  s.Step();
  EXPECT_EQ(NextUpdateSeq(c0, 0), 1);  // 0 and 1 both travel as 1
  s.Step();
  s.Step();
  EXPECT_EQ(NextUpdateSeq(c0, 0), 2);
  EXPECT_EQ(NextUpdateSeq(c1, 1), 1);
  EXPECT_EQ(NextUpdateSeq(c2, 2), 1);
  EXPECT_EQ(NextUpdateSeq(c2, 2), 2);

  // c0 never speaks: 400 steps after its join it is still in the game.
  for (int step = 5; step <= 400; ++step) {
    for (UdpTestClient* c : {&c1, &c2})
      if (step % 100 == 0) c->Send("PMgs - Key Signature");
    s.Step();
    for (UdpTestClient* c : {&c0, &c1, &c2})
      while (!c->Receive(0).empty()) {}  // keep the receive buffers from filling
  }
  EXPECT_EQ(s.g.Players[0].Kind, 'i');
  s.Step();  // the 401st
  EXPECT_EQ(s.g.Players[0].Kind, 'c');
  EXPECT_STREQ(s.g.Players[0].Name, "Comp 0");  // named from the index
  EXPECT_EQ(s.NewestBoardText(), "Comp 1 Timed out :(");
  EXPECT_EQ(s.g.Players[1].Kind, 'i');
  EXPECT_STREQ(s.g.Players[5].Name, "Comp 6");  // computer places are left alone
  EXPECT_EQ(s.g.Players[7].Kind, 'l');
  std::string notice = c0.ReceiveType('s', 500);
  EXPECT_EQ(notice.size(), 255u);
  EXPECT_EQ(notice.substr(0, 4), "PMst");
}

TEST(ServerLoopbackTest, ForgedLookingSendersCannotEndTheServer) {
  LoopbackServer s;
  ASSERT_NE(s.port, 0);
  // Senders that vanish before the answer: their replies meet a closed port.
  for (int i = 0; i < 20; ++i) {
    UdpTestClient ghost("127.0.1." + std::to_string(i + 1), s.port);
    ghost.Send(i % 2 ? kJoin : kMapRequest);
  }
  for (int i = 0; i < 4; ++i) s.Step();
  // The real socket refuses addresses no honest peer has.
  uint8_t map[3] = {'P', 'M', 'f'};
  for (NetAddress bad : {NetAddress::Of(0, 0, 0, 0, 0), NetAddress::Of(127, 0, 0, 1, 0),
                         NetAddress::Of(255, 255, 255, 255, 2727), NetAddress::Of(224, 0, 0, 1, 2727),
                         NetAddress::Of(0, 0, 0, 0, 2727)})
    EXPECT_EQ(s.g.Socket->SendTo(bad, map, 3), SendResult::Dropped) << bad.DottedIp();
  HandleServerDatagram(s.g, reinterpret_cast<const uint8_t*>(kJoin.data()), kJoin.size(),
                       NetAddress::Of(255, 255, 255, 255, 2727));
  s.Step();
  EXPECT_TRUE(s.rec.ui.boxes.empty());
  EXPECT_GE(s.g.DroppedSends, 1u);
  UdpTestClient honest("127.0.0.2", s.port);  // still serving
  honest.Send(kMapRequest);
  s.Step();
  EXPECT_EQ(honest.ReceiveType('f', 500).size(), 199u);
}

}  // namespace
