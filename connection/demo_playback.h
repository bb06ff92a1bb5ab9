// A loaded demo and where its playback stands: the frame shown, pause and
// speed, and the keys that move it. The whole file is read at loading; a
// whole frame is kept every kDemoKeyframeEvery frames and the changes of the
// others, so a jump anywhere costs at most that many small changes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "connection/demo_file.h"
#include "game/game_state.h"
#include "render/surface.h"

constexpr int kDemoKeyframeEvery = 64;

// Playback speeds in quarters: 1/4x to 8x.
constexpr int kDemoSpeeds[] = {1, 2, 4, 8, 16, 32};
constexpr int kDemoNormalSpeed = 2;  // index of 1x

enum class DemoKey { Pause, Back, Forward, Faster, Slower, Restart, Quit };

class DemoPlayback {
 public:
  // Reads a demo file (or bytes). False, with the reason, for anything that
  // is not a whole demo; the playback is then empty.
  bool Load(const std::string& path, std::string* error);
  bool LoadBytes(const std::vector<uint8_t>& bytes, std::string* error);

  const DemoHeader& Header() const { return header_; }
  int Frames() const { return static_cast<int>(changes_.size()); }
  int Position() const { return position_; }
  // The state showing the current frame; the window paints it.
  GameState& Shown() { return shown_; }

  // Shows frame n (kept within the demo); the next paint clears the window.
  void SeekTo(int n);
  // Shows the next frame; false at the end (nothing changes then). The
  // frame's sound effect number (0: none) goes to *effect.
  bool Advance(int* effect = nullptr);
  // The frame that the playback shows, as recorded.
  const DemoFrame& Current() const { return current_; }

  // A key; false when it asks to quit.
  bool Press(DemoKey key);
  bool Paused() const { return paused_; }
  int SpeedIndex() const { return speed_; }
  // Milliseconds of real time per frame at the current speed (at least 1).
  int MsPerFrame() const;
  // Frames in one second of the recorded game.
  int FramesPerSecond() const;
  // "Vrask Demo 0:12 / 1:30 2x" (and "paused").
  std::string TitleText() const;

 private:
  struct Change {
    uint16_t at;
    uint8_t bits;  // exclusive or with the frame before (in memory only)
  };
  void Clear();

  DemoHeader header_;
  std::vector<DemoFrame> keyframes_;
  std::vector<std::vector<Change>> changes_;  // per frame; frame 0's is empty
  DemoFrame current_{};
  int position_ = 0;
  bool paused_ = false;
  int speed_ = kDemoNormalSpeed;
  GameState shown_;
};

// The frame drawn as a whole on a fresh window: the maze cleared and drawn,
// every player, fireball and the status bar, the bar's flicker drawn from a
// fixed seed. The state is painted as it is and given back unchanged, so
// the same function draws a live game and a played-back one alike.
void RenderWholeFrame(GameState& g, Surface& out);
