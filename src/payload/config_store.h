// The configuration store: numbered items of the payload, held as 8-bit strings
// (all settings) and UTF-16 strings (messages, with the locale's overrides applied).
// Filled once while the payload is read, then only read, from any thread.
#pragma once

#include "util/text.h"

#include <cstdint>
#include <unordered_map>

struct ConfigStore {
  std::unordered_map<std::int32_t, std::string> narrow;
  std::unordered_map<std::int32_t, WString> wide;
};

// The process-wide store.
ConfigStore& configStore();

// The 8-bit value cut to cap - 1 bytes; a longer value is cut and the line
// "ERROR: config string %d truncated (%d %d)" is logged. Absent: empty.
std::string configString(std::int32_t id, std::size_t cap = kTextCapacity);

// The 8-bit value widened byte by byte, at most cap - 1 units. Absent: empty.
WString configStringAsWide(std::int32_t id, std::size_t cap = kTextCapacity);

// The UTF-16 value, at most kTextCapacity - 1 units. Absent: empty.
WString configWideString(std::int32_t id);

// A message: the UTF-16 value, or when that is empty the 8-bit value widened.
WString configMessage(std::int32_t id);

// Decimal value of the 8-bit text, clamped to the 32-bit range; absent or
// non-numeric gives 0.
std::int32_t configInt(std::int32_t id);

// "r,g,b" as a colour value 0x00BBGGRR, each component reduced to its low 8 bits.
// Missing components count as 0.
std::uint32_t configColor(std::int32_t id);

// The whole 8-bit value; absent gives an empty string.
std::string configStringCopy(std::int32_t id);
