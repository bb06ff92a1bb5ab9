// A rectangle of the window in pixels: what the window shows again after a
// paint.
#pragma once

struct ScreenRect {
  int x = 0, y = 0, w = 0, h = 0;
  bool operator==(const ScreenRect&) const = default;
};
