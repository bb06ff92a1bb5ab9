// The window's persistent pixel surface: the drawing writes here and the
// shell only shows it. Pixels are 0xRRGGBB.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "render/changed_area.h"
#include "render/pixel_store.h"

struct Picture;

// The client area that a 706 x 561 window with a classic frame, caption and
// one-line menu leaves.
constexpr int kClientWidth = 700;
constexpr int kClientHeight = 517;

constexpr uint32_t Rgb(int r, int g, int b) {
  return (static_cast<uint32_t>(r & 0xFF) << 16) | (static_cast<uint32_t>(g & 0xFF) << 8) |
         static_cast<uint32_t>(b & 0xFF);
}

struct Surface {
  int width = kClientWidth;
  int height = kClientHeight;
  // Lent to the image the window server reads, the pixels are drawn there
  // and shown from there without being copied (PixelStore::LendTo).
  PixelStore pixels = PixelStore(kClientWidth * kClientHeight, 0);
  // Where the operations below changed a pixel since the marks were last
  // taken. An operation that writes what is already there marks nothing.
  ChangedArea changed;

  // Takes the marks as rectangles (ChangedArea::Take), leaving out the
  // blocks whose pixels are the same as at the previous call: a sprite
  // erased and drawn again on the same place is nothing new to show. Each
  // rectangle is narrowed to the part of its blocks that operations wrote
  // (an animated brick changes a few pixels of its blocks). The first call
  // keeps every mark.
  //
  // What was shown is kept as a 64-bit hash of each block's rows, not as a
  // second picture: a tenth of the memory to fetch at each paint. Two rows
  // that differ hash alike about once in 2^64 compares; the row would then
  // be shown at its next change.
  void TakeChanges(std::vector<ScreenRect>& out);

  uint32_t At(int x, int y) const { return pixels[y * width + x]; }

  // Block transfers of the w x h rectangle at (sx, sy) of a picture to
  // (dx, dy). Clipping: only the part of the source rectangle that lies
  // inside the picture is transferred, each pixel to the place it would
  // have had in the whole transfer, and only where that place lies on the
  // surface. Everything else on the surface stays as it was, so a source
  // rectangle wholly beyond the picture's edge changes nothing.
  // Plain copy: the destination takes the source pixel. A copy that repeats
  // the last copy made to the same place, from the same picture, writes
  // only in the blocks of the place where an operation has changed a pixel
  // since: elsewhere the pixels are already what it would write. (The wall
  // tiles and bricks are redrawn at every paint; most paints change few of
  // them.) A copy of another cell of the same picture to an untouched place
  // writes only where the two cells differ (an animated tile changes a few
  // pixels from one phase to the next), so only those blocks count as
  // changed. So a picture must not change while a surface draws from it,
  // and the pixels must only be written through these operations.
  void Copy(const Picture& src, int sx, int sy, int w, int h, int dx, int dy);
  // OR copy: the destination becomes destination | source, so black parts
  // of the source let what is beneath show through. Repeating it changes
  // nothing, so an OR copy that repeats the last one from the same cell to
  // the same place writes only in the blocks of the place where something
  // changed a pixel since (every sprite is redrawn after each fireball).
  void Or(const Picture& src, int sx, int sy, int w, int h, int dx, int dy);

  // Rectangle fills, clipped to the surface.
  void FillBlack(int x, int y, int w, int h) { Fill(x, y, w, h, 0x000000); }
  void FillWhite(int x, int y, int w, int h) { Fill(x, y, w, h, 0xFFFFFF); }
  void Fill(int x, int y, int w, int h, uint32_t colour);

  // Text in the game font with a transparent background: only the glyphs'
  // pixels are set, in `colour`. (x, y) is the top-left of the text line.
  // Each byte is one character (Windows-1252); clipped to the surface.
  void DrawText(int x, int y, std::string_view text, uint32_t colour);
  // The width in pixels that DrawText takes for the text.
  static int TextWidth(std::string_view text);
  // Height of a text line.
  static int TextHeight();
  // Where DrawText(x, y, text, ...) may set pixels (glyphs may reach past
  // their advance).
  static ScreenRect TextArea(int x, int y, std::string_view text);

  // A drawing made of several operations (a text on its black box, a gauge)
  // can be skipped as a whole. Unchanged says whether the last drawing
  // remembered for `area` had the same `key` (all that decides its pixels)
  // and the area still holds what that drawing left (in each of its blocks
  // nothing has changed a pixel since, or the pixels hash the same again);
  // Remember records a drawing just made. The drawing must stay inside its
  // area.
  bool Unchanged(const ScreenRect& area, std::string_view key);
  void Remember(const ScreenRect& area, std::string_view key);

 private:
  // Clips as described above and applies op(out, in, n) to each row's run;
  // op returns whether it changed any pixel of the run.
  template <typename RowOp>
  void Blit(const Picture& src, int sx, int sy, int w, int h, int dx, int dy, RowOp op);

  // The rectangle around what the current operation changed: its blocks
  // are marked, stamped and their touched parts widened once, at its end.
  struct Changes {
    int x0 = INT32_MAX, y0 = INT32_MAX, x1 = INT32_MIN, y1 = INT32_MIN;
  };
  // Notes that the current operation changed pixels x0 .. x1 - 1 of row y.
  static void NoteChange(Changes& c, int y, int x0, int x1) {
    c.x0 = std::min(c.x0, x0);
    c.x1 = std::max(c.x1, x1);
    c.y0 = std::min(c.y0, y);
    c.y1 = std::max(c.y1, y + 1);
  }
  // Marks, stamps and widens the touched parts of the blocks under the
  // rectangle around what the operation changed.
  void EndChanges(const Changes& c);
  // The parts of the w x h rectangle at (x, y), on the surface, that lie in
  // blocks some operation after number `op` changed: for each row of
  // blocks, one rectangle for each run of such blocks. The vector is kept
  // for the next call, which overwrites it.
  std::vector<ScreenRect>& ChangedPartsSince(uint64_t op, int x, int y, int w, int h);
  std::vector<ScreenRect> changedParts_;
  void FitStamps();

  struct CopyMemo {
    const uint32_t* source = nullptr;
    int sourceWidth = 0, sourceHeight = 0, sx = 0, sy = 0, w = 0, h = 0, dx = 0, dy = 0;
    uint64_t op = 0;  // the operation that made the copy
    // From the same picture to the same place, of the same size.
    bool SamePlace(const CopyMemo& o) const {
      return source == o.source && sourceWidth == o.sourceWidth && sourceHeight == o.sourceHeight &&
             w == o.w && h == o.h && dx == o.dx && dy == o.dy;
    }
    bool SameCopy(const CopyMemo& o) const { return SamePlace(o) && sx == o.sx && sy == o.sy; }
  };
  // Where a copy of the w x h cell at (bx, by) writes other pixels than one
  // of the cell at (ax, ay) wrote, relative to the cells' corner: pixels of
  // the first cell that differ from the second's, or that lie in the picture
  // for the first only. As bands: each run of rows that differ, as wide as
  // they differ (an animated tile's spark leaves one place and appears at
  // another, rows apart); past kMaxBands the last band takes in the rest.
  static constexpr int kMaxBands = 4;
  struct CellDifference {
    const uint32_t* source = nullptr;
    int sourceWidth = 0, sourceHeight = 0, bx = 0, by = 0, ax = 0, ay = 0, w = 0, h = 0;
    std::array<ScreenRect, kMaxBands> bands{};
    int bandCount = 0;
    bool Same(const CellDifference& o) const {
      return source == o.source && sourceWidth == o.sourceWidth && sourceHeight == o.sourceHeight &&
             bx == o.bx && by == o.by && ax == o.ax && ay == o.ay && w == o.w && h == o.h;
    }
  };
  const CellDifference& DifferenceOf(const Picture& src, const CopyMemo& from, const CopyMemo& to);
  // The part of a block that operations changed since the last
  // TakeChanges, in pixels from its corner; empty (x1 == 0) for a block
  // none changed, or one marked without operations: all of it counts then.
  struct TouchedBox {
    uint8_t x0 = ChangedArea::kBlock, y0 = ChangedArea::kBlock, x1 = 0, y1 = 0;
    uint8_t ops = 0;  // how many operations changed it: 0, 1, or 2 for more
    uint32_t rows = 0;  // bit y: an operation changed row y of it
  };
  std::vector<TouchedBox> touched_;
  // Each block's TouchedBox::rows as the last take found them, and the
  // numbers of the last operations before the last take and the one before.
  std::vector<uint32_t> rowsBeforeTake_;
  uint64_t lastTakeOp_ = 0, takeBeforeOp_ = 0;
  // The rows of block `at` that operations after number `op` may have
  // changed (bit y: row y); all of them when that is not known.
  uint32_t RowsChangedSince(uint64_t op, size_t at) const;
  // The touched part of block (column, row) in surface pixels, clipped to
  // the surface; the whole block when nothing is known of it.
  ScreenRect TouchedPart(int column, int row) const;
  // `r`, in whole blocks, narrowed to the touched parts of its blocks.
  ScreenRect Narrowed(const ScreenRect& r) const;
  // The operations are numbered; each block of ChangedArea's grid keeps the
  // number of the last one that changed a pixel in it.
  uint64_t opNumber_ = 0;
  int stampColumns_ = 0;
  std::vector<uint64_t> blockStamps_;
  struct DrawingMemo {
    ScreenRect area;
    std::string key;
    uint64_t op = 0;  // the last operation of the drawing
    // What it left on the surface, as the hash of each block's part of
    // each row of the area that lies on it (HashParts): a neighbour's change
    // in a shared block leaves them the same. Empty for an area larger than
    // kLargestComparedArea pixels.
    std::vector<uint64_t> left;
  };
  static constexpr size_t kLargestComparedArea = 4096;
  // The hash of each block's part of each row of `on`, row after row.
  void HashParts(const ScreenRect& on, std::vector<uint64_t>& out) const;
  DrawingMemo& MemoOf(const ScreenRect& area);
  // The part of `area` on the surface (empty when none).
  ScreenRect OnSurface(const ScreenRect& area) const;
  // The last copy to each place, by a hash of the place, the last OR copy of
  // each cell to each place, the cell differences found so far, and the
  // last drawing remembered for each area (surface.cpp, EntryFor). An
  // entry forgotten only costs work that could have been skipped.
  std::array<CopyMemo, 1024> copyMemo_{};
  std::array<CopyMemo, 512> orMemo_{};
  std::array<CellDifference, 512> differences_{};
  std::array<DrawingMemo, 128> drawingMemo_{};
  // The hash of each row of each block as TakeChanges last reported it, a
  // block's rows one after another, and for each block the rows whose hash
  // is not known (bit y: a row one operation changed is not hashed, as it
  // cannot be what was shown). Empty until the first take.
  std::vector<uint64_t> shownRows_;
  std::vector<uint32_t> unknownRows_;
  // Whether row y of block (column, row) is as last shown; its hash is
  // known from now on.
  bool RowAsShown(int column, int row, int y);
};
