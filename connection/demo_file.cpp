#include "connection/demo_file.h"

#include <zstd.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "maps/map_file.h"

namespace {

constexpr char kMagic[] = "VRASKDEMO\n";
constexpr size_t kMagicBytes = sizeof kMagic - 1;
// Level 9 keeps an eight-player game near 22 KB a minute (level 3: 24 KB)
// at a few microseconds a step either way (bench/demo_record_bench.cpp).
constexpr int kLevel = 9;
// A step's entry: its kind letter and a frame; the end's is 5 bytes.
constexpr size_t kEntryBytes = 1 + kDemoFrameBytes;
constexpr size_t kEndBytes = 5;
constexpr size_t kRecordMax = kDemoFramesPerRecord * kEntryBytes + kEndBytes;
// The stream's output for a record can be larger than its input only by
// the block headers; anything beyond this bound is damage.
const size_t kStoredMax = ZSTD_compressBound(kRecordMax) + 64;

void PutU16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(v >> (8 * k)));
}
void PutText(std::vector<uint8_t>& out, const std::string& s, size_t max) {
  size_t n = std::min(s.size(), max);
  out.push_back(static_cast<uint8_t>(n));
  out.insert(out.end(), s.begin(), s.begin() + static_cast<long>(n));
}

// Reads the header's fields in order, never past the end.
struct Cursor {
  const uint8_t* data;
  size_t size;
  size_t pos = 0;
  DemoError* error;

  bool Fail(size_t at, std::string expected) {
    error->Byte = at;
    error->Expected = std::move(expected);
    return false;
  }
  bool Need(size_t n, const char* what) {
    if (size - pos >= n) return true;
    return Fail(pos, std::string(what) + ", the file ends");
  }
  uint32_t Le(size_t n) {
    uint32_t v = 0;
    for (size_t k = 0; k < n; ++k) v |= static_cast<uint32_t>(data[pos + k]) << (8 * k);
    pos += n;
    return v;
  }
  bool Text(std::string* s, size_t max, const char* what) {
    if (!Need(1, what)) return false;
    size_t at = pos;
    size_t n = data[pos++];
    if (n > max) return Fail(at, std::string(what) + " of at most " + std::to_string(max) + " bytes");
    if (!Need(n, what)) return false;
    s->assign(reinterpret_cast<const char*>(data + pos), n);
    pos += n;
    return true;
  }
};

bool ReadHeader(Cursor& c, DemoHeader* h) {
  if (c.size < kMagicBytes || std::memcmp(c.data, kMagic, kMagicBytes) != 0)
    return c.Fail(0, "the text \"VRASKDEMO\" that begins a demo file");
  c.pos = kMagicBytes;
  if (!c.Need(2, "the format version")) return false;
  h->FormatVersion = static_cast<uint16_t>(c.Le(2));
  if (h->FormatVersion != kDemoFormatVersion)
    return c.Fail(c.pos - 2, "format version " + std::to_string(kDemoFormatVersion) + ", found " +
                                 std::to_string(h->FormatVersion));
  if (!c.Text(&h->ProgramVersion, kDemoVersionMax, "the program version")) return false;
  if (!c.Need(1, "the speed")) return false;
  h->TickInterval = c.data[c.pos];
  if (h->TickInterval != kFastTickInterval && h->TickInterval != kSlowTickInterval)
    return c.Fail(c.pos, "the speed 40 or 60 ms, found " + std::to_string(h->TickInterval));
  ++c.pos;
  if (!c.Need(kMapCells, "the map's 196 tiles")) return false;
  for (int i = 0; i < kMapCells; ++i) {
    uint8_t t = c.data[c.pos];
    if (t > 10) return c.Fail(c.pos, "a tile code 0..10, found " + std::to_string(t));
    h->Tiles[static_cast<size_t>(i)] = t;
    ++c.pos;
  }
  if (!c.Text(&h->Description, kMapDescriptionMax, "the map description")) return false;
  if (!c.Need(8, "the date")) return false;
  uint64_t low = c.Le(4), high = c.Le(4);
  h->Date = static_cast<int64_t>(low | (high << 32));
  if (!c.Need(2, "the frame size")) return false;
  uint32_t frameBytes = c.Le(2);
  if (frameBytes != kDemoFrameBytes)
    return c.Fail(c.pos - 2, "the frame size " + std::to_string(kDemoFrameBytes) + ", found " +
                                 std::to_string(frameBytes));
  return true;
}

struct DCtxFree {
  void operator()(ZSTD_DCtx* d) const { ZSTD_freeDCtx(d); }
};

}  // namespace

std::string DemoError::Text() const { return "byte " + std::to_string(Byte) + ": expected " + Expected; }

DemoEncoder::DemoEncoder() : cctx_(ZSTD_createCCtx()) {
  ZSTD_CCtx_setParameter(cctx_, ZSTD_c_compressionLevel, kLevel);
  // The repeats worth finding lie a few steps back: a small window and small
  // tables keep what each step touches in the cache (the program sleeps
  // between steps, so large tables are cold every time).
  ZSTD_CCtx_setParameter(cctx_, ZSTD_c_windowLog, 16);
  ZSTD_CCtx_setParameter(cctx_, ZSTD_c_hashLog, 12);
  ZSTD_CCtx_setParameter(cctx_, ZSTD_c_chainLog, 12);
}

DemoEncoder::~DemoEncoder() { ZSTD_freeCCtx(cctx_); }

void DemoEncoder::Header(const DemoHeader& h, std::vector<uint8_t>& out) {
  out.insert(out.end(), kMagic, kMagic + kMagicBytes);
  PutU16(out, h.FormatVersion);
  PutText(out, h.ProgramVersion, kDemoVersionMax);
  out.push_back(h.TickInterval);
  out.insert(out.end(), h.Tiles.begin(), h.Tiles.end());
  PutText(out, h.Description, kMapDescriptionMax);
  uint64_t date = static_cast<uint64_t>(h.Date);
  PutU32(out, static_cast<uint32_t>(date));
  PutU32(out, static_cast<uint32_t>(date >> 32));
  PutU16(out, static_cast<uint16_t>(kDemoFrameBytes));
}

void DemoEncoder::Record(const uint8_t* raw, size_t n, bool last, std::vector<uint8_t>& out) {
  size_t lengthAt = out.size();
  PutU32(out, 0);
  ZSTD_inBuffer in{raw, n, 0};
  size_t remaining;
  // Room for what a record can become; a second turn of the loop is there
  // only in case the stream holds more back.
  const size_t room = ZSTD_compressBound(n) + 32;
  do {
    size_t start = out.size();
    out.resize(start + room);
    ZSTD_outBuffer o{out.data() + start, room, 0};
    remaining = ZSTD_compressStream2(cctx_, &o, &in, last ? ZSTD_e_end : ZSTD_e_flush);
    out.resize(start + o.pos);
  } while (remaining != 0 && !ZSTD_isError(remaining));
  uint32_t stored = static_cast<uint32_t>(out.size() - lengthAt - 4);
  for (int k = 0; k < 4; ++k) out[lengthAt + static_cast<size_t>(k)] = static_cast<uint8_t>(stored >> (8 * k));
}

void DemoEncoder::Frame(const DemoFrame& f, std::vector<uint8_t>& out) {
  entries_.push_back(frames_ == 0 ? 'F' : 'D');
  for (size_t k = 0; k < kDemoFrameBytes; ++k)
    entries_.push_back(frames_ == 0 ? f[k] : static_cast<uint8_t>(f[k] - previous_[k]));
  previous_ = f;
  ++frames_;
  if (++pendingFrames_ == kDemoFramesPerRecord) {
    Record(entries_.data(), entries_.size(), false, out);
    entries_.clear();
    pendingFrames_ = 0;
  }
}

void DemoEncoder::End(std::vector<uint8_t>& out) {
  entries_.push_back('E');
  for (int k = 0; k < 4; ++k) entries_.push_back(static_cast<uint8_t>(frames_ >> (8 * k)));
  Record(entries_.data(), entries_.size(), true, out);
  entries_.clear();
  pendingFrames_ = 0;
}

bool ReadDemo(const uint8_t* data, size_t size, DemoHeader* header,
              const std::function<void(const DemoFrame&)>& onFrame, DemoError* error) {
  Cursor c{data, size, 0, error};
  if (!ReadHeader(c, header)) return false;

  std::unique_ptr<ZSTD_DCtx, DCtxFree> dctx(ZSTD_createDCtx());
  DemoFrame frame{};
  uint32_t frames = 0;
  std::vector<uint8_t> raw(kRecordMax + 1);  // one byte more than any record: longer is damage
  for (uint32_t records = 1;; ++records) {
    const size_t recordAt = c.pos;
    const std::string name = "record " + std::to_string(records);
    if (c.pos == c.size)
      return c.Fail(c.pos, frames ? "another record, the file ends before the end of the demo"
                                  : "the first record, the file ends");
    if (!c.Need(4, ("the length of " + name).c_str())) return false;
    size_t stored = c.Le(4);
    if (stored > kStoredMax || stored == 0)
      return c.Fail(recordAt, "a length of 1.." + std::to_string(kStoredMax) + " for " + name +
                                  ", found " + std::to_string(stored));
    if (!c.Need(stored, (std::to_string(stored) + " bytes of " + name).c_str())) return false;

    ZSTD_inBuffer in{data + c.pos, stored, 0};
    ZSTD_outBuffer out{raw.data(), raw.size(), 0};
    for (;;) {
      size_t before = out.pos;
      size_t r = ZSTD_decompressStream(dctx.get(), &out, &in);
      if (ZSTD_isError(r))
        return c.Fail(c.pos + in.pos, "compressed data of " + name + " (" + ZSTD_getErrorName(r) + ")");
      if (out.pos == out.size)
        return c.Fail(c.pos, name + " of at most " + std::to_string(kRecordMax) + " bytes");
      if (in.pos == in.size && out.pos == before) break;
    }
    c.pos += stored;

    // The record's entries: up to kDemoFramesPerRecord steps, the last
    // record ending with the end entry.
    size_t at = 0;
    uint32_t inRecord = 0;
    while (at < out.pos) {
      const char kind = static_cast<char>(raw[at]);
      const size_t left = out.pos - at;
      const std::string entry = name + ", entry " + std::to_string(inRecord + 1);
      if (kind == 'E' && left == kEndBytes && frames > 0) {
        uint32_t count = 0;
        for (int k = 0; k < 4; ++k) count |= static_cast<uint32_t>(raw[at + 1 + static_cast<size_t>(k)]) << (8 * k);
        if (count != frames)
          return c.Fail(recordAt, "an end entry counting " + std::to_string(frames) + " frames in " + name +
                                      ", found " + std::to_string(count));
        if (c.pos != c.size) return c.Fail(c.pos, "the end of the file after the end entry");
        return true;
      }
      const char wanted = frames == 0 ? 'F' : 'D';
      if (kind != wanted || left < kEntryBytes || inRecord == kDemoFramesPerRecord)
        return c.Fail(recordAt, entry + " to be a " + (frames == 0 ? "whole" : "difference") + " frame of " +
                                    std::to_string(kDemoFrameBytes) + " bytes" +
                                    (frames == 0 ? "" : " or the end entry"));
      for (size_t k = 0; k < kDemoFrameBytes; ++k)
        frame[k] = kind == 'F' ? raw[at + 1 + k] : static_cast<uint8_t>(frame[k] + raw[at + 1 + k]);
      std::string damage;
      if (!DemoFrameValid(frame, &damage)) return c.Fail(recordAt, entry + " to hold " + damage);
      ++frames;
      ++inRecord;
      onFrame(frame);
      at += kEntryBytes;
    }
    if (inRecord != kDemoFramesPerRecord)
      return c.Fail(recordAt, name + " to hold " + std::to_string(kDemoFramesPerRecord) +
                                  " frames or to end the demo");
  }
}
