#include "payload/payload_reader.h"

#include "diag/log.h"

#include <cstring>
#include <vector>

const char16_t* payloadErrorText(PayloadError error) {
  switch (error) {
    case PayloadError::ReadLong: return u"Internal Error: readLong";
    case PayloadError::ReadInt: return u"Internal Error: readInt";
    case PayloadError::ReadShort: return u"Internal Error: readShort";
    case PayloadError::ReadString: return u"Internal Error: readString";
    case PayloadError::ReadWString: return u"Internal Error: readWString";
    case PayloadError::Magic: return u"Internal Error: magic";
    case PayloadError::None: break;
  }
  return u"";
}

namespace {

// Reads exactly n bytes; false when fewer arrived or the read failed.
bool readExactly(ByteSource& source, void* buffer, std::uint32_t n, std::uint32_t& got) {
  got = 0;
  auto* out = static_cast<unsigned char*>(buffer);
  while (got < n) {
    std::uint32_t chunk = 0;
    if (!source.read(out + got, n - got, chunk)) return false;
    if (chunk == 0) return false;
    got += chunk;
  }
  return true;
}

template <typename T>
T fromLittleEndian(const unsigned char* bytes) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) value |= std::uint64_t{bytes[i]} << (8 * i);
  return static_cast<T>(value);
}

// A declared length can only be honoured when that many bytes remain.
bool lengthFits(const ByteSource& source, std::int32_t length) {
  return length >= 0 && source.position() + length <= source.size();
}

// Offsets are 32-bit values in the file format; arithmetic wraps like it.
std::int32_t add32(std::int64_t a, std::int64_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

}  // namespace

std::optional<std::int64_t> readLong(ByteSource& source) {
  unsigned char bytes[8];
  std::uint32_t got = 0;
  if (!readExactly(source, bytes, 8, got)) {
    logMessage(u"error %d\n", static_cast<int>(source.lastError()));
    return std::nullopt;
  }
  return fromLittleEndian<std::int64_t>(bytes);
}

std::optional<std::int32_t> readInt(ByteSource& source) {
  unsigned char bytes[4];
  std::uint32_t got = 0;
  if (!readExactly(source, bytes, 4, got)) {
    logMessage(u"error %d %d\n", static_cast<int>(source.lastError()), static_cast<int>(got));
    return std::nullopt;
  }
  return fromLittleEndian<std::int32_t>(bytes);
}

std::optional<std::int16_t> readShort(ByteSource& source) {
  unsigned char bytes[2];
  std::uint32_t got = 0;
  if (!readExactly(source, bytes, 2, got)) {
    logMessage(u"error %d\n", static_cast<int>(source.lastError()));
    return std::nullopt;
  }
  return fromLittleEndian<std::int16_t>(bytes);
}

std::optional<std::string> readString(ByteSource& source, PayloadError& error) {
  auto length = readInt(source);
  if (!length) {
    error = PayloadError::ReadInt;
    return std::nullopt;
  }
  error = PayloadError::ReadString;
  if (!lengthFits(source, *length)) return std::nullopt;
  std::string text(static_cast<std::size_t>(*length), '\0');
  std::uint32_t got = 0;
  if (*length > 0 && !readExactly(source, text.data(), static_cast<std::uint32_t>(*length), got))
    return std::nullopt;
  // Entries are C strings to every reader: a value ends at its first NUL.
  if (auto end = text.find('\0'); end != std::string::npos) text.resize(end);
  error = PayloadError::None;
  return text;
}

std::optional<WString> readWString(ByteSource& source, PayloadError& error) {
  auto length = readInt(source);
  if (!length) {
    error = PayloadError::ReadInt;
    return std::nullopt;
  }
  error = PayloadError::ReadWString;
  if (!lengthFits(source, *length)) return std::nullopt;
  std::vector<unsigned char> bytes(static_cast<std::size_t>(*length));
  std::uint32_t got = 0;
  if (*length > 0 &&
      !readExactly(source, bytes.data(), static_cast<std::uint32_t>(*length), got))
    return std::nullopt;
  WString text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  if (auto end = text.find(u'\0'); end != WString::npos) text.resize(end);
  error = PayloadError::None;
  return text;
}

PayloadError locatePayload(ByteSource& source) {
  source.seek(60);
  auto peOffset = readInt(source);
  if (!peOffset) return PayloadError::ReadInt;

  source.seek(add32(*peOffset, 6));
  auto sectionCount = readShort(source);
  if (!sectionCount) return PayloadError::ReadShort;
  logMessage(u"number of sections: %d", static_cast<int>(*sectionCount));

  source.seek(add32(*peOffset, 20));
  auto optionalHeaderSize = readShort(source);
  if (!optionalHeaderSize) return PayloadError::ReadShort;
  logMessage(u"size of optional headers: %d", static_cast<int>(*optionalHeaderSize));

  // Offset of the SizeOfRawData field of the last section header.
  std::int32_t d = add32(add32(*peOffset, *optionalHeaderSize), 40 * std::int64_t{*sectionCount});
  logMessage(u"resSectionTableStart: %d", add32(d, -16));

  source.seek(d);
  auto rawDataSize = readInt(source);
  if (!rawDataSize) return PayloadError::ReadInt;
  source.seek(add32(d, 4));
  auto rawDataOffset = readInt(source);
  if (!rawDataOffset) return PayloadError::ReadInt;
  logMessage(u"rawDataSize: %d, rawDataOffset: %d", *rawDataSize, *rawDataOffset);

  source.seek(add32(*rawDataSize, *rawDataOffset));
  return PayloadError::None;
}

bool overrideGroupMatches(std::string_view groupName, std::string_view localeCode) {
  return startsWith(localeCode, groupName);
}

PayloadError parsePayload(ByteSource& source, ConfigStore& store,
                          const std::function<std::string()>& resolveLocaleCode,
                          std::uint32_t& configEndPosition) {
  if (PayloadError located = locatePayload(source); located != PayloadError::None) return located;

  auto magic = readInt(source);
  if (!magic) return PayloadError::ReadInt;
  if (static_cast<std::uint32_t>(*magic) != kPayloadMagic) return PayloadError::Magic;
  if (!readInt(source) || !readInt(source)) return PayloadError::ReadInt;
  if (!readLong(source)) return PayloadError::ReadLong;

  auto count8 = readInt(source);
  if (!count8) return PayloadError::ReadInt;
  for (std::int32_t i = 0; i < *count8; ++i) {
    auto id = readInt(source);
    if (!id) return PayloadError::ReadInt;
    PayloadError error = PayloadError::None;
    auto value = readString(source, error);
    if (!value) return error;
    store.narrow[*id] = std::move(*value);
  }

  auto count16 = readInt(source);
  if (!count16) return PayloadError::ReadInt;
  for (std::int32_t i = 0; i < *count16; ++i) {
    auto id = readInt(source);
    if (!id) return PayloadError::ReadInt;
    PayloadError error = PayloadError::None;
    auto value = readWString(source, error);
    if (!value) return error;
    store.wide[*id] = std::move(*value);
  }

  const std::string localeCode = resolveLocaleCode ? resolveLocaleCode() : std::string("en");

  auto groupCount = readInt(source);
  if (!groupCount) return PayloadError::ReadInt;
  for (std::int32_t g = 0; g < *groupCount; ++g) {
    PayloadError error = PayloadError::None;
    auto name = readString(source, error);
    if (!name) return error;
    const bool matches = overrideGroupMatches(*name, localeCode);
    auto entryCount = readInt(source);
    if (!entryCount) return PayloadError::ReadInt;
    for (std::int32_t i = 0; i < *entryCount; ++i) {
      auto id = readInt(source);
      if (!id) return PayloadError::ReadInt;
      auto value = readWString(source, error);
      if (!value) return error;
      if (matches) store.wide[*id] = std::move(*value);
    }
  }

  configEndPosition = static_cast<std::uint32_t>(source.position());
  return PayloadError::None;
}
