#include "render/surface.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "render/bitmap_font.h"
#include "render/pictures.h"

namespace {

// A table slot for a few numbers. Places and cells lie on coarse grids (40
// and 41 pixels apart), so each number is mixed in before the next.
size_t SlotOf(std::initializer_list<uint64_t> values, size_t slots) {
  uint64_t h = 0x9E3779B97F4A7C15u;
  for (uint64_t v : values) {
    h = (h ^ v) * 0xBF58476D1CE4E5B9u;
    h ^= h >> 31;
  }
  return static_cast<size_t>(h % slots);
}

// The entry for a key in a table of memos: among the eight slots from the
// key's own, the one that holds the key, else a free one, else the key's own
// slot (its entry is forgotten). The tables hold a few hundred keys at most,
// so a key is nearly always found.
template <typename Entry, size_t N, typename Holds, typename Free>
Entry& EntryFor(std::array<Entry, N>& table, size_t slot, Holds holds, Free isFree) {
  constexpr size_t kProbes = 8;
  Entry* free = nullptr;
  for (size_t i = 0; i < kProbes; ++i) {
    Entry& e = table[(slot + i) % N];
    if (holds(e)) return e;
    if (!free && isFree(e)) free = &e;
  }
  return free ? *free : table[slot];
}

uint64_t Bits(int v) { return static_cast<uint32_t>(v); }
uint64_t Bits(const void* p) { return reinterpret_cast<uintptr_t>(p); }

}  // namespace

template <typename RowOp>
void Surface::Blit(const Picture& src, int sx, int sy, int w, int h, int dx, int dy, RowOp op) {
  // Clip the source rectangle to the picture, moving the destination along.
  int x0 = std::max(sx, 0), y0 = std::max(sy, 0);
  int x1 = std::min(sx + w, src.width), y1 = std::min(sy + h, src.height);
  // Then clip the destination of what is left to the surface.
  int ox = dx - sx, oy = dy - sy;  // destination = source + offset
  x0 = std::max(x0, -ox);
  y0 = std::max(y0, -oy);
  x1 = std::min(x1, width - ox);
  y1 = std::min(y1, height - oy);
  if (x0 >= x1 || y0 >= y1) return;
  Changes changes;
  for (int y = y0; y < y1; ++y) {
    const uint32_t* in = &src.pixels[static_cast<size_t>(y) * src.width + x0];
    uint32_t* out = &pixels[static_cast<size_t>(y + oy) * width + ox + x0];
    if (op(out, in, x1 - x0)) NoteChange(changes, y + oy, ox + x0, ox + x1);
  }
  EndChanges(changes);
}

void Surface::FitStamps() {
  const int columns = (width + ChangedArea::kBlock - 1) / ChangedArea::kBlock;
  const int rows = (height + ChangedArea::kBlock - 1) / ChangedArea::kBlock;
  if (columns == stampColumns_ && blockStamps_.size() == static_cast<size_t>(columns * rows)) return;
  // A surface of another size holds other pixels: forget everything.
  stampColumns_ = columns;
  blockStamps_.assign(static_cast<size_t>(columns * rows), 0);
  touched_.assign(static_cast<size_t>(columns * rows), TouchedBox{});
  rowsBeforeTake_.assign(static_cast<size_t>(columns * rows), 0);
  copyMemo_.fill(CopyMemo{});
  orMemo_.fill(CopyMemo{});
  differences_.fill(CellDifference{});
  drawingMemo_.fill(DrawingMemo{});
  shownRows_.clear();
  unknownRows_.clear();
}

void Surface::EndChanges(const Changes& c) {
  if (c.x0 >= c.x1) return;
  constexpr int kB = ChangedArea::kBlock;
  for (int row = c.y0 / kB; row <= (c.y1 - 1) / kB; ++row) {
    const int top = row * kB;
    changed.MarkRow(std::max(top, c.y0), c.x0, c.x1);
    const int y0 = std::max(c.y0 - top, 0), y1 = std::min(c.y1 - top, kB);
    for (int column = c.x0 / kB; column <= (c.x1 - 1) / kB; ++column) {
      const size_t at = static_cast<size_t>(row) * stampColumns_ + column;
      TouchedBox& box = touched_[at];
      if (blockStamps_[at] != opNumber_) box.ops = static_cast<uint8_t>(std::min(box.ops + 1, 2));
      blockStamps_[at] = opNumber_;
      const int left = column * kB;
      box.x0 = static_cast<uint8_t>(std::min<int>(box.x0, std::max(c.x0 - left, 0)));
      box.x1 = static_cast<uint8_t>(std::max<int>(box.x1, std::min(c.x1 - left, kB)));
      box.y0 = static_cast<uint8_t>(std::min<int>(box.y0, y0));
      box.y1 = static_cast<uint8_t>(std::max<int>(box.y1, y1));
      box.rows |= ((uint32_t{1} << (y1 - y0)) - 1) << y0;
    }
  }
}

ScreenRect Surface::TouchedPart(int column, int row) const {
  constexpr int kB = ChangedArea::kBlock;
  const size_t at = static_cast<size_t>(row) * stampColumns_ + column;
  ScreenRect part{column * kB, row * kB, kB, kB};
  if (column < stampColumns_ && at < touched_.size() && touched_[at].x1 != 0) {
    const TouchedBox& box = touched_[at];
    part = {column * kB + box.x0, row * kB + box.y0, box.x1 - box.x0, box.y1 - box.y0};
  }
  return OnSurface(part);
}

ScreenRect Surface::Narrowed(const ScreenRect& r) const {
  constexpr int kB = ChangedArea::kBlock;
  const int c0 = r.x / kB, c1 = (r.x + r.w - 1) / kB, r0 = r.y / kB, r1 = (r.y + r.h - 1) / kB;
  // The grid's last block stands for all beyond it: nothing is known there.
  if (c1 >= ChangedArea::kMaxBlocks - 1 || r1 >= ChangedArea::kMaxBlocks - 1) return r;
  int x0 = r.x + r.w, y0 = r.y + r.h, x1 = r.x, y1 = r.y;
  for (int row = r0; row <= r1; ++row)
    for (int column = c0; column <= c1; ++column) {
      const ScreenRect p = TouchedPart(column, row);
      if (p.w <= 0 || p.h <= 0) continue;
      x0 = std::min(x0, p.x);
      y0 = std::min(y0, p.y);
      x1 = std::max(x1, p.x + p.w);
      y1 = std::max(y1, p.y + p.h);
    }
  return x0 < x1 && y0 < y1 ? ScreenRect{x0, y0, x1 - x0, y1 - y0} : r;
}

std::vector<ScreenRect>& Surface::ChangedPartsSince(uint64_t op, int x, int y, int w, int h) {
  changedParts_.clear();
  const ScreenRect on = OnSurface({x, y, w, h});
  if (on.w <= 0) return changedParts_;
  constexpr int kB = ChangedArea::kBlock;
  const int c0 = on.x / kB, c1 = (on.x + on.w - 1) / kB;
  for (int r = on.y / kB; r <= (on.y + on.h - 1) / kB; ++r) {
    const int top = std::max(on.y, r * kB), bottom = std::min(on.y + on.h, (r + 1) * kB);
    const size_t rowStart = changedParts_.size();
    for (int c = c0; c <= c1; ++c) {
      if (blockStamps_[static_cast<size_t>(r * stampColumns_ + c)] <= op) continue;
      const int left = std::max(on.x, c * kB), right = std::min(on.x + on.w, (c + 1) * kB);
      if (changedParts_.size() > rowStart && changedParts_.back().x + changedParts_.back().w == left)
        changedParts_.back().w = right - changedParts_.back().x;
      else
        changedParts_.push_back({left, top, right - left, bottom - top});
    }
  }
  return changedParts_;
}

void Surface::TakeChanges(std::vector<ScreenRect>& out) {
  FitStamps();
  constexpr int kB = ChangedArea::kBlock;
  // The first take shows everything as it is now.
  const bool first = shownRows_.empty();
  if (first) {
    shownRows_.assign(touched_.size() * kB, 0);
    unknownRows_.assign(touched_.size(), 0);
    for (int y = 0; y < height; ++y)
      for (int column = 0; column < stampColumns_; ++column) RowAsShown(column, y / kB, y);
  }
  changed.Unmark([&](int column, int row) {
    if (column * kB >= width || row * kB >= height) return true;  // beyond the surface: nothing to show
    // The grid's last block stands for all beyond it: keep its mark.
    if (first || column == ChangedArea::kMaxBlocks - 1 || row == ChangedArea::kMaxBlocks - 1) return false;
    // Outside its touched part a block is as it was shown. What one
    // operation alone changed cannot be what was shown: it is not compared
    // (a block where the operation's rows changed nothing is shown again
    // for nothing), and its rows are no longer known.
    const size_t box = static_cast<size_t>(row) * stampColumns_ + column;
    const bool known = touched_[box].x1 != 0;
    if (known && touched_[box].ops == 1) {
      unknownRows_[box] |= touched_[box].rows;
      return false;
    }
    // Rows between the changed ones are as they were shown.
    const ScreenRect part = TouchedPart(column, row);
    const uint32_t rows = known ? touched_[box].rows : ~uint32_t{0};
    bool same = true;
    for (int y = part.y; y < part.y + part.h; ++y)
      if (rows >> (y - row * kB) & 1 && !RowAsShown(column, row, y)) same = false;
    return same;
  });
  changed.Take(width, height, out);
  for (ScreenRect& r : out) r = Narrowed(r);
  for (size_t i = 0; i < touched_.size(); ++i) rowsBeforeTake_[i] = touched_[i].rows;
  takeBeforeOp_ = lastTakeOp_;
  lastTakeOp_ = opNumber_;
  std::fill(touched_.begin(), touched_.end(), TouchedBox{});
}

uint32_t Surface::RowsChangedSince(uint64_t op, size_t at) const {
  if (op >= lastTakeOp_) return touched_[at].rows;
  if (op >= takeBeforeOp_) return touched_[at].rows | rowsBeforeTake_[at];
  return ~uint32_t{0};
}

namespace {

// A 64-bit hash of the n <= ChangedArea::kBlock pixels of a block's row:
// each pair of pixels, mixed with a key of its own place, is multiplied out
// to 128 bits and folded (as wyhash does), and the results are added. The
// products do not wait for each other, so it costs a few instructions a pair.
uint64_t RowHash(const uint32_t* p, int n) {
  static constexpr uint64_t kKeys[ChangedArea::kBlock / 2 + 1] = {
      0xA0761D6478BD642Fu, 0xE7037ED1A0B428DBu, 0x8EBC6AF09C88C6E3u, 0x589965CC75374CC3u,
      0x1D8E4E27C47D124Fu, 0x9E3779B97F4A7C15u, 0xBF58476D1CE4E5B9u, 0x94D049BB133111EBu,
      0xC2B2AE3D27D4EB4Fu, 0x165667B19E3779F9u, 0x27D4EB2F165667C5u};
  constexpr uint64_t kMultiplier = 0x9FB21C651E98DF25u;
  const auto mix = [](uint64_t in, uint64_t key) {
    const unsigned __int128 m = static_cast<unsigned __int128>(in ^ key) * kMultiplier;
    return static_cast<uint64_t>(m) ^ static_cast<uint64_t>(m >> 64);
  };
  const auto pairs = [&](int count) {
    uint64_t h = static_cast<uint64_t>(n);
    for (int k = 0; k < count; ++k) {
      uint64_t pair;
      std::memcpy(&pair, p + 2 * k, sizeof pair);
      h += mix(pair, kKeys[k]);
    }
    return h;
  };
  // A whole block's row, nearly always: a loop the compiler unrolls.
  if (n == ChangedArea::kBlock) return pairs(ChangedArea::kBlock / 2);
  const uint64_t h = pairs(n / 2);
  return n % 2 ? h + mix(p[n - 1], kKeys[n / 2]) : h;
}

}  // namespace

bool Surface::RowAsShown(int column, int row, int y) {
  constexpr int kB = ChangedArea::kBlock;
  const int x = column * kB;
  const uint64_t h = RowHash(&pixels[static_cast<size_t>(y) * width + x], std::min(kB, width - x));
  const size_t box = static_cast<size_t>(row) * stampColumns_ + column;
  const uint32_t bit = uint32_t{1} << (y - row * kB);
  uint64_t& shown = shownRows_[box * kB + static_cast<size_t>(y - row * kB)];
  const bool same = shown == h && !(unknownRows_[box] & bit);
  shown = h;
  unknownRows_[box] &= ~bit;
  return same;
}

// Each operation notes, row by row, whether it changed any pixel of the
// row: a copy compares first and writes only a row that differs; OR and
// fill write and compare in the same pass (a loop the compiler vectorises).

void Surface::Copy(const Picture& src, int sx, int sy, int w, int h, int dx, int dy) {
  FitStamps();
  const CopyMemo copy{src.pixels.data(), src.width, src.height, sx, sy, w, h, dx, dy, ++opNumber_};
  CopyMemo& last = EntryFor(
      copyMemo_, SlotOf({Bits(dx), Bits(dy), Bits(w), Bits(h)}, copyMemo_.size()),
      [&](const CopyMemo& m) { return m.dx == dx && m.dy == dy && m.w == w && m.h == h && m.op != 0; },
      [](const CopyMemo& m) { return m.op == 0; });
  const auto copyRow = [](uint32_t* out, const uint32_t* in, int n) {
    const size_t bytes = sizeof(uint32_t) * static_cast<size_t>(n);
    if (std::memcmp(out, in, bytes) == 0) return false;
    std::memcpy(out, in, bytes);
    return true;
  };
  if (!last.SamePlace(copy)) {
    last = copy;
    return Blit(src, sx, sy, w, h, dx, dy, copyRow);
  }
  // Where no operation changed a block since the last copy to this place,
  // the block still shows that copy's cell: the same cell writes nothing
  // there, another one only where the two cells differ. Parts of the copy
  // clip as they would in the whole copy.
  const std::vector<ScreenRect>& changedParts = ChangedPartsSince(last.op, dx, dy, w, h);
  const CopyMemo before = last;
  last = copy;
  const auto copyPart = [&](const ScreenRect& r) {
    Blit(src, sx + r.x - dx, sy + r.y - dy, r.w, r.h, r.x, r.y, copyRow);
  };
  if (before.SameCopy(copy)) {
    for (const ScreenRect& r : changedParts) copyPart(r);
  } else if (changedParts.empty()) {
    const CellDifference& d = DifferenceOf(src, before, copy);
    for (int i = 0; i < d.bandCount; ++i) {
      const ScreenRect& b = d.bands[static_cast<size_t>(i)];
      copyPart({dx + b.x, dy + b.y, b.w, b.h});
    }
  } else {
    // Another cell where some blocks changed: the whole copy (rare enough
    // not to be split further).
    Blit(src, sx, sy, w, h, dx, dy, copyRow);
  }
}

const Surface::CellDifference& Surface::DifferenceOf(const Picture& src, const CopyMemo& from,
                                                     const CopyMemo& to) {
  const CellDifference key{src.pixels.data(), src.width, src.height, to.sx, to.sy,
                           from.sx,           from.sy,   to.w,       to.h,  {}, 0};
  CellDifference& found = EntryFor(
      differences_,
      SlotOf({Bits(key.source), Bits(to.sx), Bits(to.sy), Bits(from.sx), Bits(from.sy), Bits(to.w), Bits(to.h)},
             differences_.size()),
      [&](const CellDifference& d) { return d.Same(key); },
      [](const CellDifference& d) { return d.source == nullptr; });
  if (found.Same(key)) return found;
  found = key;
  auto in = [&](int x, int y) { return x >= 0 && y >= 0 && x < src.width && y < src.height; };
  bool lastRowDiffers = false;
  for (int y = 0; y < key.h; ++y) {
    int x0 = key.w, x1 = 0;  // the row's differing columns
    for (int x = 0; x < key.w; ++x) {
      const int bx = key.bx + x, by = key.by + y, ax = key.ax + x, ay = key.ay + y;
      if (!in(bx, by)) continue;  // the copy writes nothing there
      if (in(ax, ay) && src.At(ax, ay) == src.At(bx, by)) continue;
      x0 = std::min(x0, x);
      x1 = std::max(x1, x + 1);
    }
    const bool differs = x0 < x1;
    // A row that differs after one that does not starts a band while
    // there are bands left; else it widens the last one.
    if (differs && !lastRowDiffers && found.bandCount < kMaxBands) {
      found.bands[static_cast<size_t>(found.bandCount++)] = {x0, y, x1 - x0, 1};
    } else if (differs) {
      ScreenRect& b = found.bands[static_cast<size_t>(found.bandCount - 1)];
      const int right = std::max(b.x + b.w, x1);
      b.x = std::min(b.x, x0);
      b.w = right - b.x;
      b.h = y + 1 - b.y;
    }
    lastRowDiffers = differs;
  }
  return found;
}

void Surface::Or(const Picture& src, int sx, int sy, int w, int h, int dx, int dy) {
  FitStamps();
  const CopyMemo copy{src.pixels.data(), src.width, src.height, sx, sy, w, h, dx, dy, ++opNumber_};
  CopyMemo& last = EntryFor(
      orMemo_, SlotOf({Bits(copy.source), Bits(sx), Bits(sy), Bits(w), Bits(h), Bits(dx), Bits(dy)}, orMemo_.size()),
      [&](const CopyMemo& m) { return m.SameCopy(copy) && m.op != 0; }, [](const CopyMemo& m) { return m.op == 0; });
  const auto orRow = [](uint32_t* out, const uint32_t* in, int n) {
    uint32_t added = 0;
    for (int i = 0; i < n; ++i) {
      added |= in[i] & ~out[i];
      out[i] |= in[i];
    }
    return added != 0;
  };
  // Remembered whether or not it changes a pixel: either way the place now
  // holds all of the cell's bits. A repeat is needed only in the blocks
  // that changed since: the others still hold them.
  const bool repeat = last.SameCopy(copy);
  const uint64_t lastOp = last.op;
  last = copy;
  if (!repeat) return Blit(src, sx, sy, w, h, dx, dy, orRow);
  for (const ScreenRect& r : ChangedPartsSince(lastOp, dx, dy, w, h))
    Blit(src, sx + r.x - dx, sy + r.y - dy, r.w, r.h, r.x, r.y, orRow);
}

void Surface::Fill(int x, int y, int w, int h, uint32_t colour) {
  FitStamps();
  ++opNumber_;
  int x0 = std::max(x, 0), y0 = std::max(y, 0);
  int x1 = std::min(x + w, width), y1 = std::min(y + h, height);
  Changes changes;
  for (int yy = y0; yy < y1; ++yy) {
    uint32_t* row = &pixels[static_cast<size_t>(yy) * width + x0];
    uint32_t differs = 0;
    for (int i = 0; i < x1 - x0; ++i) {
      differs |= row[i] ^ colour;
      row[i] = colour;
    }
    if (differs) NoteChange(changes, yy, x0, x1);
  }
  EndChanges(changes);
}

void Surface::DrawText(int x, int y, std::string_view text, uint32_t colour) {
  FitStamps();
  ++opNumber_;
  const BitmapFont& font = GameFont();
  // Rows of the line that lie on the surface.
  const int row0 = std::max(0, -y), row1 = std::min(font.height, height - y);
  int pen = x;
  Changes changes;
  for (char c : text) {
    const BitmapFont::Glyph* gl = font.Find(static_cast<unsigned char>(c));
    if (!gl) continue;
    // The glyph's columns that lie on the surface.
    const int left = pen + gl->left;
    const int col0 = std::max(0, -left), col1 = std::min(gl->width, width - left);
    const size_t stride = static_cast<size_t>(gl->width + 7) / 8;
    for (int row = row0; row < row1 && col0 < col1; ++row) {
      const uint8_t* glyphRow = &font.bits[gl->offset + static_cast<size_t>(row) * stride];
      uint32_t* line = &pixels[static_cast<size_t>(y + row) * width + left];
      int changed0 = col1, changed1 = col0;  // the row's changed columns
      for (int col = col0; col < col1; ++col) {
        const bool set = glyphRow[col >> 3] & (0x80 >> (col & 7));
        if (!set || line[col] == colour) continue;
        line[col] = colour;
        changed0 = std::min(changed0, col);
        changed1 = col + 1;
      }
      if (changed0 < changed1) NoteChange(changes, y + row, left + changed0, left + changed1);
    }
    pen += gl->advance;
  }
  EndChanges(changes);
}

ScreenRect Surface::OnSurface(const ScreenRect& area) const {
  const int x0 = std::max(area.x, 0), y0 = std::max(area.y, 0);
  const int x1 = std::min(area.x + area.w, width), y1 = std::min(area.y + area.h, height);
  return x0 < x1 && y0 < y1 ? ScreenRect{x0, y0, x1 - x0, y1 - y0} : ScreenRect{};
}

Surface::DrawingMemo& Surface::MemoOf(const ScreenRect& area) {
  return EntryFor(
      drawingMemo_, SlotOf({Bits(area.x), Bits(area.y), Bits(area.w), Bits(area.h)}, drawingMemo_.size()),
      [&](const DrawingMemo& m) { return m.area == area && m.op != 0; }, [](const DrawingMemo& m) { return m.op == 0; });
}

// The hash of each block's part of each row of `on`, row after row.
void Surface::HashParts(const ScreenRect& on, std::vector<uint64_t>& out) const {
  constexpr int kB = ChangedArea::kBlock;
  out.clear();
  for (int y = on.y; y < on.y + on.h; ++y)
    for (int x = on.x; x < on.x + on.w; x = (x / kB + 1) * kB) {
      const int end = std::min(on.x + on.w, (x / kB + 1) * kB);
      out.push_back(RowHash(&pixels[static_cast<size_t>(y) * width + x], end - x));
    }
}

bool Surface::Unchanged(const ScreenRect& area, std::string_view key) {
  FitStamps();
  DrawingMemo& last = MemoOf(area);
  if (last.op == 0 || last.area != area || last.key != key) return false;
  const uint64_t since = last.op;
  // Found the same, the area holds what the drawing left as of now: the
  // next look needs to know only of the changes after this one.
  const auto same = [&] {
    last.op = opNumber_;
    return true;
  };
  const std::vector<ScreenRect>& parts = ChangedPartsSince(since, area.x, area.y, area.w, area.h);
  if (parts.empty()) return same();
  if (last.left.empty()) return false;  // nothing kept
  // Only the rows that operations changed since, in the blocks they
  // changed, can hold other pixels than it left.
  constexpr int kB = ChangedArea::kBlock;
  const ScreenRect on = OnSurface(area);
  const int firstColumn = on.x / kB, columns = (on.x + on.w - 1) / kB - firstColumn + 1;
  for (const ScreenRect& p : parts)
    for (int y = p.y; y < p.y + p.h; ++y)
      for (int x = p.x; x < p.x + p.w; x = (x / kB + 1) * kB) {
        const size_t block = static_cast<size_t>(y / kB) * stampColumns_ + x / kB;
        if (!(RowsChangedSince(since, block) >> (y % kB) & 1)) continue;
        const int end = std::min(p.x + p.w, (x / kB + 1) * kB);
        const size_t at = static_cast<size_t>(y - on.y) * columns + (x / kB - firstColumn);
        if (RowHash(&pixels[static_cast<size_t>(y) * width + x], end - x) != last.left[at]) return false;
      }
  return same();
}

void Surface::Remember(const ScreenRect& area, std::string_view key) {
  FitStamps();
  DrawingMemo& last = MemoOf(area);
  last.area = area;
  last.key.assign(key);
  // Its own operations are not changes since: the numbers up to here.
  last.op = ++opNumber_;
  const ScreenRect on = OnSurface(area);
  // A large drawing (the chat board) keeps nothing to compare with: hashing
  // it at each paint would cost more than the compare could save.
  if (static_cast<size_t>(on.w) * on.h > kLargestComparedArea) {
    last.left.clear();
    return;
  }
  HashParts(on, last.left);
}

int Surface::TextWidth(std::string_view text) { return GameFont().TextWidth(text); }

int Surface::TextHeight() { return GameFont().height; }

ScreenRect Surface::TextArea(int x, int y, std::string_view text) {
  const BitmapFont& font = GameFont();
  int pen = x, x0 = x, x1 = x;
  for (char c : text) {
    const BitmapFont::Glyph* gl = font.Find(static_cast<unsigned char>(c));
    if (!gl) continue;
    x0 = std::min(x0, pen + gl->left);
    x1 = std::max(x1, pen + gl->left + gl->width);
    pen += gl->advance;
  }
  return {x0, y, x1 - x0, font.height};
}
