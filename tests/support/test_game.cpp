#include "support/test_game.h"

#include <atomic>
#include <fstream>
#include <sstream>
#include <unistd.h>

ScopedTempDir::ScopedTempDir() {
  static std::atomic<int> counter{0};
  old_ = std::filesystem::current_path();
  dir_ = std::filesystem::temp_directory_path() /
         ("vrask-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(dir_);
  std::filesystem::create_directories(dir_);
  std::filesystem::current_path(dir_);
}

ScopedTempDir::~ScopedTempDir() {
  std::filesystem::current_path(old_);
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

void WriteFile(const std::string& name, const std::string& bytes) {
  std::ofstream(name, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string BorderMapText(const std::string& eol) {
  std::string text;
  for (int r = 0; r < 14; ++r) {
    for (int c = 0; c < 14; ++c) text += (r == 0 || r == 13 || c == 0 || c == 13) ? '1' : '0';
    if (r < 13) text += eol;
  }
  return text;
}
