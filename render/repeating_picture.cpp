#include "render/repeating_picture.h"

std::optional<PictureKey> RepeatingPictureKey(const GameState& g) {
  // Only the idle status bar is drawn from the phase and the music switch
  // alone; the full bar trembles at random.
  if (g.IsServer || g.IsClient || g.MapDirty != 0 || g.ConnectionStatus != "Not Connected") return {};
  for (const PlayerSlot& p : g.Players)
    if (p.Active) return {};
  // A fireball that is not parked, or parked but not yet erased, draws.
  for (const Fireball& f : g.Fireballs)
    if (f.State != FireNone || f.DrawnFlag == 0) return {};
  return PictureKey{g.Tiles, g.Bitmaps, g.MusicOn != 0};
}

RepeatingPicture::Step RepeatingPicture::Plan(const std::optional<PictureKey>& key, int phase) {
  if (key != key_) {
    key_ = key;
    kept_ = {};
    windowPhase_ = -1;
    surfaceKeyed_ = false;
  }
  if (!key_ || phase < 0 || phase >= kPhases) return Step::kPaint;
  if (windowPhase_ == phase) return Step::kNone;
  // Each kept picture knows where it differs from the one painted before
  // it: back from this phase along those links to the shown one, all the
  // places passed on the way take in every difference. Where the way
  // breaks the phase is painted, and links to the one painted before.
  showRects_.clear();
  for (int at = phase, hops = 0; windowPhase_ >= 0 && hops < kPhases; ++hops) {
    const Kept& k = kept_[static_cast<size_t>(at)];
    if (!k.valid || k.from < 0) break;
    showRects_.insert(showRects_.end(), k.rects.begin(), k.rects.end());
    if (k.from == windowPhase_) return Step::kShowKept;
    at = k.from;
  }
  return Step::kPaint;
}

bool RepeatingPicture::AfterPaint(int phase, const std::vector<ScreenRect>& rects) {
  // The paint's changes are taken against the surface's last paint.
  const int from = surfaceKeyed_ ? surfacePhase_ : -1;
  surfacePhase_ = phase;
  surfaceKeyed_ = key_.has_value() && phase >= 0 && phase < kPhases;
  windowIsSurface_ = true;
  windowPhase_ = surfaceKeyed_ ? phase : -1;
  if (!surfaceKeyed_) return false;
  kept_[static_cast<size_t>(phase)] = {true, from, rects};
  return true;
}

void RepeatingPicture::Showed(int phase) {
  windowPhase_ = phase;
  windowIsSurface_ = surfaceKeyed_ && phase == surfacePhase_;
}

void RepeatingPicture::Forget() { *this = RepeatingPicture(); }
