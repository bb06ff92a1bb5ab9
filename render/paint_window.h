// Drawing of the whole main window into its persistent surface: the
// playfield (left 540 x 540 pixels, shown 20 pixels up and left) and then
// the status bar. The drawing is incremental; see paint_window.cpp.
#pragma once

struct GameState;
struct Surface;
struct PictureSet;

// Window pixel (x - 20, y - 20) shows playfield point (x, y).
constexpr int kScreenOffset = 20;

// One paint. Also ends explosions (exploding -> dead at FrameCounter 0) and
// parks cleared fireballs, and advances the status line's phase. It does not
// clear MapDirty; the window does that after the paint.
void PaintWindow(GameState& g, Surface& s);

// The pictures the drawing uses: g.Bitmaps, or an empty set (every copy
// from it draws nothing) before the pictures are loaded.
const PictureSet& PicturesOf(const GameState& g);
