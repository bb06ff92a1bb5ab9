#include "platform/faulty_socket.h"

#include <algorithm>

namespace {

// splitmix64: small, fast, and the same sequence on every machine (the
// standard library's distributions are not).
uint64_t NextRandom(uint64_t& state) {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// True when `now` has reached `due`; the tick count wraps around.
bool Reached(uint32_t now, uint32_t due) { return static_cast<int32_t>(now - due) >= 0; }

// Datagrams of the game are at most 256 bytes; anything longer is cut here
// as a reader with a small buffer would cut it.
constexpr size_t kLongestDatagram = 2048;

}  // namespace

FaultySocket::FaultySocket(std::unique_ptr<UdpSocket> inner, const LinkFaults& faults, Clock& clock)
    : inner_(std::move(inner)), faults_(faults), clock_(clock) {
  // The two directions draw from separate streams of the one seed.
  out_.rng = faults.Seed * 2 + 0x5EED0u;
  in_.rng = faults.Seed * 2 + 1 + 0x5EED0u;
}

bool FaultySocket::Draw(Lane& lane, double chance) {
  double u = static_cast<double>(NextRandom(lane.rng) >> 11) * 0x1.0p-53;  // [0, 1)
  return u < chance;
}

void FaultySocket::Offer(Lane& lane, const NetAddress& addr, const uint8_t* data, size_t len) {
  ++lane.counts.Offered;
  // Three draws for every datagram, whatever they decide: changing one
  // chance leaves the other faults on the same datagrams.
  bool lost = Draw(lane, faults_.Loss);
  bool twice = Draw(lane, faults_.Duplicate);
  bool holdBack = Draw(lane, faults_.Reorder);
  if (lost) {
    ++lane.counts.Dropped;
    return;
  }
  uint32_t due = clock_.TickCount() + faults_.DelayMs;
  bool overtaking = !lane.queue.empty() && lane.queue.back().held;
  // The one held back waits behind this datagram, so it cannot be held too.
  if (overtaking) holdBack = false;
  if (holdBack) ++lane.counts.Reordered;
  if (twice) ++lane.counts.Duplicated;

  std::deque<Datagram> held;
  if (overtaking) {
    while (!lane.queue.empty() && lane.queue.back().held) {
      held.push_front(std::move(lane.queue.back()));
      lane.queue.pop_back();
    }
  }
  for (int copy = 0; copy < (twice ? 2 : 1); ++copy) {
    if (lane.queue.size() >= kQueueLimit) {
      ++lane.counts.Dropped;
      continue;
    }
    lane.queue.push_back(Datagram{addr, std::vector<uint8_t>(data, data + len), due, holdBack});
  }
  // Overtaken: it leaves right after the one that passed it.
  for (Datagram& d : held) {
    d.held = false;
    d.due = due;
    lane.queue.push_back(std::move(d));
  }
}

FaultySocket::Datagram* FaultySocket::Due(Lane& lane) {
  if (lane.queue.empty()) return nullptr;
  Datagram& d = lane.queue.front();
  uint32_t now = clock_.TickCount();
  if (!Reached(now, d.due)) return nullptr;
  // Nothing came to overtake it in time: it goes late instead.
  if (d.held && !Reached(now, d.due + kReorderHoldMs)) return nullptr;
  return &d;
}

void FaultySocket::FlushOutgoing() {
  while (Datagram* d = Due(out_)) {
    SendResult r = inner_->SendTo(d->addr, d->bytes.data(), d->bytes.size());
    if (r == SendResult::Failed) sendFailed_ = true;
    if (r == SendResult::Sent) ++out_.counts.Delivered;
    lastSend_ = r;
    out_.queue.pop_front();
  }
}

void FaultySocket::TakeIncoming() {
  uint8_t buf[kLongestDatagram];
  // Bounded: a flood cannot keep the reader here for ever.
  for (size_t n = 0; n < kQueueLimit; ++n) {
    int waiting = inner_->Pending();
    if (waiting == 0) return;
    if (waiting < 0) {
      receiveFailed_ = true;
      return;
    }
    NetAddress from;
    int len = inner_->ReceiveFrom(buf, sizeof buf, &from);
    if (len == kNothingWaiting) continue;
    if (len < 0) {
      receiveFailed_ = true;
      return;
    }
    Offer(in_, from, buf, static_cast<size_t>(len));
  }
}

void FaultySocket::Pump() {
  FlushOutgoing();
  TakeIncoming();
}

bool FaultySocket::Bind(uint16_t port) { return inner_->Bind(port); }

SendResult FaultySocket::SendTo(const NetAddress& to, const uint8_t* data, size_t len) {
  FlushOutgoing();  // what is due goes first, in order
  if (sendFailed_) return SendResult::Failed;
  uint64_t before = out_.counts.Dropped;
  Offer(out_, to, data, len);
  // A lost datagram looks sent to its sender, as on a real network.
  if (out_.counts.Dropped != before) return SendResult::Sent;
  lastSend_ = SendResult::Sent;
  FlushOutgoing();
  if (sendFailed_) return SendResult::Failed;
  // Sent at once (a perfect link): the wrapped socket's own answer.
  return out_.queue.empty() ? lastSend_ : SendResult::Sent;
}

int FaultySocket::Pending() {
  Pump();
  if (const Datagram* d = Due(in_)) return std::max<int>(1, static_cast<int>(d->bytes.size()));
  return receiveFailed_ ? -1 : 0;
}

int FaultySocket::ReceiveFrom(uint8_t* buf, size_t cap, NetAddress* from) {
  Pump();
  Datagram* d = Due(in_);
  if (!d) return receiveFailed_ ? -1 : kNothingWaiting;
  size_t n = std::min(cap, d->bytes.size());
  std::copy_n(d->bytes.begin(), n, buf);
  if (from) *from = d->addr;
  in_.queue.pop_front();
  ++in_.counts.Delivered;
  return static_cast<int>(n);
}

int FaultySocket::LastError() { return inner_->LastError(); }

std::unique_ptr<UdpSocket> FaultyNetwork::CreateSocket() {
  std::unique_ptr<UdpSocket> inner = inner_.CreateSocket();
  if (!inner) return nullptr;
  LinkFaults f = faults_;
  f.Seed += created_++;
  return std::make_unique<FaultySocket>(std::move(inner), f, clock_);
}
