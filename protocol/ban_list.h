// The ban list: IPv4 addresses that may not join, kept only in the file
// "banlist.dat" in the working directory and read afresh by every
// operation. The file is a sequence of 5-byte records, the four address
// bytes in network order followed by ','; a trailing group of fewer than
// five bytes is not a record. "banlist.swp" is the scratch file of a removal
// and is left behind empty.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

using BanAddress = std::array<uint8_t, 4>;  // as NetAddress::ip

constexpr int kBanRecordBytes = 5;

// 0: "banlist.dat" cannot be opened; 1: the address is not listed; 2: it is.
int BanLookup(const BanAddress& address);

// Appends the address (even when it is listed already), creating the file
// when it is missing. 1 on success, 0 when the file could not be opened,
// created or written.
int BanAdd(const BanAddress& address);

// Called after every write and rename of a removal; returning false stops
// the removal there, as a crash would. Lets tests interrupt a removal at
// any point.
using BanWriteHook = std::function<bool()>;

// Rewrites the list without the record at a 0-based position (a position
// past the end removes nothing). 1 on success; 0 when a file could not be
// opened, written or renamed, or the hook stopped it. "banlist.dat" always
// holds a whole list, the old one or the new one.
int BanRemoveAt(int position, const BanWriteHook& afterWrite = {});

// "banlist.dat" created anew and empty. 1 on success, 0 when it could not be
// created.
int BanClear();

// The listed addresses in file order, for display. 0 when "banlist.dat"
// cannot be opened (the list cannot be shown), else 1.
int BanReadList(std::vector<BanAddress>* out);
