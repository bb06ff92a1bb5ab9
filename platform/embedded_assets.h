// Files from resources/ compiled into the program (pictures, the font).
#pragma once

#include <cstddef>

struct EmbeddedFile {
  const char* name;
  const unsigned char* data;
  size_t size;
};

// The embedded file of that name, or null.
const EmbeddedFile* EmbeddedAsset(const char* name);
