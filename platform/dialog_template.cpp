// Finding a control, and the dialog-unit arithmetic.
#include "platform/dialog_template.h"

const DialogControl* DialogTemplate::Find(int controlId) const {
  for (const DialogControl& c : controls)
    if (c.id == controlId && c.id != kNoControlId) return &c;
  return nullptr;
}

DialogBaseUnits BaseUnitsFromFont(int alphabetWidth, int charHeight) {
  return {(alphabetWidth / 26 + 1) / 2, charHeight};
}

DialogBaseUnits EnlargedUnits(DialogBaseUnits measured) {
  return {(measured.x * 8 + 3) / 7, (measured.y * 8 + 3) / 7};
}

namespace {
// value * num / den rounded to the nearest whole pixel, halves up.
int Scale(int value, int num, int den) {
  long long p = static_cast<long long>(value) * num;
  if (p >= 0) return static_cast<int>((p + den / 2) / den);
  return -static_cast<int>((-p + den / 2) / den);
}
}  // namespace

DialogRect ToPixels(const DialogRect& du, DialogBaseUnits units) {
  int left = Scale(du.x, units.x, 4);
  int top = Scale(du.y, units.y, 8);
  int right = Scale(du.x + du.w, units.x, 4);
  int bottom = Scale(du.y + du.h, units.y, 8);
  return {left, top, right - left, bottom - top};
}
