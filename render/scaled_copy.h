// The picture shown larger on dense screens: whole multiples, nearest
// neighbour, so every surface pixel becomes a sharp square block. Only the
// copy to the window scales; the drawing into the surface never changes.
#pragma once

#include <cstdint>

#include "render/surface.h"

// The size of a shown picture pixel, in screen pixels: 1..4.
constexpr int kMaxScale = 4;

// Writes the w x h rectangle at (x, y) of the surface into out, each pixel
// as a scale x scale block: out's pixel (x*scale + i, y*scale + j) for i, j
// in 0..scale-1 takes surface pixel (x, y). out is the whole scaled
// picture, outStride pixels per row; the rectangle is clipped to the
// surface, and nothing outside its blocks is written.
void ScaleSurfaceRect(const Surface& s, int x, int y, int w, int h, int scale, uint32_t* out,
                      int outStride);

// The smallest rectangle of whole pixels that covers r with its coordinates
// multiplied by k. The one rule for every rectangle between the surface and
// the screen: surface pixels to the scaled picture's (k = scale) or to the
// view's (scale / device pixel ratio), and the view's back to the picture's
// (the ratio).
ScreenRect ScaleRectOutward(const ScreenRect& r, double k);

// The multiple to show the picture at. A requested scale (1..4) is used as
// it is. Otherwise, on a screen whose device pixel ratio is 2 or more, the
// largest whole multiple up to that ratio at which a pictureW x pictureH
// picture fits into the screen's available area (in device pixels); else 1.
int ChooseScale(int requested, double devicePixelRatio, int availableW, int availableH,
                int pictureW, int pictureH);

// Where the picture goes on a whole screen: at the largest whole multiple
// whose picture fits both ways, centred, with black around it. On a screen
// smaller than the picture itself, scale 1 with the top-left corner kept on
// screen (the playfield's corner rather than the middle of the status bar),
// cut off at the right and bottom. Sizes in device pixels.
struct FullScreenFit {
  int scale;         // screen pixels per picture pixel, 1 or more
  ScreenRect place;  // the scaled picture's rectangle on the screen
};
FullScreenFit FitToScreen(int screenW, int screenH, int pictureW, int pictureH);
