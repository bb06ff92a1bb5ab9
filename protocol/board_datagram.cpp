#include "protocol/board_datagram.h"

#include <cstring>

std::array<uint8_t, kBoardDatagramLength> BuildBoardDatagram(const ChatBoard& board) {
  std::array<uint8_t, kBoardDatagramLength> d{};
  d[0] = 'P';
  d[1] = 'M';
  d[2] = 't';
  for (int k = 0; k < kChatLines; ++k) {
    // Copy the line up to its terminator; the bytes after it stay zero.
    const char* line = board.Lines[k];
    size_t n = strnlen(line, kChatLineBytes - 1);
    std::memcpy(&d[3 + kChatLineBytes * k], line, n);
  }
  return d;
}

ChatBoard ParseBoardDatagram(const uint8_t* data, size_t len) {
  ChatBoard b;
  for (int k = 0; k < kChatLines; ++k) {
    size_t start = 3 + static_cast<size_t>(kChatLineBytes) * k;
    for (size_t i = 0; i + 1 < kChatLineBytes && start + i < len; ++i) {
      char c = static_cast<char>(data[start + i]);
      if (c == 0) break;
      b.Lines[k][i] = c;
    }
  }
  return b;
}
