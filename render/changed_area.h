// Where the window's surface changed since the window last showed it, so
// that the window copies only those parts to the screen instead of the
// whole picture at every step.
//
// The surface marks the blocks of 20 x 20 pixels under each row of a
// drawing operation in which the operation changed a pixel (surface.cpp).
// The window takes the marks as a few rectangles after each paint and shows
// just those.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/screen_rect.h"

class ChangedArea {
 public:
  // Playfield cells (40 pixels, shown 20 pixels off the grid) and the
  // status bar's left edge (540) fall on block edges.
  static constexpr int kBlock = 20;
  // Surfaces up to 64 blocks (1280 pixels) each way; beyond that the last
  // block row or column stands for the rest.
  static constexpr int kMaxBlocks = 64;

  // Marks the blocks under pixels x0 .. x1 - 1 of row y (x1 > x0 >= 0).
  void MarkRow(int y, int x0, int x1);
  void MarkAll();
  bool Empty() const;

  // The marked blocks as rectangles in pixels, clipped to width x height,
  // into `out` (replacing what it held); then clears the marks. A run of
  // neighbouring blocks on a block row is one rectangle, and it reaches down
  // over the rows below that have the very same run.
  void Take(int width, int height, std::vector<ScreenRect>& out);

  // Clears the mark of every marked block (column, row) for which
  // `unchanged(column, row)` holds.
  template <typename Pred>
  void Unmark(Pred unchanged) {
    for (int r = 0; r < kMaxBlocks; ++r) {
      uint64_t& row = rows_[static_cast<size_t>(r)];
      for (uint64_t bits = row; bits != 0; bits &= bits - 1) {
        const int c = __builtin_ctzll(bits);
        if (unchanged(c, r)) row &= ~(uint64_t{1} << c);
      }
    }
  }

 private:
  // Bit c of row r: block (c, r) changed.
  std::array<uint64_t, kMaxBlocks> rows_{};
};
