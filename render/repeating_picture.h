// While no game runs the picture is the animated walls on a floor that
// nothing draws on, and the idle status bar: it repeats every four
// animation phases. The window server can then keep each phase's picture
// and show it again by itself, and the window neither paints nor sends
// pixels while it waits. This decides, paint by paint, what the window
// does; the shell's view carries it out.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "game/game_state.h"
#include "platform/screen_rect.h"

// Everything but the phase that decides the picture while it repeats.
struct PictureKey {
  TileMap tiles{};
  const PictureSet* pictures = nullptr;
  bool music = false;
  bool operator==(const PictureKey&) const = default;
};

// The key while the paint draws nothing else than the walls and the idle
// status bar; none while a game runs, a player or fireball is on the field
// or waits to be erased, or the window is to be cleared.
std::optional<PictureKey> RepeatingPictureKey(const GameState& g);

class RepeatingPicture {
 public:
  static constexpr int kPhases = 4;

  enum class Step {
    kPaint,     // paint as usual; AfterPaint tells whether to keep the picture
    kShowKept,  // show the kept picture of the phase: copy ShowRects() of it
    kNone,      // the window shows the phase's picture already
  };
  // Before the paint of `phase` (0..3) under `key` (none: the picture does
  // not repeat now). A new key forgets every kept picture.
  Step Plan(const std::optional<PictureKey>& key, int phase);
  // The phase whose kept picture must be shown whole before a paint, as the
  // window shows another one than the surface last put; -1 when it shows
  // what the surface last put.
  int RestoreBeforePaint() const { return windowIsSurface_ ? -1 : surfacePhase_; }
  // After a paint of `phase` that put `rects` (in window pixels): whether
  // its picture is to be kept. `rects` then take it from what the window
  // showed before, and are copied when the window goes there again.
  bool AfterPaint(int phase, const std::vector<ScreenRect>& rects);
  // After showing the kept picture of `phase`.
  void Showed(int phase);
  // The kept pictures are gone (a new window or size).
  void Forget();

  // For kShowKept: where the kept picture differs from the one the window
  // shows.
  const std::vector<ScreenRect>& ShowRects() const { return showRects_; }
  // The phase of the kept picture the window shows instead of the surface's
  // last put, or -1.
  int ShownKept() const { return windowIsSurface_ ? -1 : windowPhase_; }

 private:
  struct Kept {
    bool valid = false;
    int from = -1;  // the phase shown before it, whose picture `rects` change into it
    std::vector<ScreenRect> rects;
  };
  std::optional<PictureKey> key_;
  std::array<Kept, kPhases> kept_{};
  std::vector<ScreenRect> showRects_;
  // The phase the window shows under the current key (-1: none), and
  // whether that is the surface's last put.
  int windowPhase_ = -1;
  bool windowIsSurface_ = true;
  // The phase of the surface's last paint, and whether it was made under
  // the current key.
  int surfacePhase_ = -1;
  bool surfaceKeyed_ = false;
};
