#include "render/repeating_picture.h"

#include <cstring>

#include "game/game_state.h"

std::optional<uint64_t> RepeatingPictureKey(const GameState& g) {
  // Only the idle status bar is drawn from the phase and the music switch
  // alone; the full bar trembles at random.
  if (g.IsServer || g.IsClient || g.MapDirty != 0 || g.ConnectionStatus != "Not Connected") return {};
  for (const PlayerSlot& p : g.Players)
    if (p.Active) return {};
  // A fireball that is not parked, or parked but not yet erased, draws.
  for (const Fireball& f : g.Fireballs)
    if (f.State != FireNone || f.DrawnFlag == 0) return {};
  // FNV-1a over the walls, the pictures drawn from and the music switch.
  uint64_t h = 0xCBF29CE484222325u;
  const auto add = [&h](const void* data, size_t bytes) {
    const auto* b = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < bytes; ++i) h = (h ^ b[i]) * 0x100000001B3u;
  };
  add(g.Tiles.data(), sizeof(g.Tiles[0]) * g.Tiles.size());
  add(&g.Bitmaps, sizeof g.Bitmaps);
  const bool music = g.MusicOn != 0;
  add(&music, sizeof music);
  return h;
}

RepeatingPicture::Step RepeatingPicture::Plan(std::optional<uint64_t> key, int phase) {
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
