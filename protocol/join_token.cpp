#include "protocol/join_token.h"

#include <sodium.h>

#include <cstring>

static_assert(kJoinCookieBytes == crypto_shorthash_BYTES);
static_assert(kJoinTokenKeyBytes == crypto_shorthash_KEYBYTES);

JoinTokenKey NewJoinTokenKey() {
  // sodium_init picks the fastest implementations and may be repeated;
  // randombytes_buf works without it (getrandom or /dev/urandom).
  (void)sodium_init();
  JoinTokenKey key;
  randombytes_buf(key.data(), key.size());
  return key;
}

JoinCookie MakeJoinCookie(const JoinTokenKey& key, const NetAddress& from, uint32_t window) {
  // Address, port and window as fixed-width bytes: no two inputs share a
  // message.
  uint8_t message[10];
  std::memcpy(message, from.ip.data(), 4);
  message[4] = static_cast<uint8_t>(from.port >> 8);
  message[5] = static_cast<uint8_t>(from.port);
  for (int i = 0; i < 4; ++i) message[6 + i] = static_cast<uint8_t>(window >> (24 - 8 * i));
  JoinCookie cookie;
  crypto_shorthash(cookie.data(), message, sizeof message, key.data());
  return cookie;
}

bool JoinCookieValid(const JoinTokenKey& key, const NetAddress& from, const JoinCookie& cookie,
                     uint32_t nowMs) {
  const uint32_t window = CookieWindow(nowMs);
  for (uint32_t w : {window, window - 1}) {
    const JoinCookie expected = MakeJoinCookie(key, from, w);
    if (sodium_memcmp(expected.data(), cookie.data(), cookie.size()) == 0) return true;
  }
  return false;
}

void BuildMarkedJoin(DatagramBuffer& out, const JoinCookie& cookie) {
  out.bytes.fill(0);  // the padding is zero
  BuildJoinRequest(out);
  std::memcpy(&out.bytes[kJoinMarkerAt], kJoinTokenMarker, sizeof kJoinTokenMarker - 1);
  std::memcpy(&out.bytes[kJoinCookieAt], cookie.data(), cookie.size());
  out.len = kMarkedJoinLength;
}

bool ParseMarkedJoin(const uint8_t* d, size_t len, JoinCookie* cookie) {
  if (len < kJoinCookieAt + kJoinCookieBytes || DatagramType(d, len) != 'c') return false;
  if (std::memcmp(d + kJoinMarkerAt, kJoinTokenMarker, sizeof kJoinTokenMarker - 1) != 0) return false;
  std::memcpy(cookie->data(), d + kJoinCookieAt, cookie->size());
  return true;
}

void BuildChallenge(DatagramBuffer& out, const JoinCookie& cookie) {
  out.bytes[0] = 'P';
  out.bytes[1] = 'M';
  out.bytes[2] = kChallengeType;
  std::memcpy(&out.bytes[3], cookie.data(), cookie.size());
  out.len = kChallengeLength;
}

bool ParseChallenge(const uint8_t* d, size_t len, JoinCookie* cookie) {
  if (len < kChallengeLength || DatagramType(d, len) != kChallengeType) return false;
  std::memcpy(cookie->data(), d + 3, cookie->size());
  return true;
}
