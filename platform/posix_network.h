// The real network: POSIX UDP sockets and address look-ups.
#pragma once

#include "platform/platform.h"

class PosixNetwork : public Network {
 public:
  std::unique_ptr<UdpSocket> CreateSocket() override;
  bool Resolve(const std::string& name, NetAddress* out) override;
  std::vector<NetAddress> LocalAddresses() override;
};

// The monotonic millisecond clock.
class SteadyClock : public Clock {
 public:
  uint32_t TickCount() override;
};
