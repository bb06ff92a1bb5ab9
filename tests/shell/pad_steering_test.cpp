// Pads turned into the keyboard's codes: each control to its key, the dead
// zone on both sides, a held control sent once, several pads, and nothing
// while a dialog is open or the chat line has text.
#include "shell/pad_steering.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/virtual_keys.h"
#include "support/test_game.h"

namespace {

// One tick: the pads read (id 1 unless said) and whether pads may act.
struct Tick {
  std::vector<PadReading> pads;
  bool mayAct = true;
};

PadReading Pad(PadState s, int32_t id = 1) { return {id, s}; }
PadState Stick(int x, int y) {
  PadState s;
  s.leftX = static_cast<int16_t>(x);
  s.leftY = static_cast<int16_t>(y);
  return s;
}
PadState DPad(bool up, bool down, bool left, bool right) {
  PadState s;
  s.up = up, s.down = down, s.left = left, s.right = right;
  return s;
}
PadState Buttons(bool a, bool b, int leftTrigger = 0, int rightTrigger = 0) {
  PadState s;
  s.a = a, s.b = b;
  s.leftTrigger = static_cast<int16_t>(leftTrigger);
  s.rightTrigger = static_cast<int16_t>(rightTrigger);
  return s;
}
const PadState kRest;
constexpr int kEdge = kPadDeadZone;  // still inside the dead zone

TEST(PadSteering, EachControlGivesItsKeyOnceWhileHeld) {
  struct Row {
    const char* what;
    std::vector<Tick> ticks;
    std::vector<int> keys;
  };
  const Row rows[] = {
      {"D-pad up", {{{Pad(DPad(1, 0, 0, 0))}}}, {VkUp}},
      {"D-pad down", {{{Pad(DPad(0, 1, 0, 0))}}}, {VkDown}},
      {"D-pad left", {{{Pad(DPad(0, 0, 1, 0))}}}, {VkLeft}},
      {"D-pad right", {{{Pad(DPad(0, 0, 0, 1))}}}, {VkRight}},
      {"A", {{{Pad(Buttons(1, 0))}}}, {VkControl}},
      {"B", {{{Pad(Buttons(0, 1))}}}, {VkShift}},
      {"right trigger", {{{Pad(Buttons(0, 0, 0, 32767))}}}, {VkControl}},
      {"left trigger", {{{Pad(Buttons(0, 0, 32767, 0))}}}, {VkShift}},
      {"stick right at the edge", {{{Pad(Stick(kEdge, 0))}}}, {}},
      {"stick right past it", {{{Pad(Stick(kEdge + 1, 0))}}}, {VkRight}},
      {"stick left at the edge", {{{Pad(Stick(-kEdge, 0))}}}, {}},
      {"stick left past it", {{{Pad(Stick(-kEdge - 1, 0))}}}, {VkLeft}},
      {"stick up at the edge", {{{Pad(Stick(0, -kEdge))}}}, {}},
      {"stick up past it", {{{Pad(Stick(0, -kEdge - 1))}}}, {VkUp}},
      {"triggers at the edge", {{{Pad(Buttons(0, 0, kEdge, kEdge))}}}, {}},
      {"triggers past it", {{{Pad(Buttons(0, 0, kEdge + 1, kEdge + 1))}}}, {VkShift, VkControl}},
      {"held for three ticks",
       {{{Pad(DPad(0, 0, 0, 1))}}, {{Pad(DPad(0, 0, 0, 1))}}, {{Pad(DPad(0, 0, 0, 1))}}},
       {VkRight}},
      {"A held, then B added", {{{Pad(Buttons(1, 0))}}, {{Pad(Buttons(1, 1))}}}, {VkControl, VkShift}},
      {"let go and pushed again",
       {{{Pad(Stick(30000, 0))}}, {{Pad(kRest)}}, {{Pad(Stick(30000, 0))}}},
       {VkRight, VkRight}},
      {"A pressed twice", {{{Pad(Buttons(1, 0))}}, {{Pad(kRest)}}, {{Pad(Buttons(1, 0))}}}, {VkControl, VkControl}},
      {"diagonal stick: the axis pushed further", {{{Pad(Stick(20000, -30000))}}}, {VkUp}},
      {"diagonal stick, equal: horizontal", {{{Pad(Stick(-20000, 20000))}}}, {VkLeft}},
      {"a stick swept into the diagonal keeps its direction",
       {{{Pad(Stick(30000, 0))}}, {{Pad(Stick(30000, -31000))}}, {{Pad(Stick(30000, 0))}}},
       {VkRight}},
      {"opposite D-pad buttons cancel", {{{Pad(DPad(1, 1, 0, 0))}}}, {}},
      {"the D-pad wins over the stick on its axis",
       {{{Pad([] { PadState s = Stick(-32768, 0); s.right = true; return s; }())}}},
       {VkRight}},
      {"blocked: nothing, and what was held stays quiet after",
       {{{Pad(Buttons(1, 0))}, false}, {{Pad(Buttons(1, 0))}}, {{Pad(kRest)}}, {{Pad(Buttons(1, 0))}}},
       {VkControl}},
      {"two pads steer the one player",
       {{{Pad(DPad(0, 0, 0, 1), 1), Pad(kRest, 2)}},
        {{Pad(DPad(0, 0, 0, 1), 1), Pad(Buttons(1, 0), 2)}},
        {{Pad(DPad(0, 0, 0, 1), 1), Pad(DPad(0, 0, 1, 0), 2)}}},
       {VkRight, VkControl, VkLeft}},
      {"a pad plugged in holding A fires",
       {{{Pad(kRest, 1)}}, {{Pad(kRest, 1), Pad(Buttons(1, 0), 7)}}},
       {VkControl}},
      {"a removed pad is forgotten",
       {{{Pad(Buttons(1, 0), 3)}}, {{}}, {{Pad(Buttons(1, 0), 3)}}},
       {VkControl, VkControl}},
  };
  for (const Row& r : rows) {
    PadSteering steering;
    std::vector<int> keys;
    for (const Tick& t : r.ticks)
      for (int k : steering.Step(t.pads, t.mayAct)) keys.push_back(k);
    EXPECT_EQ(keys, r.keys) << r.what;
  }
}

TEST(PadSteering, PadsWaitForDialogsAndForTheChatLine) {
  TestGame t;
  EXPECT_TRUE(PadsMayAct(t.g, false));
  EXPECT_FALSE(PadsMayAct(t.g, true));
  t.g.ChatInput[0] = 'h';
  t.g.ChatInputLength = 1;
  EXPECT_FALSE(PadsMayAct(t.g, false));
}

TEST(PadSteering, PadsAreReadEveryTickOnlyWhileOneIsAttached) {
  struct Row {
    const char* what;
    std::vector<std::pair<uint32_t, size_t>> reads;  // (tick count, pads found) of earlier reads
    uint32_t now;
    bool due;
  };
  const Row rows[] = {
      {"the first tick reads", {}, 5, true},
      {"a pad attached: every tick", {{1000, 1}}, 1001, true},
      {"none: not before the interval", {{1000, 0}}, 1000 + kPadLookMs - 1, false},
      {"none: at the interval", {{1000, 0}}, 1000 + kPadLookMs, true},
      {"a pad pulled out: the interval again", {{1000, 2}, {1040, 0}}, 1041, false},
      {"across the tick count's wrap", {{UINT32_MAX - 10, 0}}, kPadLookMs - 11, true},
  };
  for (const Row& r : rows) {
    PadLookout lookout;
    for (const auto& [at, count] : r.reads) lookout.Read(at, count);
    EXPECT_EQ(lookout.Due(r.now), r.due) << r.what;
  }
}

}  // namespace
