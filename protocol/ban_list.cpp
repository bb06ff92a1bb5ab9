#include "protocol/ban_list.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr const char* kBanFile = "banlist.dat";
constexpr const char* kSwapFile = "banlist.swp";

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File Open(const char* name, const char* mode) { return File(std::fopen(name, mode)); }

using Record = std::array<uint8_t, kBanRecordBytes>;

Record MakeRecord(const BanAddress& a) { return {a[0], a[1], a[2], a[3], ','}; }

// The next whole record, or false at the end (a short tail is ignored).
bool ReadRecord(std::FILE* f, Record* r) {
  return std::fread(r->data(), 1, r->size(), f) == r->size();
}

bool WriteRecord(std::FILE* f, const Record& r) {
  return std::fwrite(r.data(), 1, r.size(), f) == r.size();
}

// Closes a file that was written and tells whether everything reached it.
bool FinishWriting(File f) {
  bool ok = std::fflush(f.get()) == 0 && !std::ferror(f.get());
  return std::fclose(f.release()) == 0 && ok;
}

bool Continue(const BanWriteHook& hook) { return !hook || hook(); }

}  // namespace

int BanLookup(const BanAddress& address) {
  File f = Open(kBanFile, "rb");
  if (!f) return 0;
  const Record wanted = MakeRecord(address);
  Record r;
  while (ReadRecord(f.get(), &r))
    if (r == wanted) return 2;
  return 1;
}

int BanAdd(const BanAddress& address) {
  File f = Open(kBanFile, "r+b");
  if (!f) {
    if (!BanClear()) return 0;
    f = Open(kBanFile, "r+b");
    if (!f) return 0;
  }
  // Append after the last whole record: a short tail left by a damaged file
  // is overwritten, so the new record stays aligned and can be found.
  if (std::fseek(f.get(), 0, SEEK_END) != 0) return 0;
  long end = std::ftell(f.get());
  if (end < 0 || std::fseek(f.get(), end - end % kBanRecordBytes, SEEK_SET) != 0) return 0;
  if (!WriteRecord(f.get(), MakeRecord(address))) return 0;
  return FinishWriting(std::move(f)) ? 1 : 0;
}

int BanRemoveAt(int position, const BanWriteHook& afterWrite) {
  // The new list is written whole to the scratch file and then renamed over
  // the list, so an interruption at any point leaves "banlist.dat" holding
  // either the old list or the new one, never an empty or partial file.
  File in = Open(kBanFile, "rb");
  if (!in) return 0;
  File swap = Open(kSwapFile, "wb");
  if (!swap) return 0;
  Record r;
  for (int k = 0; ReadRecord(in.get(), &r); ++k) {
    if (k == position) continue;
    if (!WriteRecord(swap.get(), r)) return 0;
    if (!Continue(afterWrite)) return 0;
  }
  in.reset();
  if (!FinishWriting(std::move(swap))) return 0;
  if (!Continue(afterWrite)) return 0;

  if (std::rename(kSwapFile, kBanFile) != 0) return 0;
  if (!Continue(afterWrite)) return 0;

  // The scratch file is left behind empty, as it always has been.
  File empty = Open(kSwapFile, "wb");
  if (!empty || !FinishWriting(std::move(empty))) return 0;
  return Continue(afterWrite) ? 1 : 0;
}

int BanClear() {
  File f = Open(kBanFile, "wb");
  if (!f) return 0;
  return FinishWriting(std::move(f)) ? 1 : 0;
}

int BanReadList(std::vector<BanAddress>* out) {
  out->clear();
  File f = Open(kBanFile, "rb");
  if (!f) return 0;
  Record r;
  while (ReadRecord(f.get(), &r)) out->push_back({r[0], r[1], r[2], r[3]});
  return 1;
}
