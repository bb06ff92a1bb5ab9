// The message board datagram: "PMt", then the eight board lines, each in a
// 30-byte field at byte 3 + 30 * k; 255 bytes in all, the rest filler zero.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "game/game_state.h"

constexpr size_t kBoardDatagramLength = 255;

std::array<uint8_t, kBoardDatagramLength> BuildBoardDatagram(const ChatBoard& board);

// Reads the eight lines out of a received board datagram of len bytes. Each
// line is read as a NUL-terminated text within its field and never past the
// bytes received; a missing field reads as an empty line.
ChatBoard ParseBoardDatagram(const uint8_t* data, size_t len);
