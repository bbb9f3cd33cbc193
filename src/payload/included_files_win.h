// The steps of extracting one included file, for the Windows code that has an
// open payload file at hand.
#pragma once

#include <cstdint>
#include <string>

#include <windows.h>

// Reads one included-file record at source's position and writes its bytes to
// path (a record of length 0 or below makes no file). 0 on success, 1 read error,
// 2 write error. A file that cannot be created ends the process (message 1009,
// "11"), as does a record whose length cannot be read ("Internal Error: readLong").
int extractIncludedFile(HANDLE source, const std::string& path);

// Copies length bytes from source to target in blocks of 6000, unmasking each
// byte (XOR 0xA7). 0 on success, 1 read error (including the end of the source
// before length bytes), 2 write error.
int copyPayloadBytes(HANDLE source, HANDLE target, std::int64_t length);
