// The network-fault simulator over a recording socket and a hand-moved
// clock: reproducible fates per seed, a perfect link that changes nothing,
// and each fault on its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/faulty_socket.h"
#include "platform/recording_platform.h"

namespace {

const NetAddress kPeer = NetAddress::Of(127, 0, 0, 2, 2727);

struct Link {
  FakeClock clock;
  RecordingSocket* inner;
  FaultySocket socket;
  explicit Link(const LinkFaults& f)
      : inner(new RecordingSocket), socket(std::unique_ptr<UdpSocket>(inner), f, clock) {}

  // Datagram number n carries its number as text.
  void Send(int n) {
    std::string s = std::to_string(n);
    socket.SendTo(kPeer, reinterpret_cast<const uint8_t*>(s.data()), s.size());
  }
  std::vector<int> SentNumbers() const {
    std::vector<int> out;
    for (auto& d : inner->sent) out.push_back(std::stoi(std::string(d.bytes.begin(), d.bytes.end())));
    return out;
  }
  // Reads every datagram due now.
  std::vector<int> ReceiveAll() {
    std::vector<int> out;
    while (socket.Pending() > 0) {
      uint8_t buf[16];
      int n = socket.ReceiveFrom(buf, sizeof buf, nullptr);
      if (n <= 0) break;
      out.push_back(std::stoi(std::string(buf, buf + n)));
    }
    return out;
  }
};

// 2000 datagrams each way over a lossy link, 10 ms apart, then a second to
// let the last ones out. Optionally nothing comes in, to show the outgoing
// fates do not depend on the other direction.
struct Traffic {
  std::vector<int> out, in;
};
Traffic Exchange(const LinkFaults& f, bool withIncoming = true) {
  Link l(f);
  Traffic r;
  for (int n = 0; n < 2000; ++n) {
    l.Send(n);
    if (withIncoming) l.inner->Queue(kPeer, std::to_string(n));
    auto got = l.ReceiveAll();
    r.in.insert(r.in.end(), got.begin(), got.end());
    l.clock.now += 10;
  }
  l.clock.now += 1000;
  l.socket.Pump();
  auto got = l.ReceiveAll();
  r.in.insert(r.in.end(), got.begin(), got.end());
  r.out = l.SentNumbers();
  return r;
}

int CountOutOfOrder(const std::vector<int>& v) {
  int n = 0;
  for (size_t i = 1; i < v.size(); ++i) n += v[i] < v[i - 1];
  return n;
}
// How many datagrams of 0..1999 never arrived, and how many extra copies did.
int CountMissing(const std::vector<int>& v) {
  std::vector<int> seen(2000);
  for (int n : v) seen[n] = 1;
  return static_cast<int>(std::count(seen.begin(), seen.end(), 0));
}
int CountRepeats(const std::vector<int>& v) { return static_cast<int>(v.size()) - (2000 - CountMissing(v)); }

TEST(FaultySocketTest, AFixedSeedGivesTheSameFatesEveryRunInBothDirections) {
  LinkFaults f{.Loss = 0.2, .Duplicate = 0.05, .Reorder = 0.05, .DelayMs = 30, .Seed = 42};
  Traffic a = Exchange(f), b = Exchange(f);
  EXPECT_EQ(a.out, b.out);
  EXPECT_EQ(a.in, b.in);
  // The outgoing fates do not hang on what came in.
  EXPECT_EQ(Exchange(f, false).out, a.out);
  // The two directions draw from different streams.
  EXPECT_NE(a.out, a.in);
  LinkFaults other = f;
  other.Seed = 43;
  EXPECT_NE(Exchange(other).out, a.out);
  // Every datagram draws for every fault: without the loss, the same ones
  // are duplicated.
  LinkFaults lossless = f;
  lossless.Loss = 0;
  auto copies = [](const std::vector<int>& v) {
    std::vector<int> count(2000);
    for (int n : v) ++count[n];
    return count;
  };
  std::vector<int> lossy = copies(a.out), clean = copies(Exchange(lossless).out);
  for (int n = 0; n < 2000; ++n) {
    if (lossy[n] == 2) {
      EXPECT_EQ(clean[n], 2) << n;
    }
  }

  // And the faults are there in about the amounts asked for.
  for (const auto* v : {&a.out, &a.in}) {
    int missing = CountMissing(*v);
    EXPECT_GT(missing, 330);  // 20 % of 2000 is 400
    EXPECT_LT(missing, 470);
    EXPECT_GT(CountRepeats(*v), 40);  // about 5 % of the 1600 that arrive
    EXPECT_LT(CountRepeats(*v), 130);
    EXPECT_GT(CountOutOfOrder(*v), 30);
    EXPECT_LT(CountOutOfOrder(*v), 130);
  }
}

TEST(FaultySocketTest, APerfectLinkChangesNothing) {
  Traffic r = Exchange(LinkFaults{});
  std::vector<int> all(2000);
  for (int n = 0; n < 2000; ++n) all[n] = n;
  EXPECT_EQ(r.out, all);
  EXPECT_EQ(r.in, all);

  // Sends go at once with the wrapped socket's own answer; reads keep the
  // sender, the length and the cut at the reader's capacity.
  Link l(LinkFaults{});
  for (SendResult want : {SendResult::Sent, SendResult::Dropped, SendResult::Failed}) {
    l.inner->sendResult = want;
    uint8_t byte = 'x';
    EXPECT_EQ(l.socket.SendTo(kPeer, &byte, 1), want);
  }
  EXPECT_EQ(l.socket.Pending(), 0);
  l.inner->Queue(NetAddress::Of(127, 0, 0, 9, 4000), "PMabcdef");
  l.inner->Queue(kPeer, "");
  EXPECT_EQ(l.socket.Pending(), 8);
  uint8_t buf[8] = {};
  NetAddress from;
  EXPECT_EQ(l.socket.ReceiveFrom(buf, 5, &from), 5);
  EXPECT_EQ(std::string(buf, buf + 5), "PMabc");
  EXPECT_EQ(from, NetAddress::Of(127, 0, 0, 9, 4000));
  EXPECT_EQ(l.socket.Pending(), 1);  // an empty datagram still shows as waiting
  EXPECT_EQ(l.socket.ReceiveFrom(buf, sizeof buf, &from), 0);
  EXPECT_EQ(l.socket.ReceiveFrom(buf, sizeof buf, &from), UdpSocket::kNothingWaiting);
}

TEST(FaultySocketTest, EachFaultOnItsOwn) {
  struct Row {
    const char* what;
    LinkFaults faults;
    std::vector<int> sentAtOnce;      // after sending 0..5 at one moment
    uint32_t waitMs;                  // then the clock moves on this far
    std::vector<int> sentAfterWait;   // everything sent by then
  };
  const Row rows[] = {
      {"loss", {.Loss = 1.0}, {}, 1000, {}},
      {"duplicate", {.Duplicate = 1.0}, {0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5}, 0, {0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5}},
      // Every second one is overtaken by the next; the last waits for the
      // hold time and then goes on its own.
      {"reorder", {.Reorder = 1.0}, {1, 0, 3, 2, 5, 4}, 0, {1, 0, 3, 2, 5, 4}},
      {"delay", {.DelayMs = 30}, {}, 29, {}},
      {"delay", {.DelayMs = 30}, {}, 30, {0, 1, 2, 3, 4, 5}},
  };
  for (const Row& row : rows) {
    Link l(row.faults);
    for (int n = 0; n < 6; ++n) l.Send(n);
    EXPECT_EQ(l.SentNumbers(), row.sentAtOnce) << row.what;
    l.clock.now += row.waitMs;
    l.socket.Pump();
    EXPECT_EQ(l.SentNumbers(), row.sentAfterWait) << row.what << " " << row.waitMs;
  }

  // A datagram held back with nothing to overtake it leaves after the hold.
  Link l({.Reorder = 1.0});
  l.Send(7);
  l.clock.now += FaultySocket::kReorderHoldMs - 1;
  l.socket.Pump();
  EXPECT_TRUE(l.SentNumbers().empty());
  l.clock.now += 1;
  l.socket.Pump();
  EXPECT_EQ(l.SentNumbers(), std::vector<int>{7});

  // Incoming datagrams wait for the delay too.
  Link in({.DelayMs = 30});
  in.inner->Queue(kPeer, "5");
  EXPECT_TRUE(in.ReceiveAll().empty());
  in.clock.now += 30;
  EXPECT_EQ(in.ReceiveAll(), std::vector<int>{5});
}

TEST(FaultySocketTest, AFailureOfTheWrappedSocketIsReportedLater) {
  Link l({.DelayMs = 10});
  l.inner->sendResult = SendResult::Failed;
  l.Send(1);  // waits for its delay: looks sent for now
  l.clock.now += 10;
  uint8_t byte = 'x';
  EXPECT_EQ(l.socket.SendTo(kPeer, &byte, 1), SendResult::Failed);
  EXPECT_EQ(l.socket.LastError(), 10054);

  // A wrapped socket that cannot receive makes the wrapper fail to receive.
  struct BrokenSocket : RecordingSocket {
    int Pending() override { return -1; }
  };
  FakeClock clock;
  FaultySocket broken(std::make_unique<BrokenSocket>(), LinkFaults{}, clock);
  EXPECT_EQ(broken.Pending(), -1);
  uint8_t buf[4];
  EXPECT_EQ(broken.ReceiveFrom(buf, sizeof buf, nullptr), -1);
}

TEST(FaultySocketTest, EveryRenewedSocketOfAFaultyNetworkHasItsOwnSeed) {
  RecordingNetwork real;
  FakeClock clock;
  FaultyNetwork net(real, {.Loss = 0.5, .Seed = 9}, clock);
  auto fates = [](UdpSocket& s, RecordingSocket* inner) {
    for (int n = 0; n < 64; ++n) {
      uint8_t b = static_cast<uint8_t>(n);
      s.SendTo(kPeer, &b, 1);
    }
    std::string got;
    for (auto& d : inner->sent) got.push_back(static_cast<char>(d.bytes[0]));
    return got;
  };
  auto first = net.CreateSocket();
  std::string a = fates(*first, real.lastSocket);
  auto second = net.CreateSocket();
  std::string b = fates(*second, real.lastSocket);
  EXPECT_NE(a, b);
  EXPECT_EQ(real.socketsCreated, 2);
  // The same as a FaultySocket made by hand with seed 9 + 1.
  auto* inner = new RecordingSocket;
  FaultySocket byHand(std::unique_ptr<UdpSocket>(inner), {.Loss = 0.5, .Seed = 10}, clock);
  EXPECT_EQ(fates(byHand, inner), b);
}

}  // namespace
