// Files carried in the payload and extracted into the launcher temporary directory.
#pragma once

#include <cstdint>

// 0 on success, otherwise the code of the file that failed (1 read, 2 write error).
int extractIncludedFiles();

// Offset just behind the last included file record read; 0 until extraction ran.
std::uint32_t& filesEndPosition();
