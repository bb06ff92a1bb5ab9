#include "connection/demo_playback.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "render/paint_window.h"

namespace {

// The status bar's flicker draws from the game's generator; a whole frame
// draws it from this seed, so the same state gives the same picture.
constexpr uint32_t kFrameSeed = 1;

std::string MinutesSeconds(int seconds) {
  char text[16];
  std::snprintf(text, sizeof text, "%d:%02d", seconds / 60, seconds % 60);
  return text;
}

}  // namespace

void DemoPlayback::Clear() {
  keyframes_.clear();
  changes_.clear();
  current_ = DemoFrame{};
  position_ = 0;
}

bool DemoPlayback::Load(const std::string& path, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "Cannot open the demo " + path;
    return false;
  }
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!LoadBytes(bytes, error)) {
    *error = path + " is not a demo that can be played: " + *error;
    return false;
  }
  return true;
}

bool DemoPlayback::LoadBytes(const std::vector<uint8_t>& bytes, std::string* error) {
  Clear();
  DemoFrame previous{};
  DemoError e;
  bool ok = ReadDemo(bytes.data(), bytes.size(), &header_, [&](const DemoFrame& f) {
    std::vector<Change> change;
    if (changes_.size() % kDemoKeyframeEvery == 0) keyframes_.push_back(f);
    if (!changes_.empty())
      for (size_t k = 0; k < kDemoFrameBytes; ++k)
        if (f[k] != previous[k]) change.push_back({static_cast<uint16_t>(k), static_cast<uint8_t>(f[k] ^ previous[k])});
    changes_.push_back(std::move(change));
    previous = f;
  }, &e);
  if (!ok) {
    *error = e.Text();
    Clear();
    return false;
  }
  shown_.TickInterval = header_.TickInterval;
  shown_.MapDescription = header_.Description;
  SeekTo(0);
  return true;
}

void DemoPlayback::SeekTo(int n) {
  if (changes_.empty()) return;
  if (n < 0) n = 0;
  if (n >= Frames()) n = Frames() - 1;
  const int key = n / kDemoKeyframeEvery;
  current_ = keyframes_[static_cast<size_t>(key)];
  for (int m = key * kDemoKeyframeEvery + 1; m <= n; ++m)
    for (const Change& c : changes_[static_cast<size_t>(m)]) current_[c.at] ^= c.bits;
  position_ = n;
  ApplyDemoFrame(current_, shown_);
  shown_.MapDirty = 1;
}

bool DemoPlayback::Advance(int* effect) {
  if (position_ + 1 >= Frames()) return false;
  ++position_;
  for (const Change& c : changes_[static_cast<size_t>(position_)]) current_[c.at] ^= c.bits;
  int played = ApplyDemoFrame(current_, shown_);
  if (effect) *effect = played;
  return true;
}

bool DemoPlayback::Press(DemoKey key) {
  switch (key) {
    case DemoKey::Pause: paused_ = !paused_; break;
    case DemoKey::Back: SeekTo(position_ - FramesPerSecond()); break;
    case DemoKey::Forward: SeekTo(position_ + FramesPerSecond()); break;
    case DemoKey::Faster:
      if (speed_ + 1 < static_cast<int>(std::size(kDemoSpeeds))) ++speed_;
      break;
    case DemoKey::Slower:
      if (speed_ > 0) --speed_;
      break;
    case DemoKey::Restart: SeekTo(0); break;
    case DemoKey::Quit: return false;
  }
  return true;
}

int DemoPlayback::FramesPerSecond() const { return 1000 / (header_.TickInterval + 1); }

int DemoPlayback::MsPerFrame() const {
  // A step takes a little more than TickInterval ms in the game (strictly
  // more must have passed), so a frame lasts TickInterval + 1 at 1x.
  int ms = (header_.TickInterval + 1) * 4 / kDemoSpeeds[speed_];
  return ms < 1 ? 1 : ms;
}

std::string DemoPlayback::TitleText() const {
  const int fps = FramesPerSecond();
  const int q = kDemoSpeeds[speed_];
  std::string speed = q >= 4 ? std::to_string(q / 4) + "x" : "1/" + std::to_string(4 / q) + "x";
  std::string text = "Vrask Demo " + MinutesSeconds(position_ / fps) + " / " + MinutesSeconds((Frames() - 1) / fps) + " " + speed;
  if (paused_) text += " paused";
  return text;
}

void RenderWholeFrame(GameState& g, Surface& out) {
  // What the paint changes in the state (explosions ending, fireballs
  // parked, the bar's phase, the generator) is put back afterwards.
  const RandomSource rng = g.Rng;
  const auto players = g.Players;
  const auto fireballs = g.Fireballs;
  const int phase = g.StatusPhase, phaseCount = g.StatusPhaseCount, dirty = g.MapDirty;
  out = Surface{};
  g.Rng.Seed(kFrameSeed);
  g.MapDirty = 1;
  PaintWindow(g, out);
  g.Rng = rng;
  g.Players = players;
  g.Fireballs = fireballs;
  g.StatusPhase = phase;
  g.StatusPhaseCount = phaseCount;
  g.MapDirty = dirty;
}
