// The 16-colour bitmap decoder on arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "render/pictures.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Picture pic;
  if (DecodeBmp(data, size, &pic)) {
    FUZZ_CHECK(pic.width > 0 && pic.height > 0);
    FUZZ_CHECK(pic.pixels.size() == static_cast<size_t>(pic.width) * static_cast<size_t>(pic.height));
    // Four bits a pixel: the picture cannot hold more pixels than twice the
    // bytes it came from.
    FUZZ_CHECK(pic.pixels.size() <= 2 * size);
  }
  return 0;
}
