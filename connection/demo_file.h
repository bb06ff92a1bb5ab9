// The demo file: a recorded game.
//
//   header   "VRASKDEMO\n", format version (2 bytes), program version
//            (length byte and text), speed in ms (1 byte), the 196 tiles of
//            the map the game began on, its description (length byte and
//            text), the date (seconds since 1970 UTC, 8 bytes) and the size
//            of a frame (2 bytes); numbers little-endian
//   records  each a 4-byte length and that many bytes of one zstd stream,
//            flushed at every record, so a record decodes with the ones
//            before it. Decoded, a record holds the entries of
//            kDemoFramesPerRecord steps (one second at the fast speed;
//            compressing them together costs one wake of the compressor a
//            second rather than one a step), each a kind letter and a body:
//              "F" a whole frame (the first entry)
//              "D" a frame as its difference from the frame before it,
//                  byte by byte (modulo 256): mostly zeros, and a player
//                  moving steadily gives the same difference at every step,
//                  which the compressor finds again
//            The last record may hold fewer steps; it ends with
//              "E" the end: the number of frames (4 bytes); nothing follows
//
// The reader checks every length against what is left of the file, so it
// never reads past it, and tells at which byte what was expected instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "connection/demo_frame.h"
#include "game/game_state.h"

constexpr uint16_t kDemoFormatVersion = 1;
constexpr uint32_t kDemoFramesPerRecord = 25;
constexpr size_t kDemoVersionMax = 32;  // the program version text

struct DemoHeader {
  uint16_t FormatVersion = kDemoFormatVersion;
  std::string ProgramVersion;
  uint8_t TickInterval = kFastTickInterval;
  TileMap Tiles{};
  std::string Description;  // at most 64 characters, as a map's
  int64_t Date = 0;
};

// Why a file is not a demo: the byte where reading stopped and what was
// expected there.
struct DemoError {
  size_t Byte = 0;
  std::string Expected;
  std::string Text() const;  // "byte 123: expected ..."
};

// Turns a game into demo bytes; the caller puts them where they go.
class DemoEncoder {
 public:
  DemoEncoder();
  ~DemoEncoder();
  DemoEncoder(const DemoEncoder&) = delete;
  DemoEncoder& operator=(const DemoEncoder&) = delete;

  void Header(const DemoHeader& h, std::vector<uint8_t>& out);
  // The first frame whole, every later one as its difference; a record is
  // appended to out once it holds kDemoFramesPerRecord frames.
  void Frame(const DemoFrame& f, std::vector<uint8_t>& out);
  void End(std::vector<uint8_t>& out);
  uint32_t Frames() const { return frames_; }

 private:
  void Record(const uint8_t* raw, size_t n, bool last, std::vector<uint8_t>& out);
  struct ZSTD_CCtx_s* cctx_;
  DemoFrame previous_{};
  uint32_t frames_ = 0;
  std::vector<uint8_t> entries_;  // of the record being filled
  uint32_t pendingFrames_ = 0;
};

// Reads a whole demo held in memory: the header, then each frame in order
// to onFrame. False, with error filled, on the first thing that is not as
// the format says (frames already given stay given).
bool ReadDemo(const uint8_t* data, size_t size, DemoHeader* header,
              const std::function<void(const DemoFrame&)>& onFrame, DemoError* error);
