#include "connection/demo_recorder.h"

#include <cerrno>
#include <cstring>

#include "connection/demo_frame.h"

namespace {

// Buffered records go to the file about once a second of play (25 steps at
// the fast speed): a write per step would cost more than the encoding, and a
// crash loses at most that second.
constexpr size_t kFlushBytes = 4096;

}  // namespace

DemoRecorder::DemoRecorder(std::string path, int64_t date, DemoReport report)
    : path_(std::move(path)), date_(date), report_(std::move(report)) {}

DemoRecorder::~DemoRecorder() {
  if (file_) std::fclose(file_);
}

void DemoRecorder::AfterStep(GameState& g) {
  const bool inGame = g.IsServer || g.IsClient;
  if (phase_ == Phase::Waiting && inGame) Start(g);
  if (phase_ != Phase::Recording) return;
  if (!inGame) {
    Finish(g);
    return;
  }
  encoder_.Frame(TakeDemoFrame(g), pending_);
  g.LastEffect.clear();
  if (pending_.size() >= kFlushBytes && !Flush()) Fail(g, std::strerror(errno));
}

void DemoRecorder::GameEnding(GameState& g) {
  if (phase_ == Phase::Recording) Finish(g);
}

void DemoRecorder::Start(GameState& g) {
  file_ = std::fopen(path_.c_str(), "wb");
  if (!file_) {
    Fail(g, std::strerror(errno));
    return;
  }
  phase_ = Phase::Recording;
  DemoHeader h;
  h.ProgramVersion = std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor);
  h.TickInterval = static_cast<uint8_t>(g.TickInterval);
  h.Tiles = g.Tiles;
  h.Description = g.MapDescription;
  h.Date = date_;
  encoder_.Header(h, pending_);
  // What was asked before the game began is not part of it.
  g.LastEffect.clear();
}

bool DemoRecorder::Flush() {
  errno = 0;
  bool ok = pending_.empty() || std::fwrite(pending_.data(), 1, pending_.size(), file_) == pending_.size();
  pending_.clear();
  if (ok) ok = std::fflush(file_) == 0;
  if (!ok && errno == 0) errno = EIO;
  return ok;
}

void DemoRecorder::Fail(GameState& g, const std::string& why) {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  phase_ = Phase::Failed;
  pending_.clear();
  std::string text = "Demo recording stopped: could not write " + path_ + " (" + why + ")";
  if (report_) report_(text);
  else if (g.platform.ui) g.platform.ui->MessageBox(text, "Demo Error", MsgButtons::Ok, MsgIcon::Exclamation);
}

void DemoRecorder::Finish(GameState& g) {
  encoder_.End(pending_);
  if (!Flush()) {
    Fail(g, std::strerror(errno));
    return;
  }
  int closed = std::fclose(file_);
  file_ = nullptr;
  if (closed != 0) {
    Fail(g, std::strerror(errno));
    return;
  }
  phase_ = Phase::Finished;
}

void ArmDemoRecording(GameState& g, const std::string& path, int64_t date, DemoReport report) {
  g.Watcher = std::make_unique<DemoRecorder>(path, date, std::move(report));
}
