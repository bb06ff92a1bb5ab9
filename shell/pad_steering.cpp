#include "shell/pad_steering.h"

#include <cstdlib>

#include "game/game_state.h"
#include "shell/virtual_keys.h"

namespace {

constexpr int kFullTravel = 32767;

// The D-pad as a stick pushed fully, else the stick; -1..1 from the pair of
// buttons, which cancel out when both are held.
int Axis(bool negative, bool positive, int stick) {
  const int dpad = static_cast<int>(positive) - static_cast<int>(negative);
  if (negative || positive) return dpad * kFullTravel;
  return stick;
}

bool Past(int value) { return std::abs(value) > kPadDeadZone; }

int ArrowKey(int dir) {
  switch (dir) {
    case 'u': return VkUp;
    case 'd': return VkDown;
    case 'l': return VkLeft;
    default: return VkRight;
  }
}

}  // namespace

int PadDirection(const PadState& s, int held) {
  const int x = Axis(s.left, s.right, s.leftX);
  const int y = Axis(s.up, s.down, s.leftY);
  const int horizontal = Past(x) ? (x > 0 ? 'r' : 'l') : 0;
  const int vertical = Past(y) ? (y > 0 ? 'd' : 'u') : 0;
  if (!horizontal || !vertical) return horizontal ? horizontal : vertical;
  if (held == horizontal || held == vertical) return held;
  return std::abs(y) > std::abs(x) ? vertical : horizontal;
}

bool PadLookout::Due(uint32_t now) const { return seen_ || now - last_ >= kPadLookMs; }

void PadLookout::Read(uint32_t now, size_t count) {
  seen_ = count > 0;
  last_ = now;
}

bool PadsMayAct(const GameState& g, bool dialogOpen) { return !dialogOpen && g.ChatInputLength == 0; }

std::vector<int> PadSteering::Step(const std::vector<PadReading>& pads, bool mayAct) {
  std::vector<int> keys;
  std::map<int32_t, Held> now;
  for (const PadReading& pad : pads) {
    const PadState& s = pad.state;
    const auto found = held_.find(pad.id);
    const Held before = found != held_.end() ? found->second : Held{};
    Held& h = now[pad.id];
    h.dir = PadDirection(s, before.dir);
    h.fire = s.a || Past(s.rightTrigger);
    h.shield = s.b || Past(s.leftTrigger);
    if (!mayAct) continue;
    // Letting go gives nothing, as a key going up does nothing; pushing the
    // same way again sends its code again, as pressing the key again does.
    if (h.dir && h.dir != before.dir) keys.push_back(ArrowKey(h.dir));
    if (h.shield && !before.shield) keys.push_back(VkShift);
    if (h.fire && !before.fire) keys.push_back(VkControl);
  }
  held_ = std::move(now);
  return keys;
}
