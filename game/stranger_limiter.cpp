#include "game/stranger_limiter.h"

#include <algorithm>

namespace {

constexpr uint32_t kToken = 1000;  // one reply, in thousandths

// Adds what `rate` replies a second give since the last refill, up to the
// burst. The tick count wraps; the unsigned difference is still right.
void Refill(uint32_t& milli, uint32_t& last, uint32_t now, uint32_t rate, uint32_t burst) {
  uint64_t gained = static_cast<uint64_t>(now - last) * rate;
  milli = static_cast<uint32_t>(std::min<uint64_t>(burst * kToken, milli + gained));
  last = now;
}

}  // namespace

StrangerLimiter::Bucket& StrangerLimiter::SourceBucket(const std::array<uint8_t, 4>& ip,
                                                       uint32_t nowMs) {
  uint32_t key = static_cast<uint32_t>(ip[0]) << 24 | ip[1] << 16 | ip[2] << 8 | ip[3];
  int set = static_cast<int>((key * 0x9E3779B1u) >> 26);  // 6 bits: kSets
  static_assert(kSets == 64);
  Entry* ways = &table_[set * kWays];
  Entry* victim = &ways[0];
  for (int w = 0; w < kWays; ++w) {
    Entry& e = ways[w];
    if (e.used && e.ip == ip) return e.bucket;
    // An empty way first; else the one unheard of for longest.
    if (victim->used && (!e.used || nowMs - e.bucket.last > nowMs - victim->bucket.last)) victim = &e;
  }
  *victim = Entry{true, ip, Bucket{kPerSourceBurst * kToken, nowMs}};
  return victim->bucket;
}

bool StrangerLimiter::Allow(const std::array<uint8_t, 4>& ip, uint32_t nowMs) {
  Bucket& source = SourceBucket(ip, nowMs);
  Refill(source.milli, source.last, nowMs, kPerSourceRate, kPerSourceBurst);
  Refill(all_.milli, all_.last, nowMs, kAllRate, kAllBurst);
  if (source.milli < kToken || all_.milli < kToken) {
    ++refused_;
    return false;
  }
  source.milli -= kToken;
  all_.milli -= kToken;
  return true;
}
