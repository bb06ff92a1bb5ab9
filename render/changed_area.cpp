#include "render/changed_area.h"

#include <algorithm>

namespace {

int BlockOf(int pixel) {
  return std::min(pixel / ChangedArea::kBlock, ChangedArea::kMaxBlocks - 1);
}

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
  // Rectangles counted in blocks first. above[c]: the rectangle whose run
  // starts at column c on the row above, if any.
  std::array<int, kMaxBlocks> above, here;
  above.fill(-1);
  for (int r = 0; r < kMaxBlocks; ++r) {
    here.fill(-1);
    for (uint64_t row = rows_[static_cast<size_t>(r)]; row != 0;) {
      const int c = __builtin_ctzll(row);
      const uint64_t fromC = row >> c;
      const int end = ~fromC == 0 ? kMaxBlocks : c + __builtin_ctzll(~fromC);
      // The same run on the row above continues downwards.
      const int i = above[static_cast<size_t>(c)];
      if (i >= 0 && out[static_cast<size_t>(i)].w == end - c) {
        ++out[static_cast<size_t>(i)].h;
        here[static_cast<size_t>(c)] = i;
      } else {
        here[static_cast<size_t>(c)] = static_cast<int>(out.size());
        out.push_back({c, r, end - c, 1});
      }
      row = end == kMaxBlocks ? 0 : row & ~((uint64_t{1} << end) - 1);
    }
    above = here;
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
