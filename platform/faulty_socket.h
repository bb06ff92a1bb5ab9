// A bad network on demand: a UdpSocket that wraps another and, from its own
// seeded generator, drops, duplicates, reorders and delays the datagrams
// going through it in both directions.
//
// Each direction has its own generator and draws the same number of values
// for every datagram, so with a fixed seed the n-th datagram sent (or
// received) always meets the same fate, however the other direction or the
// timing goes. Delays are measured on the Clock given, so a test that moves
// a FakeClock by hand gets the same deliveries on every run.
//
// Held datagrams are released whenever the socket is used (Pending,
// ReceiveFrom or SendTo), as a game step does with its socket anyway; Pump()
// does it on its own.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "platform/platform.h"

struct LinkFaults {
  double Loss = 0;       // chance that a datagram is lost, 0..1
  double Duplicate = 0;  // chance that it arrives twice
  double Reorder = 0;    // chance that it is overtaken by the next one
  uint32_t DelayMs = 0;  // every datagram arrives this much later
  uint64_t Seed = 1;

  bool Perfect() const { return Loss <= 0 && Duplicate <= 0 && Reorder <= 0 && DelayMs == 0; }
};

// What happened to the datagrams of one direction.
struct LinkCounts {
  uint64_t Offered = 0;     // handed to the link
  uint64_t Dropped = 0;     // lost on purpose (or beyond the queue's room)
  uint64_t Duplicated = 0;  // extra copies made
  uint64_t Reordered = 0;   // held back to be overtaken
  uint64_t Delivered = 0;   // copies that came out at the other end
};

class FaultySocket : public UdpSocket {
 public:
  // A datagram held back to be overtaken goes anyway when nothing overtook
  // it within this time (on top of the delay): a quiet link still delivers.
  static constexpr uint32_t kReorderHoldMs = 100;
  // Datagrams waiting per direction; more are lost, as a full buffer loses
  // them.
  static constexpr size_t kQueueLimit = 4096;

  FaultySocket(std::unique_ptr<UdpSocket> inner, const LinkFaults& faults, Clock& clock);

  bool Bind(uint16_t port) override;
  SendResult SendTo(const NetAddress& to, const uint8_t* data, size_t len) override;
  int Pending() override;
  int ReceiveFrom(uint8_t* buf, size_t cap, NetAddress* from) override;
  int LastError() override;

  // Sends what is due and takes in what the wrapped socket has waiting.
  void Pump();

  const LinkCounts& SentCounts() const { return out_.counts; }
  const LinkCounts& ReceivedCounts() const { return in_.counts; }
  UdpSocket& Inner() { return *inner_; }

 private:
  struct Datagram {
    NetAddress addr;  // the destination going out, the sender coming in
    std::vector<uint8_t> bytes;
    uint32_t due = 0;   // clock time from which it may leave
    bool held = false;  // waits for the next datagram to overtake it
  };
  // One direction: its generator and the datagrams on their way.
  struct Lane {
    uint64_t rng = 0;
    std::deque<Datagram> queue;
    LinkCounts counts;
  };

  // Decides the fate of one datagram and queues what survives.
  void Offer(Lane& lane, const NetAddress& addr, const uint8_t* data, size_t len);
  // The front datagram when it may leave now, else null.
  Datagram* Due(Lane& lane);
  void FlushOutgoing();
  void TakeIncoming();
  bool Draw(Lane& lane, double chance);

  std::unique_ptr<UdpSocket> inner_;
  LinkFaults faults_;
  Clock& clock_;
  Lane out_, in_;
  // The wrapped socket failed: later calls report it, as it would have.
  bool sendFailed_ = false;
  bool receiveFailed_ = false;
  SendResult lastSend_ = SendResult::Sent;  // of the last datagram let out
};

// A Network whose sockets all go through a FaultySocket, each with its own
// seed (Seed, Seed + 1, ...), so a program that renews its socket stays on
// the same bad link.
class FaultyNetwork : public Network {
 public:
  FaultyNetwork(Network& inner, const LinkFaults& faults, Clock& clock)
      : inner_(inner), faults_(faults), clock_(clock) {}

  std::unique_ptr<UdpSocket> CreateSocket() override;
  bool Resolve(const std::string& name, NetAddress* out) override { return inner_.Resolve(name, out); }
  std::vector<NetAddress> LocalAddresses() override { return inner_.LocalAddresses(); }

 private:
  Network& inner_;
  LinkFaults faults_;
  Clock& clock_;
  uint64_t created_ = 0;
};
