// The window's persistent pixel surface: the drawing writes here and the
// shell only shows it. Pixels are 0xRRGGBB.
#pragma once

#include <cstdint>
#include <vector>

// The client area that a 706 x 561 window with a classic frame, caption and
// one-line menu leaves.
constexpr int kClientWidth = 700;
constexpr int kClientHeight = 517;

struct Surface {
  int width = kClientWidth;
  int height = kClientHeight;
  std::vector<uint32_t> pixels = std::vector<uint32_t>(kClientWidth * kClientHeight, 0);

  uint32_t At(int x, int y) const { return pixels[y * width + x]; }
};
