// What the game step hands to the operator threads (the Agones SDK calls
// and the metrics page): a small copy, taken once per step. The step never
// waits for those threads: when one of them is reading the copy, that
// step's hand-over is skipped and the next one brings the news.
#pragma once

#include <cstdint>
#include <mutex>

#include "game/server_counters.h"

struct GameState;

struct OperatorSnapshot {
  int Players = 0;    // remote players
  int Places = 0;     // places in use (MaxPlayers)
  int Computers = 0;  // places the computer plays
  ServerCounters Counters;  // Counters.Steps tells whether the loop steps
};

OperatorSnapshot TakeOperatorSnapshot(const GameState& g);

class SnapshotBox {
 public:
  // From the step: false when a reader holds the box (nothing waited for).
  bool TryPublish(const OperatorSnapshot& s) {
    std::unique_lock<std::mutex> lock(mutex_, std::try_to_lock);
    if (!lock.owns_lock()) return false;
    latest_ = s;
    return true;
  }
  // From an operator thread: the latest copy.
  OperatorSnapshot Read() {
    std::lock_guard<std::mutex> lock(mutex_);
    return latest_;
  }

 private:
  std::mutex mutex_;
  OperatorSnapshot latest_;
};
