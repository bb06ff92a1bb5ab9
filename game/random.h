// The game's one pseudo-random generator: values 0..32767.
//
// Every random choice (rules, computer players, maze generator, the status
// bar's flicker) draws from the same generator in the game context, so a
// seeded game replays exactly. Tests may script the values it returns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class RandomSource {
 public:
  explicit RandomSource(uint32_t seed = 1) : state_(seed) {}

  void Seed(uint32_t seed) {
    state_ = seed;
    script_.clear();
    scriptPos_ = 0;
  }

  // The next values returned are these, in order; afterwards the generator
  // carries on from its seed.
  void Script(std::vector<int> values) {
    script_ = std::move(values);
    scriptPos_ = 0;
  }
  size_t ScriptLeft() const { return script_.size() - scriptPos_; }
  uint64_t Draws() const { return draws_; }

  int Next() {
    ++draws_;
    if (scriptPos_ < script_.size()) return script_[scriptPos_++];
    // The classic linear congruential generator with 15-bit output.
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
  }

 private:
  uint32_t state_;
  std::vector<int> script_;
  size_t scriptPos_ = 0;
  uint64_t draws_ = 0;
};
