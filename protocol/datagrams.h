// Fixed datagrams of the protocol, with their builders and parsers. Every
// datagram starts with "PM" and a type letter. Builders fill a DatagramBuffer
// in place (nothing is allocated per datagram); parsers take the bytes as
// received and never read past len. The game state update lives in
// update_datagram.h, the message board in board_datagram.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "game/game_state.h"

// Leaving / shutting down: 34 bytes, no terminator.
inline constexpr uint8_t kLeavingDatagram[] = "PMs - I am shutting down, ta ta...";
inline constexpr size_t kLeavingLength = 34;
static_assert(sizeof kLeavingDatagram == kLeavingLength + 1);

constexpr size_t kServerReceiveMax = 255;  // a server reads at most this much
constexpr size_t kClientReceiveMax = 256;  // a client at most this much
constexpr size_t kJoinRequestLength = 23;
constexpr size_t kAcceptLength = 100;
constexpr size_t kMapRequestLength = 22;
constexpr size_t kMapLength = 199;
constexpr size_t kMapNoticeLength = 3;
constexpr size_t kKeyLength = 20;
constexpr size_t kKickLength = 3;
constexpr size_t kTimeoutNoticeLength = 255;
constexpr size_t kNameTextMax = 8;  // a nickname never travels longer

// Room for any datagram of the protocol and the length actually used.
struct DatagramBuffer {
  std::array<uint8_t, kClientReceiveMax> bytes{};
  size_t len = 0;
  const uint8_t* data() const { return bytes.data(); }
  size_t size() const { return len; }
};

// The type letter (byte 2), or 0 when the datagram is shorter than three
// bytes or does not start with "PM": such datagrams are dropped.
char DatagramType(const uint8_t* d, size_t len);

// --- Client to server ---
// "PMc10 - I wanna play!\r\n", 23 bytes, no terminator.
void BuildJoinRequest(DatagramBuffer& out);
// True when bytes 3 and 4 are the digits "1" and "0". A join request too
// short to carry them has the wrong version.
bool JoinVersionMatches(const uint8_t* d, size_t len);
// "PMf - I need the map\r\n", 22 bytes.
void BuildMapRequest(DatagramBuffer& out);
// "PMg%c - Key Signature", 20 bytes.
void BuildKey(DatagramBuffer& out, char key);
// The key character in byte 3; false when the datagram has no byte 3.
bool ParseKey(const uint8_t* d, size_t len, uint8_t* key);
// "PMn%s" with its terminator; at most kNameTextMax characters of name.
void BuildName(DatagramBuffer& out, const char* name);
// "PMt%s" with its terminator; at most 26 characters of text.
void BuildChatLine(DatagramBuffer& out, const char* text);
// The text from byte 3 up to its terminator, to the end of the bytes
// received when there is none, and to at most maxChars characters; out
// (maxChars + 1 bytes) is always terminated. Used for names and chat lines.
void ParseTextField(const uint8_t* d, size_t len, char* out, size_t maxChars);

// --- Server to client ---
// The accept reply: 100 bytes, byte 4 the low byte of tickInterval.
void BuildAccept(DatagramBuffer& out, int tickInterval);
// True for a reply starting "PMok"; the server's tick interval from byte 4.
bool ParseAccept(const uint8_t* d, size_t len, int* tickInterval);
// One of the four denials by reason letter 'a', 'f', 'v' or 'b', without
// terminator. Any other letter builds nothing (len 0).
void BuildDenial(DatagramBuffer& out, char reason);
// A reply starting "PMd": the reason letter and the text from byte 4 as far
// as it was received, cut to textCap - 1 characters and terminated.
bool ParseDenial(const uint8_t* d, size_t len, char* reason, char* text, size_t textCap);
// "PMf" and each tile code + 1: 199 bytes.
void BuildMap(DatagramBuffer& out, const TileMap& tiles);
// A 199-byte (or longer) "PMf" datagram read as the map. A byte outside
// 1..11 would be a tile code the drawing has no picture for; it is read as a
// plain wall (code 1) instead.
bool ParseMap(const uint8_t* d, size_t len, TileMap* tiles);
// "PMf", the 3-byte map-changed notice.
void BuildMapNotice(DatagramBuffer& out);
// "PMk", the 3-byte kick.
void BuildKick(DatagramBuffer& out);
// The leaving datagram, 34 bytes (either way).
void BuildLeaving(DatagramBuffer& out);
// "PMst - You have timed out", a terminator and filler: 255 bytes.
void BuildTimeoutNotice(DatagramBuffer& out);
// Type "s" with byte 3 "t".
bool IsTimeoutNotice(const uint8_t* d, size_t len);
