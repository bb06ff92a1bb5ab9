// The ban list operations on an arbitrary "banlist.dat", checked against
// the file's own bytes: 5-byte records, a short tail ignored.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "protocol/ban_list.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

std::string Slurp(const char* name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool Listed(const std::string& file, const BanAddress& a) {
  const std::string wanted{static_cast<char>(a[0]), static_cast<char>(a[1]), static_cast<char>(a[2]),
                           static_cast<char>(a[3]), ','};
  for (size_t k = 0; k + 5 <= file.size(); k += 5)
    if (file.compare(k, 5, wanted) == 0) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  EnterScratchDirectory("vrask_ban_fuzz");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WriteWholeFile("banlist.dat", data, size);
  const std::string file(reinterpret_cast<const char*>(data), size);
  const size_t records = size / 5;
  const std::string whole = file.substr(0, records * 5);

  std::vector<BanAddress> list;
  FUZZ_CHECK(BanReadList(&list) == 1);
  FUZZ_CHECK(list.size() == records);
  for (size_t k = 0; k < records; ++k)
    for (int b = 0; b < 4; ++b) FUZZ_CHECK(list[k][b] == data[5 * k + b]);

  // Look-ups: the first record's address, and one taken from the tail.
  BanAddress probes[2] = {{}, {}};
  for (int b = 0; b < 4 && b < static_cast<int>(size); ++b) probes[0][b] = data[b];
  for (int b = 0; b < 4 && b < static_cast<int>(size); ++b) probes[1][b] = data[size - 1 - b];
  for (const BanAddress& a : probes) FUZZ_CHECK(BanLookup(a) == (Listed(file, a) ? 2 : 1));

  // Adding appends one aligned record (over a short tail) that is then found.
  FUZZ_CHECK(BanAdd(probes[1]) == 1);
  FUZZ_CHECK(Slurp("banlist.dat").size() == whole.size() + 5);
  FUZZ_CHECK(BanLookup(probes[1]) == 2);
  FUZZ_CHECK(BanReadList(&list) == 1 && list.size() == records + 1);

  // Removing one position (or one past the end) of the original keeps the
  // others in order.
  WriteWholeFile("banlist.dat", data, size);
  const size_t position = size % (records + 2);
  FUZZ_CHECK(BanRemoveAt(static_cast<int>(position)) == 1);
  std::string expected = whole;
  if (position < records) expected.erase(position * 5, 5);
  FUZZ_CHECK(Slurp("banlist.dat") == expected);
  FUZZ_CHECK(Slurp("banlist.swp").empty());
  return 0;
}
