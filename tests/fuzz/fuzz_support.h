// Shared by the libFuzzer targets: a scratch working directory for the
// readers that take fixed file names, and a check that stops the run.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

// A broken invariant is a finding: abort so libFuzzer saves the input.
#define FUZZ_CHECK(cond)                                                  \
  do {                                                                    \
    if (!(cond)) {                                                        \
      std::fprintf(stderr, "FUZZ_CHECK failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
      std::abort();                                                       \
    }                                                                     \
  } while (0)

// Moves the process into a fresh empty directory, removed again at exit:
// in memory (/dev/shm) where there is one, since the file targets write a
// file for every input, else in the system's temp folder. Corpus and
// artifact paths given to the fuzzer must therefore be absolute.
inline void EnterScratchDirectory(const char* name) {
  static std::filesystem::path dir;
  std::error_code ec;
  std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                   ? std::filesystem::path("/dev/shm")
                                   : std::filesystem::temp_directory_path();
  std::string pattern = (base / (std::string(name) + ".XXXXXX")).string();
  if (!mkdtemp(pattern.data())) std::abort();
  dir = pattern;
  std::filesystem::current_path(dir);
  std::atexit([] {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  });
}

inline void WriteWholeFile(const char* name, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(name, "wb");
  if (!f) std::abort();
  if (size && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
}
