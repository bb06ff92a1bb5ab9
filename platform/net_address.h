// An IPv4 socket address: four address bytes in network order and a port.
#pragma once

#include <array>
#include <cstdint>
#include <string>

struct NetAddress {
  std::array<uint8_t, 4> ip{};  // network order: ip[0] is the first number
  uint16_t port = 0;            // host order

  // The server tells players apart by IPv4 address alone, not by port.
  bool SameHost(const NetAddress& o) const { return ip == o.ip; }
  bool operator==(const NetAddress& o) const { return ip == o.ip && port == o.port; }
  bool IsNull() const { return ip == std::array<uint8_t, 4>{} && port == 0; }

  std::string DottedIp() const {
    return std::to_string(ip[0]) + "." + std::to_string(ip[1]) + "." +
           std::to_string(ip[2]) + "." + std::to_string(ip[3]);
  }

  static NetAddress Of(uint8_t a, uint8_t b, uint8_t c, uint8_t d, uint16_t port) {
    NetAddress n;
    n.ip = {a, b, c, d};
    n.port = port;
    return n;
  }
};
