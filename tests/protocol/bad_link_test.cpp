// A server and eight clients in one process over real loopback sockets, the
// clients behind the network-fault simulator: lost, doubled, reordered and
// late datagrams both ways. Every client must keep its place and keep
// receiving updates.
//
// The clients here are the bare protocol (join until accepted, keys as
// keep-alive, count the updates), not the game's own client.
#include <gtest/gtest.h>

#include <sys/ioctl.h>

#include <cstring>

#include "connection/game_step.h"
#include "platform/faulty_socket.h"
#include "platform/posix_network.h"
#include "protocol/datagrams.h"
#include "tests/protocol/loopback.h"
#include "tests/protocol/server_fixture.h"

namespace {

// A UdpSocket bound to one loopback address, since the server tells its
// players apart by IPv4 address.
class BoundLoopbackSocket : public UdpSocket {
 public:
  explicit BoundLoopbackSocket(const std::string& ip) {
    fd_ = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in me = LoopbackAddr(ip.c_str(), 0);
    bound_ = bind(fd_, reinterpret_cast<sockaddr*>(&me), sizeof me) == 0;
  }
  ~BoundLoopbackSocket() override { close(fd_); }
  bool bound() const { return bound_; }

  bool Bind(uint16_t) override { return false; }
  SendResult SendTo(const NetAddress& to, const uint8_t* data, size_t len) override {
    sockaddr_in s = LoopbackAddr(to.DottedIp().c_str(), to.port);
    return sendto(fd_, data, len, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&s), sizeof s) >= 0
               ? SendResult::Sent
               : SendResult::Dropped;
  }
  int Pending() override {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, 0) <= 0) return 0;
    int bytes = 0;
    ioctl(fd_, FIONREAD, &bytes);
    return bytes > 0 ? bytes : 1;
  }
  int ReceiveFrom(uint8_t* buf, size_t cap, NetAddress* from) override {
    sockaddr_in s{};
    socklen_t sl = sizeof s;
    ssize_t n = recvfrom(fd_, buf, cap, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&s), &sl);
    if (n < 0) return kNothingWaiting;
    if (from) {
      std::memcpy(from->ip.data(), &s.sin_addr, 4);
      from->port = ntohs(s.sin_port);
    }
    return static_cast<int>(n);
  }
  int LastError() override { return 0; }

 private:
  int fd_ = -1;
  bool bound_ = false;
};

// One player on the bad link: joins until accepted, then sends a key every
// few steps so the server never times it out, and counts what arrives.
struct LinkClient {
  NetAddress address;
  BoundLoopbackSocket* plain;
  FaultySocket link;
  NetAddress server;
  bool joined = false;
  bool lostPlace = false;
  int updates = 0;
  int lastUpdateStep = -1;
  int longestGap = 0;  // steps between two updates, once joined

  LinkClient(int n, const NetAddress& serverAddress, Clock& clock)
      : address(NetAddress::Of(127, 0, 0, static_cast<uint8_t>(2 + n), 0)),
        plain(new BoundLoopbackSocket(address.DottedIp())),
        link(std::unique_ptr<UdpSocket>(plain),
             {.Loss = 0.2, .Duplicate = 0.05, .Reorder = 0.05, .DelayMs = 30, .Seed = 100u + n}, clock),
        server(serverAddress) {}

  void Send(const DatagramBuffer& b) { link.SendTo(server, b.data(), b.size()); }

  void Step(int step) {
    uint8_t buf[kClientReceiveMax];
    while (link.Pending() > 0) {
      int len = link.ReceiveFrom(buf, sizeof buf, nullptr);
      if (len < 3) continue;
      switch (DatagramType(buf, static_cast<size_t>(len))) {
        case 'o': joined = true; break;
        case 'd': joined |= len > 3 && buf[3] == 'a'; break;  // the accept was lost
        case 's': lostPlace = true; break;                   // timed out or shut down
        case 'm':
          if (joined && lastUpdateStep >= 0) longestGap = std::max(longestGap, step - lastUpdateStep);
          if (joined) lastUpdateStep = step;
          ++updates;
          break;
        default: break;
      }
    }
    DatagramBuffer b;
    if (!joined && step % 25 == 0) {
      BuildJoinRequest(b);
      Send(b);
    } else if (joined && step % 10 == 0) {
      BuildKey(b, "udlr"[(step / 10) % 4]);
      Send(b);
    }
  }
};

TEST(BadLinkTest, EightClientsKeepTheirPlacesAndTheirUpdatesForThreeThousandSteps) {
  ServerGame s;
  PosixNetwork net;
  const uint16_t port = BindFreeUdpPort(net, s.g.Socket);
  ASSERT_NE(port, 0);
  const NetAddress server = NetAddress::Of(127, 0, 0, 1, port);
  std::vector<std::unique_ptr<LinkClient>> clients;
  for (int n = 0; n < 8; ++n) {
    clients.push_back(std::make_unique<LinkClient>(n, server, s.rec.clock));
    ASSERT_TRUE(clients.back()->plain->bound());
  }

  const int kSteps = 3000;
  std::vector<int> slotOf(8, -1);
  for (int step = 0; step < kSteps; ++step) {
    s.rec.clock.now += 40;
    GameStep(s.g);
    for (auto& c : clients) c->Step(step);
    for (int n = 0; n < 8; ++n) {
      if (!clients[n]->joined) continue;
      int slot = FindSenderSlot(s.g, clients[n]->address);
      if (slotOf[n] < 0) slotOf[n] = slot;
      ASSERT_EQ(slot, slotOf[n]) << "client " << n << " at step " << step;
    }
  }

  for (int n = 0; n < 8; ++n) {
    const LinkClient& c = *clients[n];
    SCOPED_TRACE(n);
    EXPECT_TRUE(c.joined);
    EXPECT_GE(slotOf[n], 0);
    EXPECT_FALSE(c.lostPlace);
    // An update every second step, of which about 80 % arrive (some twice).
    EXPECT_GT(c.updates, kSteps / 2 * 7 / 10);
    EXPECT_LE(c.longestGap, 40);
    EXPECT_GE(c.lastUpdateStep, kSteps - 10);
    EXPECT_GT(c.link.SentCounts().Dropped, 0u);
    EXPECT_GT(c.link.ReceivedCounts().Reordered, 0u);
  }
  EXPECT_TRUE(s.rec.ui.boxes.empty());
}

}  // namespace
