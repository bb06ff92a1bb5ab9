// What a server counts for its operators (the metrics page): datagrams and
// bytes by type letter, refusals, joins, time-outs, kicks and how late the
// steps ran. Plain numbers the state holds by value: counting is one
// increment where the datagram is handled, and the server's operator
// threads only ever see a copy.
#pragma once

#include <array>
#include <cstdint>

struct ServerCounters {
  // Index 0..25 is the type letter 'a'..'z'; kOtherType counts everything
  // else (no "PM" prefix, an upper-case or non-letter type).
  static constexpr int kOtherType = 26;
  static constexpr int kTypes = 27;
  // Upper bounds of the step-lateness buckets in milliseconds; the last
  // bucket (+Inf) is implied. A step is due every 40 or 60 ms.
  static constexpr std::array<uint32_t, 7> kLatenessBoundsMs = {1, 2, 5, 10, 20, 40, 100};

  std::array<uint64_t, kTypes> DatagramsReceived{};
  std::array<uint64_t, kTypes> BytesReceived{};
  std::array<uint64_t, kTypes> DatagramsSent{};
  std::array<uint64_t, kTypes> BytesSent{};
  uint64_t StrangerRepliesRefused = 0;
  uint64_t JoinsAccepted = 0;
  std::array<uint64_t, 26> JoinsDenied{};  // by denial letter 'a'..'z'
  uint64_t TimeOuts = 0;
  uint64_t Kicks = 0;
  // Per bucket, not cumulative; the last entry is above every bound.
  std::array<uint64_t, kLatenessBoundsMs.size() + 1> LatenessBuckets{};
  uint64_t LatenessSumMs = 0;
  uint64_t Steps = 0;

  // The slot for a datagram of len bytes starting at d ('P','M',type…).
  static int TypeIndex(const uint8_t* d, size_t len) {
    if (len < 3 || d[0] != 'P' || d[1] != 'M' || d[2] < 'a' || d[2] > 'z') return kOtherType;
    return d[2] - 'a';
  }
  void Received(const uint8_t* d, size_t len) {
    int t = TypeIndex(d, len);
    ++DatagramsReceived[t];
    BytesReceived[t] += len;
  }
  void Sent(const uint8_t* d, size_t len) {
    int t = TypeIndex(d, len);
    ++DatagramsSent[t];
    BytesSent[t] += len;
  }
  void Denied(char reason) {
    if (reason >= 'a' && reason <= 'z') ++JoinsDenied[reason - 'a'];
  }
  // A step that ran lateMs after it was due.
  void Stepped(uint32_t lateMs) {
    size_t b = 0;
    while (b < kLatenessBoundsMs.size() && lateMs > kLatenessBoundsMs[b]) ++b;
    ++LatenessBuckets[b];
    LatenessSumMs += lateMs;
    ++Steps;
  }
};
