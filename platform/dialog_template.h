// Dialog templates as data: title, size and controls in dialog units.
//
// A dialog unit is a quarter of the dialog font's average character width
// across and an eighth of its character height down, so a template keeps
// its proportions whatever font it is shown in. The Qt builder
// (shell/dialog_builder_qt.cpp) turns a template into widgets; everything here is
// plain data and arithmetic that tests can check without a display.
#pragma once

#include <vector>

enum class ControlKind {
  GroupBox,           // a titled frame; drawn behind the controls it surrounds
  Edit,               // one line of text
  CheckBox,           // automatic: a click toggles it
  RadioButton,        // automatic
  PushButton,
  DefaultPushButton,  // pressed by Enter
  Static,             // text, wrapped at the rectangle's width
  Icon,               // an icon resource, shown at its own size
  Picture,            // a bitmap resource, shown at its own size
  ListBox,
  ComboBox,           // an editable line with a drop-down of offered texts
  Table,              // rows in columns; the text holds the column titles,
                      // separated by tabs
};

// Control flags; which apply depends on the kind.
enum ControlFlag : unsigned {
  kFlagNone = 0,
  kDigitsOnly = 1u << 0,   // edit: only the characters 0-9 can be typed
  kAutoScroll = 1u << 1,   // edit: text scrolls sideways past the right edge
  kBorder = 1u << 2,       // edit, list box: a sunken frame
  kMultiline = 1u << 3,    // push button: text wraps onto several lines
  kVScroll = 1u << 4,      // list box: vertical scroll bar
  kHScroll = 1u << 5,      // list box: horizontal scroll bar
  kNotify = 1u << 6,       // list box: reports clicks to the dialog
  kCentreText = 1u << 7,   // static: centred instead of left-aligned
};

// Controls without an id (frames, labels, decorations) use this value.
constexpr int kNoControlId = -1;

struct DialogRect {
  int x = 0, y = 0, w = 0, h = 0;
  bool operator==(const DialogRect&) const = default;
};

struct DialogControl {
  int id = kNoControlId;
  ControlKind kind = ControlKind::Static;
  const char* text = "";
  DialogRect rect;           // in dialog units (pixels once converted)
  unsigned flags = kFlagNone;
  int maxLength = 0;         // edit: most characters accepted, 0 for no limit
  int resource = 0;          // icon or picture: the resource id shown
};

enum DialogStyle : unsigned {
  kStyleNone = 0,
  kCloseBox = 1u << 0,     // caption with a close box and system menu
  kMinimiseBox = 1u << 1,
  kCentred = 1u << 2,      // centred on the screen
};

struct DialogTemplate {
  int id = 0;
  const char* title = "";
  int width = 0, height = 0;  // client area, dialog units
  unsigned style = kStyleNone;
  std::vector<DialogControl> controls;

  // The control with that id, or null.
  const DialogControl* Find(int controlId) const;
};

// Pixels per 4 horizontal and per 8 vertical dialog units.
struct DialogBaseUnits {
  int x = 0, y = 0;
  bool operator==(const DialogBaseUnits&) const = default;
};

// The base units of a font, computed the way the old platform did: half of
// the (rounded up) average width of the 52 letters A-Z a-z, and the font's
// full character height. alphabetWidth is the advance of those 52 letters.
DialogBaseUnits BaseUnitsFromFont(int alphabetWidth, int charHeight);

// The dialog font is wider for its height than the 8-point font the
// templates were laid out in, so measured the old way its longest captions
// overrun their rectangles by up to a twentieth. The dialogs are therefore
// drawn with base units 8/7 of the measured ones, rounded to nearest, on
// both axes alike, so that every rectangle keeps its proportions.
DialogBaseUnits EnlargedUnits(DialogBaseUnits measured);

// Converts a rectangle from dialog units to pixels. Like the old platform,
// the corners are converted (rounded to nearest) and the size is taken
// between them, so adjacent controls stay adjacent.
DialogRect ToPixels(const DialogRect& du, DialogBaseUnits units);

// The letters measured for BaseUnitsFromFont.
inline constexpr const char* kBaseUnitAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
