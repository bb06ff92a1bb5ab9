// Drawing of the whole main window into its persistent surface: the
// playfield (left 540 x 540 pixels, shown 20 pixels up and left) and then
// the status bar. The drawing is incremental; see paint_window.cpp.
#pragma once

#include <functional>
#include <vector>

#include "render/surface.h"

struct GameState;
struct PictureSet;

// Window pixel (x - 20, y - 20) shows playfield point (x, y).
constexpr int kScreenOffset = 20;

// One paint. Also ends explosions (exploding -> dead at FrameCounter 0) and
// parks cleared fireballs, and advances the status line's phase. It does not
// clear MapDirty; PaintAndTakeChanges does that after the paint.
void PaintWindow(GameState& g, Surface& s);

// What a paint does to the game besides drawing, for a paint left out as
// the window shows its picture already (RepeatingPicture): the status
// line's phase moves on.
void SkipPaint(GameState& g);

// What draws the window: PaintWindow, or a test's drawing in its place.
using PaintFunction = std::function<void(GameState&, Surface&)>;

// One paint as the window makes it and what follows it: draws with `paint`
// (nothing when it is empty), clears MapDirty (the full clear it asked for
// is done), and takes into `changed` the rectangles the paint changed, which
// are what goes to the screen.
void PaintAndTakeChanges(GameState& g, Surface& s, std::vector<ScreenRect>& changed,
                         const PaintFunction& paint = PaintWindow);

// The pictures the drawing uses: g.Bitmaps, or an empty set (every copy
// from it draws nothing) before the pictures are loaded.
const PictureSet& PicturesOf(const GameState& g);
