// The real network: POSIX UDP sockets and address look-ups.
#pragma once

#include "platform/platform.h"

class PosixNetwork : public Network {
 public:
  PosixNetwork() = default;
  // Every socket it creates sends from this local IPv4 address (port chosen
  // by the system). Several clients on one machine need distinct addresses,
  // since a server tells its players apart by address: tests and headless
  // clients use 127.0.0.2, 127.0.0.3 ...
  explicit PosixNetwork(const NetAddress& source) : source_(source), hasSource_(true) {}
  std::unique_ptr<UdpSocket> CreateSocket() override;
  bool Resolve(const std::string& name, NetAddress* out) override;
  std::vector<NetAddress> LocalAddresses() override;
  std::vector<NetAddress> BroadcastAddresses() override;
  // SO_BROADCAST set: the system refuses sends to a broadcast address
  // from a socket without it.
  std::unique_ptr<UdpSocket> CreateBroadcastSocket() override;

 private:
  NetAddress source_;
  bool hasSource_ = false;
};

// The monotonic millisecond clock.
class SteadyClock : public Clock {
 public:
  uint32_t TickCount() override;
  void Sleep(uint32_t ms) override;
};
