// Whether a joining address is on the ban list "banlist.dat".
#pragma once

#include <array>
#include <cstdint>

// True only when the file lists the address: a missing or unreadable file
// bans nobody. The file is read afresh at every call.
bool IsAddressBanned(const std::array<uint8_t, 4>& ip);
