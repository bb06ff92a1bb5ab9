#include "render/scaled_copy.h"

#include <algorithm>
#include <cmath>

#include "render/surface.h"

void ScaleSurfaceRect(const Surface& s, int x, int y, int w, int h, int scale, uint32_t* out,
                      int outStride) {
  int x0 = std::max(x, 0), y0 = std::max(y, 0);
  int x1 = std::min(x + w, s.width), y1 = std::min(y + h, s.height);
  for (int sy = y0; sy < y1; ++sy) {
    const uint32_t* src = &s.pixels[sy * s.width];
    uint32_t* row = out + static_cast<long>(sy) * scale * outStride;
    for (int sx = x0; sx < x1; ++sx) std::fill_n(row + sx * scale, scale, src[sx]);
    // The other rows of the block repeat the first.
    for (int j = 1; j < scale; ++j)
      std::copy_n(row + x0 * scale, (x1 - x0) * scale, row + j * outStride + x0 * scale);
  }
}

ScreenRect ScaleRectOutward(const ScreenRect& r, double k) {
  const int x0 = static_cast<int>(std::floor(r.x * k));
  const int y0 = static_cast<int>(std::floor(r.y * k));
  return {x0, y0, static_cast<int>(std::ceil((r.x + r.w) * k)) - x0,
          static_cast<int>(std::ceil((r.y + r.h) * k)) - y0};
}

int ChooseScale(int requested, double devicePixelRatio, int availableW, int availableH,
                int pictureW, int pictureH) {
  if (requested >= 1) return std::min(requested, kMaxScale);
  int scale = std::clamp(static_cast<int>(std::floor(devicePixelRatio)), 1, kMaxScale);
  while (scale > 1 && (pictureW * scale > availableW || pictureH * scale > availableH)) --scale;
  return scale;
}

FullScreenFit FitToScreen(int screenW, int screenH, int pictureW, int pictureH) {
  if (pictureW <= 0 || pictureH <= 0) return {1, {0, 0, 0, 0}};
  const int scale = std::max(1, std::min(screenW / pictureW, screenH / pictureH));
  const int w = pictureW * scale, h = pictureH * scale;
  // An odd pixel of border goes to the right and bottom.
  return {scale, {std::max(0, (screenW - w) / 2), std::max(0, (screenH - h) / 2), w, h}};
}
