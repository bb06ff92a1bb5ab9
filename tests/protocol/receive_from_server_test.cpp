// The client's one read of its server's datagrams.
#include "protocol/receive_from_server.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <string>

namespace {

const NetAddress kServer = NetAddress::Of(10, 0, 0, 1, 2727);
const NetAddress kStranger = NetAddress::Of(10, 0, 0, 9, 2727);
const NetAddress kOtherPort = NetAddress::Of(10, 0, 0, 1, 2728);

// Plays back one answer per look at the socket.
class ScriptedSocket : public UdpSocket {
 public:
  struct Step {
    int pending;       // what Pending says
    int read;          // ReceiveFrom's result when not the bytes' length (-1, kNothingWaiting), else 0
    NetAddress from;
    std::string bytes;
  };
  std::deque<Step> steps;
  int reads = 0;

  bool Bind(uint16_t) override { return true; }
  SendResult SendTo(const NetAddress&, const uint8_t*, size_t) override { return SendResult::Sent; }
  int Pending() override { return steps.empty() ? 0 : steps.front().pending; }
  int ReceiveFrom(uint8_t* buf, size_t cap, NetAddress* from) override {
    ++reads;
    const Step s = steps.front();
    steps.pop_front();
    if (s.read) return s.read;
    const size_t n = std::min(cap, s.bytes.size());
    std::memcpy(buf, s.bytes.data(), n);
    *from = s.from;
    return static_cast<int>(n);
  }
  int LastError() override { return 0; }
};

ScriptedSocket::Step Datagram(const NetAddress& from, const std::string& bytes) {
  return {static_cast<int>(bytes.size()), 0, from, bytes};
}

TEST(ReceiveFromServerTest, OnlyTheServersDatagramIsGotAndFailureIsNotNothing) {
  const ScriptedSocket::Step refused{8, UdpSocket::kNothingWaiting, {}, ""};
  const ScriptedSocket::Step failedRead{8, -1, {}, ""};
  const ScriptedSocket::Step failedPending{-1, 0, {}, ""};
  struct Row {
    const char* what;
    std::vector<ScriptedSocket::Step> steps;
    int budget;  // 0: none given
    ServerReceive result;
    std::string got;  // on Got
    int reads;
    int budgetLeft;
  };
  const Row rows[] = {
      {"nothing waits", {}, 0, ServerReceive::Nothing, "", 0, 0},
      {"the server's", {Datagram(kServer, "PMok")}, 0, ServerReceive::Got, "PMok", 1, 0},
      {"a stranger's first",
       {Datagram(kStranger, "PMoks"), Datagram(kOtherPort, "PMk"), Datagram(kServer, "PMm")},
       0, ServerReceive::Got, "PMm", 3, 0},
      {"only a stranger's", {Datagram(kStranger, "PMs")}, 0, ServerReceive::Nothing, "", 1, 0},
      {"a refused send first", {refused, Datagram(kServer, "PMs")}, 0, ServerReceive::Got, "PMs", 2, 0},
      {"a failed read", {failedRead, Datagram(kServer, "PMs")}, 0, ServerReceive::Failed, "", 1, 0},
      {"a failed look", {failedPending}, 0, ServerReceive::Failed, "", 0, 0},
      {"a budget of one, a stranger first", {Datagram(kStranger, "x"), Datagram(kServer, "PMs")}, 1,
       ServerReceive::Nothing, "", 1, 0},
      {"a budget of two", {Datagram(kStranger, "x"), Datagram(kServer, "PMs")}, 2,
       ServerReceive::Got, "PMs", 2, 0},
      {"a budget left over", {Datagram(kServer, "PMs")}, 3, ServerReceive::Got, "PMs", 1, 2},
      {"longer than the buffer", {Datagram(kServer, std::string(20, 'z'))}, 0, ServerReceive::Got,
       std::string(16, 'z'), 1, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    ScriptedSocket socket;
    socket.steps.assign(r.steps.begin(), r.steps.end());
    uint8_t buf[16];
    std::memset(buf, 0xAA, sizeof buf);
    size_t len = 99;
    int budget = r.budget;
    EXPECT_EQ(ReceiveFromServer(&socket, kServer, buf, sizeof buf, &len, r.budget ? &budget : nullptr),
              r.result);
    EXPECT_EQ(socket.reads, r.reads);
    if (r.budget) {
      EXPECT_EQ(budget, r.budgetLeft);
    }
    if (r.result != ServerReceive::Got) continue;
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), len), r.got);
    for (size_t i = len; i < sizeof buf; ++i) EXPECT_EQ(buf[i], 0) << i;
  }
  size_t len = 0;
  uint8_t buf[4];
  EXPECT_EQ(ReceiveFromServer(nullptr, kServer, buf, sizeof buf, &len), ServerReceive::Nothing);
}

}  // namespace
