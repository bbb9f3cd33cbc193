// Placeholder until extraction of included files lands: nothing is extracted.
#include "payload/included_files.h"

int extractIncludedFiles() { return 0; }

std::uint32_t& filesEndPosition() {
  static std::uint32_t position = 0;
  return position;
}
