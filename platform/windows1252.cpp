#include "platform/windows1252.h"

#include <cstdint>

namespace {

// 0x80..0x9F; 0 marks the five unassigned codes. 0xA0..0xFF are Latin-1.
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0};

char ByteFor(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] != 0 && kHigh[i] == c) return static_cast<char>(0x80 + i);
  return '?';
}

void PutUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace

std::string Cp1252FromUtf8(std::string_view utf8) {
  std::string out;
  size_t i = 0;
  while (i < utf8.size()) {
    const uint8_t lead = static_cast<uint8_t>(utf8[i++]);
    int more = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
    if (more < 0) {  // a stray continuation byte or an invalid lead
      out.push_back('?');
      continue;
    }
    char32_t c = more == 0 ? lead : lead & (0x3F >> more);
    bool whole = true;
    for (int k = 0; k < more; ++k) {
      if (i >= utf8.size() || (static_cast<uint8_t>(utf8[i]) & 0xC0) != 0x80) {
        whole = false;
        break;
      }
      c = (c << 6) | (static_cast<uint8_t>(utf8[i++]) & 0x3F);
    }
    out.push_back(whole ? ByteFor(c) : '?');
  }
  return out;
}

char32_t UnicodeFromCp1252(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte;
}

std::string Utf8FromCp1252(std::string_view bytes) {
  std::string out;
  for (char b : bytes) {
    const char32_t c = UnicodeFromCp1252(static_cast<unsigned char>(b));
    PutUtf8(out, c != 0 || b == 0 ? c : U'?');  // 0: unassigned, unless the byte is 0
  }
  return out;
}
