// Join tokens: how a server learns that a join really comes from the
// address it names before it gives that address a place or a large reply.
//
// UDP sender addresses can be forged. A forged 23-byte join used to draw a
// 100-byte accept, the board and an update every other step for the
// 400-step time-out (about 44 KB to a victim) and to hold a place. So our
// client marks its join; a server that knows tokens answers a marked join
// without a valid cookie with a small challenge carrying one, and accepts
// only a marked join that returns it. A server that follows the protocol
// as it was examines bytes 3 and 4 of a join only, so it accepts the
// marked join at once; a client that does not know tokens never sees a
// challenge (the "h" letter is ignored by it anyway).
//
// The cookie is a keyed hash of the sender's address, port and a 10-second
// window of the server's tick count, so the server keeps nothing per
// stranger. The key is made at server start; tests pass their own key and
// clock, so every cookie here is a pure function of its inputs.
#pragma once

#include <cstddef>
#include <cstdint>

#include "game/game_state.h"
#include "protocol/datagrams.h"

// Bytes 0-22: the plain join request; 23-28: the marker; 29-36: the cookie
// (zeros: none yet); 37-39: zero padding, so that the challenge (11 bytes)
// is always smaller than the marked join that draws it.
inline constexpr char kJoinTokenMarker[] = "+token";
constexpr size_t kJoinMarkerAt = kJoinRequestLength;
constexpr size_t kJoinCookieAt = kJoinMarkerAt + sizeof kJoinTokenMarker - 1;
constexpr size_t kMarkedJoinLength = 40;
// "PMh" and the cookie.
constexpr char kChallengeType = 'h';
constexpr size_t kChallengeLength = 3 + kJoinCookieBytes;
static_assert(kJoinCookieAt + kJoinCookieBytes <= kMarkedJoinLength);
static_assert(kChallengeLength < kMarkedJoinLength);

// A cookie is valid in the window it was made in and the next one: for 10
// to 20 seconds.
constexpr uint32_t kCookieWindowMs = 10000;

// The window of a tick count. When the tick count wraps (every 49 days)
// the numbering starts again at 0: cookies of the last window are refused
// once and the client is simply challenged again.
inline uint32_t CookieWindow(uint32_t nowMs) { return nowMs / kCookieWindowMs; }

// A fresh random key (libsodium's randombytes_buf), made at server start.
JoinTokenKey NewJoinTokenKey();

// The cookie for an address and port in a window.
JoinCookie MakeJoinCookie(const JoinTokenKey& key, const NetAddress& from, uint32_t window);

// True when the cookie was made for this address and port in the window of
// nowMs or in the one before.
bool JoinCookieValid(const JoinTokenKey& key, const NetAddress& from, const JoinCookie& cookie,
                     uint32_t nowMs);

// The marked join request with the cookie (zeros when there is none yet).
void BuildMarkedJoin(DatagramBuffer& out, const JoinCookie& cookie);
// True for a join carrying the marker; *cookie is its cookie field.
bool ParseMarkedJoin(const uint8_t* d, size_t len, JoinCookie* cookie);
// The challenge: "PMh" and the cookie.
void BuildChallenge(DatagramBuffer& out, const JoinCookie& cookie);
bool ParseChallenge(const uint8_t* d, size_t len, JoinCookie* cookie);
