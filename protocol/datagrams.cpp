#include "protocol/datagrams.h"

#include <cstdio>
#include <cstring>

namespace {

// Copies text into a fresh buffer, without terminator.
void Put(DatagramBuffer& out, const char* text) {
  out.bytes.fill(0);
  out.len = std::strlen(text);
  std::memcpy(out.bytes.data(), text, out.len);
}

// "PM", the type letter, at most maxChars characters of text and the
// terminator.
void PutText(DatagramBuffer& out, char type, const char* text, size_t maxChars) {
  out.bytes.fill(0);
  out.bytes[0] = 'P';
  out.bytes[1] = 'M';
  out.bytes[2] = static_cast<uint8_t>(type);
  size_t n = strnlen(text, maxChars);
  std::memcpy(out.bytes.data() + 3, text, n);
  out.len = 3 + n + 1;
}

}  // namespace

char DatagramType(const uint8_t* d, size_t len) {
  if (len < 3 || d[0] != 'P' || d[1] != 'M') return 0;
  return static_cast<char>(d[2]);
}

void BuildJoinRequest(DatagramBuffer& out) {
  char text[32];
  std::snprintf(text, sizeof text, "PMc%d%d - I wanna play!\r\n", kVersionMajor, kVersionMinor);
  Put(out, text);
}

bool JoinVersionMatches(const uint8_t* d, size_t len) {
  return len >= 5 && d[3] == '0' + kVersionMajor && d[4] == '0' + kVersionMinor;
}

void BuildMapRequest(DatagramBuffer& out) { Put(out, "PMf - I need the map\r\n"); }

void BuildKey(DatagramBuffer& out, char key) {
  Put(out, "PMg? - Key Signature");
  out.bytes[3] = static_cast<uint8_t>(key);
}

bool ParseKey(const uint8_t* d, size_t len, uint8_t* key) {
  if (len < 4) return false;
  *key = d[3];
  return true;
}

void BuildName(DatagramBuffer& out, const char* name) { PutText(out, 'n', name, kNameTextMax); }

void BuildChatLine(DatagramBuffer& out, const char* text) {
  PutText(out, 't', text, kChatTextMax);
}

void ParseTextField(const uint8_t* d, size_t len, char* out, size_t maxChars) {
  size_t n = 0;
  for (size_t i = 3; i < len && n < maxChars && d[i] != 0; ++i) out[n++] = static_cast<char>(d[i]);
  out[n] = 0;
}

void BuildAccept(DatagramBuffer& out, int tickInterval) {
  Put(out, "PMoks - You have been accepted, you can now request topography and updates\r\n");
  out.bytes[4] = static_cast<uint8_t>(tickInterval & 0xFF);
  out.len = kAcceptLength;  // the terminator and the filler are zero
}

bool ParseAccept(const uint8_t* d, size_t len, int* tickInterval) {
  if (len < 5 || std::memcmp(d, "PMok", 4) != 0) return false;
  *tickInterval = d[4];
  return true;
}

void BuildDenial(DatagramBuffer& out, char reason) {
  switch (reason) {
    case 'a': Put(out, "PMda - There already is a connection from your address\r\n"); break;
    case 'f': Put(out, "PMdf - Sorry, This server is full, try again later\r\n"); break;
    case 'v': Put(out, "PMdv - Sorry, Client/Server versions don't match\r\n"); break;
    case 'b': Put(out, "PMdb - Your computer address has been banned from this server\r\n"); break;
    default: out.bytes.fill(0); out.len = 0; break;
  }
}

bool ParseDenial(const uint8_t* d, size_t len, char* reason, char* text, size_t textCap) {
  if (len < 4 || DatagramType(d, len) != 'd' || textCap == 0) return false;
  *reason = static_cast<char>(d[3]);
  size_t n = 0;
  for (size_t i = 4; i < len && n + 1 < textCap && d[i] != 0; ++i) text[n++] = static_cast<char>(d[i]);
  text[n] = 0;
  return true;
}

void BuildMap(DatagramBuffer& out, const TileMap& tiles) {
  out.bytes.fill(0);
  std::memcpy(out.bytes.data(), "PMf", 3);
  for (int i = 0; i < kMapCells; ++i) out.bytes[3 + i] = static_cast<uint8_t>(tiles[i] + 1);
  out.len = kMapLength;
}

bool ParseMap(const uint8_t* d, size_t len, TileMap* tiles) {
  if (len < kMapLength || DatagramType(d, len) != 'f') return false;
  for (int i = 0; i < kMapCells; ++i) {
    uint8_t b = d[3 + i];
    (*tiles)[i] = (b >= 1 && b <= 11) ? static_cast<uint8_t>(b - 1) : 1;
  }
  return true;
}

void BuildMapNotice(DatagramBuffer& out) { Put(out, "PMf"); }

void BuildKick(DatagramBuffer& out) { Put(out, "PMk"); }

void BuildLeaving(DatagramBuffer& out) {
  Put(out, reinterpret_cast<const char*>(kLeavingDatagram));
}

void BuildTimeoutNotice(DatagramBuffer& out) {
  Put(out, "PMst - You have timed out");
  out.len = kTimeoutNoticeLength;
}

bool IsTimeoutNotice(const uint8_t* d, size_t len) {
  return DatagramType(d, len) == 's' && len >= 4 && d[3] == 't';
}
