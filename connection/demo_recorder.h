// Records the next game this program is in into a demo file: as soon as a
// step runs in a game (as host, client or dedicated server) the header is
// written, then the state the player holds after every step, until the game
// ends. A write that fails ends the recording with one report; the game
// goes on.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "connection/demo_file.h"
#include "game/game_state.h"

// Told once why a recording stopped early (the text names the file).
using DemoReport = std::function<void(const std::string& text)>;

class DemoRecorder : public StepWatcher {
 public:
  // `date` goes into the header (seconds since 1970). Without `report`,
  // the failure is a message box through the game's Ui.
  DemoRecorder(std::string path, int64_t date, DemoReport report = nullptr);
  ~DemoRecorder() override;

  void AfterStep(GameState& g) override;
  void GameEnding(GameState& g) override;

  enum class Phase { Waiting, Recording, Finished, Failed };
  Phase State() const { return phase_; }
  uint32_t Frames() const { return encoder_.Frames(); }

 private:
  void Start(GameState& g);
  // Hands what is buffered to the system; false when that failed.
  bool Flush();
  void Fail(GameState& g, const std::string& why);
  void Finish(GameState& g);

  std::string path_;
  int64_t date_;
  DemoReport report_;
  Phase phase_ = Phase::Waiting;
  std::FILE* file_ = nullptr;
  DemoEncoder encoder_;
  std::vector<uint8_t> pending_;
};

// Arms a recording of the next game (replacing one armed before).
void ArmDemoRecording(GameState& g, const std::string& path, int64_t date,
                      DemoReport report = nullptr);
