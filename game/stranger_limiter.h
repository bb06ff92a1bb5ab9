// How often the server answers senders that have no place in the game.
//
// Join and map requests are answered to whatever address they claim to come
// from, and UDP source addresses are easily forged. A map reply is 199 bytes
// for a 22-byte request (a bare 3-byte "PMf" is answered too), so without a
// limit anyone could make the server flood a victim with eight or more
// times the traffic they send. Every reply to a stranger therefore takes a
// token from a bucket for its source address and one from a bucket shared
// by all strangers. Players in a place never come here: their map requests
// and the game itself are not limited, and a normal join with its map
// fetch is well inside a fresh address's burst.
#pragma once

#include <array>
#include <cstdint>

class StrangerLimiter {
 public:
  static constexpr uint32_t kPerSourceRate = 4;   // replies a second
  static constexpr uint32_t kPerSourceBurst = 8;  // replies at once
  static constexpr uint32_t kAllRate = 200;       // all strangers together
  static constexpr uint32_t kAllBurst = 100;
  // Addresses remembered: a fixed table, so a flood from ever new addresses
  // cannot grow memory. It is kWays-way set-associative; when a set is full
  // the address unheard of for longest is forgotten: its bucket has refilled
  // the most, so forgetting it gives away the least. A forgotten flooder
  // starts again with a full burst, which the shared bucket still caps.
  static constexpr int kSets = 64;
  static constexpr int kWays = 4;

  // True when a reply to the IPv4 address `ip` may go at `nowMs` (the
  // game's millisecond tick count, which may wrap); takes the tokens.
  bool Allow(const std::array<uint8_t, 4>& ip, uint32_t nowMs);

  // Replies refused so far.
  uint64_t Refused() const { return refused_; }

 private:
  // Tokens in thousandths, so that a rate per second adds per millisecond.
  struct Bucket {
    uint32_t milli = 0;
    uint32_t last = 0;  // tick count of the last refill
  };
  struct Entry {
    bool used = false;
    std::array<uint8_t, 4> ip{};
    Bucket bucket;
  };

  Bucket& SourceBucket(const std::array<uint8_t, 4>& ip, uint32_t nowMs);

  std::array<Entry, kSets * kWays> table_{};
  Bucket all_{kAllBurst * 1000, 0};
  uint64_t refused_ = 0;
};
