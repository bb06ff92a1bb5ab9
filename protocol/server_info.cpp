// The server-information datagrams and what a server answers with.
#include "protocol/server_info.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kVersionAt = 3;
constexpr size_t kProtocolAt = 4;
constexpr size_t kNameAt = 6;
constexpr size_t kDescriptionAt = kNameAt + kInfoNameMax + 1;
constexpr size_t kPlayersAt = kDescriptionAt + kInfoDescriptionMax + 1;
constexpr size_t kPlacesAt = kPlayersAt + 1;
constexpr size_t kTickAt = kPlacesAt + 1;
constexpr size_t kFlagsAt = kTickAt + 1;
static_assert(kFlagsAt + 1 == kInfoAnswerLength);
constexpr uint8_t kFlagTokens = 1;

void PutText(uint8_t* at, const std::string& text, size_t maxChars) {
  std::memcpy(at, text.data(), std::min(text.size(), maxChars));
}

// A field of maxChars + 1 bytes read as text up to its first zero byte.
std::string GetText(const uint8_t* at, size_t maxChars) {
  const uint8_t* end = std::find(at, at + maxChars, 0);
  return std::string(at, end);
}

}  // namespace

void BuildInfoRequest(DatagramBuffer& out) {
  out.bytes.fill(0);
  out.bytes[0] = 'P';
  out.bytes[1] = 'M';
  out.bytes[2] = kInfoRequestType;
  out.bytes[kVersionAt] = kInfoVersion;
  out.len = kInfoRequestLength;
}

bool InfoRequestAnswerable(const uint8_t* d, size_t len) {
  return DatagramType(d, len) == kInfoRequestType && len >= kInfoRequestLength &&
         d[kVersionAt] >= 1;
}

void BuildInfoAnswer(DatagramBuffer& out, const ServerInfo& info) {
  out.bytes.fill(0);
  uint8_t* b = out.bytes.data();
  b[0] = 'P';
  b[1] = 'M';
  b[2] = kInfoAnswerType;
  b[kVersionAt] = kInfoVersion;
  b[kProtocolAt] = '1';
  b[kProtocolAt + 1] = '0';
  PutText(b + kNameAt, info.name, kInfoNameMax);
  PutText(b + kDescriptionAt, info.description, kInfoDescriptionMax);
  b[kPlayersAt] = static_cast<uint8_t>(info.players);
  b[kPlacesAt] = static_cast<uint8_t>(info.places);
  b[kTickAt] = static_cast<uint8_t>(info.tickInterval);
  b[kFlagsAt] = info.requiresTokens ? kFlagTokens : 0;
  out.len = kInfoAnswerLength;
}

bool ParseInfoAnswer(const uint8_t* d, size_t len, ServerInfo* info) {
  if (DatagramType(d, len) != kInfoAnswerType) return false;
  // Shorter is not an answer; longer than our request is not one we asked
  // for (a server never outgrows the request).
  if (len < kInfoAnswerLength || len > kInfoRequestLength) return false;
  if (d[kVersionAt] < 1) return false;
  ServerInfo s;
  s.version = d[kVersionAt];
  s.protocol = GetText(d + kProtocolAt, 2);
  s.name = GetText(d + kNameAt, kInfoNameMax);
  s.description = GetText(d + kDescriptionAt, kInfoDescriptionMax);
  s.players = d[kPlayersAt];
  s.places = d[kPlacesAt];
  s.tickInterval = d[kTickAt];
  s.requiresTokens = (d[kFlagsAt] & kFlagTokens) != 0;
  // Counts a server could not have: hostile or broken, not listed.
  if (s.places > kSlotCount || s.players > s.places) return false;
  *info = std::move(s);
  return true;
}

ServerInfo DescribeServer(const GameState& g) {
  ServerInfo s;
  s.protocol = "10";
  s.name = g.ServerName.empty() ? g.Nickname : g.ServerName;
  s.description = g.MapDescription;
  s.places = g.MaxPlayers;
  for (int i = 0; i < g.MaxPlayers && i < kSlotCount; ++i) {
    const PlayerSlot& p = g.Players[i];
    if (p.Active && (p.Kind == KindInternet || p.Kind == KindLocal)) ++s.players;
  }
  s.tickInterval = g.TickInterval & 0xFF;
  s.requiresTokens = g.RequireToken;
  return s;
}
