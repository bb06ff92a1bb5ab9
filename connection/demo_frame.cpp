#include "connection/demo_frame.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <type_traits>

#include "game/game_state.h"

const char* const kDemoEffects[kDemoEffectCount] = {
    "crash.wav", "explode.wav", "explodew.wav", "launchf.wav",
    "overrun.wav", "ring.wav", "shielddo.wav", "shieldup.wav"};

int DemoEffectNumber(const char* file) {
  for (int i = 0; i < kDemoEffectCount; ++i)
    if (std::strcmp(file, kDemoEffects[i]) == 0) return i + 1;
  return 0;
}

namespace {

// Status texts are kept to this many bytes; the bar shows fewer.
constexpr size_t kTextField = 48;

// Walks the frame's fields in their order; the same walk writes a frame and
// reads one back, so the two cannot disagree about the layout.
template <typename Bytes>
struct FrameWalk {
  Bytes* at;
  static constexpr bool write = !std::is_const_v<Bytes>;

  void U8(uint8_t& v) {
    if constexpr (write) *at = v; else v = *at;
    ++at;
  }
  template <typename Int>
  void Byte(Int& v) {
    uint8_t b = static_cast<uint8_t>(v);
    U8(b);
    v = static_cast<Int>(b);
  }
  void I32(int& v) {
    uint32_t u = static_cast<uint32_t>(v);
    for (int k = 0; k < 4; ++k) {
      uint8_t b = static_cast<uint8_t>(u >> (8 * k));
      U8(b);
      u = (u & ~(0xFFu << (8 * k))) | (static_cast<uint32_t>(b) << (8 * k));
    }
    v = static_cast<int>(u);
  }
  void Chars(char* text, size_t n) {
    for (size_t k = 0; k < n; ++k) Byte(text[k]);
  }
  void Text(std::string& s) {
    char field[kTextField] = {};
    if (write) std::memcpy(field, s.data(), std::min(s.size(), kTextField - 1));
    Chars(field, kTextField);
    if (!write) s.assign(field, strnlen(field, kTextField - 1));
  }
};

template <typename Bytes, typename State>
void WalkFrame(FrameWalk<Bytes>& w, State& g, uint8_t& effect, uint32_t& silence) {
  w.Byte(g.FrameCounter);
  w.Byte(g.LeaderFrags);
  w.Byte(g.LocalSlot);
  w.Byte(g.IsServer);
  w.Byte(g.IsClient);
  w.Byte(g.SoundsOn);
  w.Byte(g.MusicOn);
  w.Byte(silence);
  w.Byte(g.StatusPhase);
  w.Byte(g.StatusPhaseCount);
  w.U8(effect);
  w.Byte(g.ChatInputLength);
  w.Chars(g.ChatInput, sizeof g.ChatInput);
  w.Text(g.ConnectionStatus);
  for (std::string& t : g.ServerAddressText) w.Text(t);
  for (uint8_t& t : g.Tiles) w.U8(t);
  for (auto& line : g.Board.Lines) w.Chars(line, kChatLineBytes);
  // Field by field across the eight places rather than place by place: the
  // bytes that change from step to step (positions, energy) lie together,
  // which the compression of the differences likes.
  auto players = [&](auto field) {
    for (PlayerSlot& p : g.Players) field(p);
  };
  auto fireballs = [&](auto field) {
    for (Fireball& f : g.Fireballs) field(f);
  };
  players([&](PlayerSlot& p) { w.Byte(p.Kind); });
  players([&](PlayerSlot& p) { w.Byte(p.Active); });
  players([&](PlayerSlot& p) { w.Byte(p.Life); });
  players([&](PlayerSlot& p) { w.Chars(p.Name, kNameBytes); });
  players([&](PlayerSlot& p) { w.I32(p.X); });
  players([&](PlayerSlot& p) { w.I32(p.DrawX); });
  players([&](PlayerSlot& p) { w.I32(p.Y); });
  players([&](PlayerSlot& p) { w.I32(p.DrawY); });
  players([&](PlayerSlot& p) { w.I32(p.Dir); });
  players([&](PlayerSlot& p) { w.I32(p.WantDir); });
  players([&](PlayerSlot& p) { w.U8(p.Number); });
  players([&](PlayerSlot& p) { w.U8(p.Energy); });
  players([&](PlayerSlot& p) { w.U8(p.Shield); });
  players([&](PlayerSlot& p) { w.U8(p.Frags); });
  players([&](PlayerSlot& p) { w.Byte(p.DrawnFlag); });
  fireballs([&](Fireball& f) { w.Byte(f.State); });
  fireballs([&](Fireball& f) { w.I32(f.X); });
  fireballs([&](Fireball& f) { w.I32(f.DrawX); });
  fireballs([&](Fireball& f) { w.I32(f.Y); });
  fireballs([&](Fireball& f) { w.I32(f.DrawY); });
  fireballs([&](Fireball& f) { w.I32(f.Dir); });
  fireballs([&](Fireball& f) { w.Byte(f.DrawnFlag); });
}

}  // namespace

DemoFrame TakeDemoFrame(const GameState& g) {
  DemoFrame frame{};
  // The walk is shared with reading, so it takes a mutable state: a copy of
  // the drawn fields, never the game itself.
  GameState copy;
  copy.FrameCounter = g.FrameCounter;
  copy.LeaderFrags = g.LeaderFrags;
  copy.LocalSlot = g.LocalSlot;
  copy.IsServer = g.IsServer;
  copy.IsClient = g.IsClient;
  copy.SoundsOn = g.SoundsOn;
  copy.MusicOn = g.MusicOn;
  copy.StatusPhase = g.StatusPhase;
  copy.StatusPhaseCount = g.StatusPhaseCount;
  copy.ChatInputLength = g.ChatInputLength;
  std::memcpy(copy.ChatInput, g.ChatInput, sizeof copy.ChatInput);
  copy.ConnectionStatus = g.ConnectionStatus;
  for (int k = 0; k < 3; ++k) copy.ServerAddressText[k] = g.ServerAddressText[k];
  copy.Tiles = g.Tiles;
  copy.Board = g.Board;
  copy.Players = g.Players;
  copy.Fireballs = g.Fireballs;
  uint8_t effect = static_cast<uint8_t>(DemoEffectNumber(g.LastEffect.c_str()));
  // The bar only asks whether the server has been silent for more than six
  // steps; a byte keeps that.
  uint32_t silence = std::min<uint32_t>(g.ServerSilence, 255);
  FrameWalk<uint8_t> w{frame.data()};
  WalkFrame(w, copy, effect, silence);
  return frame;
}

int ApplyDemoFrame(const DemoFrame& frame, GameState& g) {
  TileMap before = g.Tiles;
  uint8_t effect = 0;
  uint32_t silence = 0;
  FrameWalk<const uint8_t> w{frame.data()};
  WalkFrame(w, g, effect, silence);
  g.ServerSilence = silence;
  if (g.Tiles != before) g.MapDirty = 1;
  return effect <= kDemoEffectCount ? effect : 0;
}

bool DemoFrameValid(const DemoFrame& frame, std::string* what) {
  GameState g;
  ApplyDemoFrame(frame, g);
  for (uint8_t t : g.Tiles)
    if (t > 10) {
      *what = "tile codes 0..10, found " + std::to_string(t);
      return false;
    }
  auto flag = [](int v) { return v == 0 || v == 1; };
  if (!flag(g.IsServer) || !flag(g.IsClient)) {
    *what = "role flags 0 or 1";
    return false;
  }
  for (const PlayerSlot& p : g.Players)
    if (!flag(p.Active)) {
      *what = "active flags 0 or 1, found " + std::to_string(p.Active);
      return false;
    }
  return true;
}
