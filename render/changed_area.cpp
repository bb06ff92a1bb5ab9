#include "render/changed_area.h"

#include <algorithm>

namespace {

int BlockOf(int pixel) {
  return std::min(pixel / ChangedArea::kBlock, ChangedArea::kMaxBlocks - 1);
}

bool Marked(uint64_t row, int c) { return (row >> c) & 1; }

}  // namespace

void ChangedArea::MarkRow(int y, int x0, int x1) {
  const int first = BlockOf(x0), last = BlockOf(x1 - 1);
  const uint64_t upToLast = last == 63 ? ~uint64_t{0} : (uint64_t{1} << (last + 1)) - 1;
  rows_[static_cast<size_t>(BlockOf(y))] |= upToLast & ~((uint64_t{1} << first) - 1);
}

void ChangedArea::MarkAll() { rows_.fill(~uint64_t{0}); }

bool ChangedArea::Empty() const {
  return std::all_of(rows_.begin(), rows_.end(), [](uint64_t r) { return r == 0; });
}

void ChangedArea::Take(int width, int height, std::vector<ScreenRect>& out) {
  out.clear();
  // Rectangles counted in blocks first.
  for (int r = 0; r < kMaxBlocks; ++r) {
    const uint64_t row = rows_[static_cast<size_t>(r)];
    for (int c = 0; c < kMaxBlocks;) {
      if (!Marked(row, c)) {
        ++c;
        continue;
      }
      int end = c;
      while (end < kMaxBlocks && Marked(row, end)) ++end;
      // The same run in the row above continues downwards.
      auto above = std::find_if(out.begin(), out.end(), [&](const ScreenRect& b) {
        return b.x == c && b.w == end - c && b.y + b.h == r;
      });
      if (above != out.end())
        ++above->h;
      else
        out.push_back({c, r, end - c, 1});
      c = end;
    }
  }
  rows_.fill(0);
  // Then in pixels, clipped to the surface.
  size_t kept = 0;
  for (const ScreenRect& b : out) {
    ScreenRect p{b.x * kBlock, b.y * kBlock, b.w * kBlock, b.h * kBlock};
    p.w = std::min(p.x + p.w, width) - p.x;
    p.h = std::min(p.y + p.h, height) - p.y;
    if (p.w > 0 && p.h > 0) out[kept++] = p;
  }
  out.resize(kept);
}
