#include "protocol/ban_check.h"

#include <cstdio>
#include <cstring>

// "banlist.dat" is a run of 5-byte records: the four address bytes and ','.
// A trailing group shorter than a record is ignored.
bool IsAddressBanned(const std::array<uint8_t, 4>& ip) {
  std::FILE* f = std::fopen("banlist.dat", "rb");
  if (!f) return false;
  const uint8_t wanted[5] = {ip[0], ip[1], ip[2], ip[3], ','};
  uint8_t rec[5];
  bool listed = false;
  while (!listed && std::fread(rec, 1, sizeof rec, f) == sizeof rec)
    listed = std::memcmp(rec, wanted, sizeof rec) == 0;
  std::fclose(f);
  return listed;
}
