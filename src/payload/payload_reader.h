// Reading the payload that the build tool appends behind the executable's last
// section: the PE walk that finds it, the little-endian readers and the two
// string tables with the locale's override groups. Works on any ByteSource, so
// the same code reads the launcher's own file and byte buffers in tests.
#pragma once

#include "payload/config_store.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

inline constexpr std::uint32_t kPayloadMagic = 0xE8E413D5u;

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to n bytes at the current position into buffer; got receives the
  // count obtained. False when the read itself failed.
  virtual bool read(void* buffer, std::uint32_t n, std::uint32_t& got) = 0;
  // Moves to a distance from the start of the file; false (position unchanged)
  // when that is not possible.
  virtual bool seek(std::int32_t offsetFromStart) = 0;
  virtual std::int64_t position() const = 0;
  virtual std::int64_t size() const = 0;
  // The system error code of the last failed operation (0 when none).
  virtual std::uint32_t lastError() const = 0;
};

// What went wrong while reading; each has a fixed text shown to the user.
enum class PayloadError { None, ReadLong, ReadInt, ReadShort, ReadString, ReadWString, Magic };

const char16_t* payloadErrorText(PayloadError error);

// The readers read at the current position and advance it. On failure they log
// what the launcher log shows for them and return nothing.
std::optional<std::int64_t> readLong(ByteSource& source);
std::optional<std::int32_t> readInt(ByteSource& source);
std::optional<std::int16_t> readShort(ByteSource& source);
// The string readers set error to ReadInt when the length itself could not be
// read, otherwise to their own error.
std::optional<std::string> readString(ByteSource& source, PayloadError& error);
std::optional<WString> readWString(ByteSource& source, PayloadError& error);

// Positions the source at the payload start (behind the last section's raw data).
PayloadError locatePayload(ByteSource& source);

// Reads header, tables and override groups into store. resolveLocaleCode is asked
// once, between the base tables and the override groups. On success
// configEndPosition receives the offset just behind the configuration part.
PayloadError parsePayload(ByteSource& source, ConfigStore& store,
                          const std::function<std::string()>& resolveLocaleCode,
                          std::uint32_t& configEndPosition);

// True when an override group named name applies to the locale code.
bool overrideGroupMatches(std::string_view groupName, std::string_view localeCode);
