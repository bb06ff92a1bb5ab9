// The demo reader on arbitrary file contents: it must stop inside the
// bytes given, name a byte within them when it refuses, and what it accepts
// must play and encode again to the same frames.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "connection/demo_file.h"
#include "connection/demo_playback.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly the input's size, so AddressSanitizer sees any read
  // past it.
  std::vector<uint8_t> bytes(data, data + size);
  DemoHeader header;
  std::vector<DemoFrame> frames;
  DemoError error;
  bool ok = ReadDemo(bytes.data(), bytes.size(), &header, [&](const DemoFrame& f) { frames.push_back(f); },
                     &error);
  if (!ok) {
    FUZZ_CHECK(error.Byte <= size);
    FUZZ_CHECK(!error.Expected.empty());
    return 0;
  }
  FUZZ_CHECK(!frames.empty());
  for (const DemoFrame& f : frames) {
    std::string what;
    FUZZ_CHECK(DemoFrameValid(f, &what));
  }

  // Encoded again, the same header and frames come back.
  DemoEncoder encoder;
  std::vector<uint8_t> again;
  encoder.Header(header, again);
  for (const DemoFrame& f : frames) encoder.Frame(f, again);
  encoder.End(again);
  DemoHeader header2;
  std::vector<DemoFrame> frames2;
  FUZZ_CHECK(ReadDemo(again.data(), again.size(), &header2, [&](const DemoFrame& f) { frames2.push_back(f); },
                      &error));
  FUZZ_CHECK(frames2 == frames);
  FUZZ_CHECK(header2.Tiles == header.Tiles && header2.Description == header.Description);

  // Played: a jump lands on the frame read.
  DemoPlayback playback;
  std::string text;
  FUZZ_CHECK(playback.LoadBytes(bytes, &text));
  const int last = static_cast<int>(frames.size()) - 1;
  playback.SeekTo(last);
  FUZZ_CHECK(playback.Current() == frames[static_cast<size_t>(last)]);
  playback.SeekTo(last / 2);
  FUZZ_CHECK(playback.Current() == frames[static_cast<size_t>(last / 2)]);
  Surface s;
  RenderWholeFrame(playback.Shown(), s);
  return 0;
}
