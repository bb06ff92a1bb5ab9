// Helpers shared by the core tests.
#pragma once

#include <filesystem>
#include <string>

#include "game/game_state.h"
#include "platform/recording_platform.h"

// A game wired to a recording platform, with a recording socket.
struct TestGame {
  RecordingPlatform rec;
  GameState g;

  explicit TestGame(uint32_t seed = 1) {
    g.platform = rec.Get();
    g.Socket = rec.net.CreateSocket();
    g.Rng.Seed(seed);
  }
  RecordingSocket& socket() { return *static_cast<RecordingSocket*>(g.Socket.get()); }
};

// Runs a test inside a fresh empty working directory, since the game reads
// and writes its files in the current directory. Restores it afterwards.
class ScopedTempDir {
 public:
  ScopedTempDir();
  ~ScopedTempDir();
  const std::filesystem::path& path() const { return dir_; }

 private:
  std::filesystem::path old_, dir_;
};

// Writes bytes to a file in the current directory.
void WriteFile(const std::string& name, const std::string& bytes);
std::string ReadFile(const std::string& name);

// A map text of 14 rows: a border of 1 and floor inside, rows ended by eol.
std::string BorderMapText(const std::string& eol = "\r\n");
