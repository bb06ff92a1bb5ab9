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

// Walks the frame's fields in their order; the same walk writes a frame
// from a state (Bytes mutable, the state const) and reads one back into a
// state, so the two cannot disagree about the layout.
template <typename Bytes>
struct FrameWalk {
  Bytes* at;
  static constexpr bool write = !std::is_const_v<Bytes>;

  // Any integer field: its low byte.
  template <typename Int>
  void Byte(Int& v) {
    if constexpr (write) *at = static_cast<uint8_t>(v);
    else v = static_cast<std::remove_const_t<Int>>(*at);
    ++at;
  }
  void U8(auto& v) { Byte(v); }
  // Four bytes, little-endian.
  template <typename Int>
  void I32(Int& v) {
    uint32_t u = 0;
    for (int k = 0; k < 4; ++k) {
      if constexpr (write) at[k] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * k));
      else u |= static_cast<uint32_t>(at[k]) << (8 * k);
    }
    if constexpr (!write) v = static_cast<int>(u);
    at += 4;
  }
  template <typename Char>
  void Chars(Char* text, size_t n) {
    for (size_t k = 0; k < n; ++k) Byte(text[k]);
  }
  template <typename String>
  void Text(String& s) {
    if constexpr (write) {
      size_t n = std::min(s.size(), kTextField - 1);
      std::memcpy(at, s.data(), n);
      std::memset(at + n, 0, kTextField - n);
    } else {
      const char* field = reinterpret_cast<const char*>(at);
      s.assign(field, strnlen(field, kTextField - 1));
    }
    at += kTextField;
  }
};

template <typename Bytes, typename State>
void WalkFrame(FrameWalk<Bytes>& w, State& g, auto& effect, auto& silence) {
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
  for (auto& t : g.ServerAddressText) w.Text(t);
  for (auto& t : g.Tiles) w.U8(t);
  for (auto& line : g.Board.Lines) w.Chars(line, kChatLineBytes);
  // Field by field across the eight places rather than place by place: the
  // bytes that change from step to step (positions, energy) lie together,
  // which the compression of the differences likes.
  auto players = [&](auto field) {
    for (auto& p : g.Players) field(p);
  };
  auto fireballs = [&](auto field) {
    for (auto& f : g.Fireballs) field(f);
  };
  players([&](auto& p) { w.Byte(p.Kind); });
  players([&](auto& p) { w.Byte(p.Active); });
  players([&](auto& p) { w.Byte(p.Life); });
  players([&](auto& p) { w.Chars(p.Name, kNameBytes); });
  players([&](auto& p) { w.I32(p.X); });
  players([&](auto& p) { w.I32(p.DrawX); });
  players([&](auto& p) { w.I32(p.Y); });
  players([&](auto& p) { w.I32(p.DrawY); });
  players([&](auto& p) { w.I32(p.Dir); });
  players([&](auto& p) { w.I32(p.WantDir); });
  players([&](auto& p) { w.U8(p.Number); });
  players([&](auto& p) { w.U8(p.Energy); });
  players([&](auto& p) { w.U8(p.Shield); });
  players([&](auto& p) { w.U8(p.Frags); });
  players([&](auto& p) { w.Byte(p.DrawnFlag); });
  fireballs([&](auto& f) { w.Byte(f.State); });
  fireballs([&](auto& f) { w.I32(f.X); });
  fireballs([&](auto& f) { w.I32(f.DrawX); });
  fireballs([&](auto& f) { w.I32(f.Y); });
  fireballs([&](auto& f) { w.I32(f.DrawY); });
  fireballs([&](auto& f) { w.I32(f.Dir); });
  fireballs([&](auto& f) { w.Byte(f.DrawnFlag); });
}

}  // namespace

DemoFrame TakeDemoFrame(const GameState& g) {
  DemoFrame frame{};
  const uint8_t effect = static_cast<uint8_t>(DemoEffectNumber(g.LastEffect.c_str()));
  // The bar only asks whether the server has been silent for more than six
  // steps; a byte keeps that.
  const uint32_t silence = std::min<uint32_t>(g.ServerSilence, 255);
  FrameWalk<uint8_t> w{frame.data()};
  WalkFrame(w, g, effect, silence);
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
