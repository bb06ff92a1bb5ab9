// Fixed datagrams of the protocol. Every datagram starts with "PM" and a
// type letter.
#pragma once

#include <cstddef>
#include <cstdint>

// Leaving / shutting down: 34 bytes, no terminator.
inline constexpr uint8_t kLeavingDatagram[] = "PMs - I am shutting down, ta ta...";
inline constexpr size_t kLeavingLength = 34;
static_assert(sizeof kLeavingDatagram == kLeavingLength + 1);
