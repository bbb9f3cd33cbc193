#include "jre/java_probe_text.h"

#include <array>

std::string versionCacheKeyFor(std::string_view normalizedPath) {
  std::string key(kVersionCacheKey);
  key += '\\';
  for (char c : normalizedPath) key += c == '\\' ? '/' : c;
  return key;
}

bool isIgnoredCachedVersion(std::string_view version) {
  return version == "1.7." || version == "1.6." || version == "1.5.";
}

std::optional<std::string> cachedVersionFromValue(const char* data, std::size_t size,
                                                  std::size_t capacity) {
  if (size == 0) return std::string();
  if (size >= capacity && data[size - 1] != '\0') return std::nullopt;
  std::string_view bytes(data, size);
  return std::string(bytes.substr(0, bytes.find('\0')));
}

std::string lastWriteTimeBytes(std::uint64_t lastWrite) {
  std::string bytes(8, '\0');
  for (std::size_t i = 0; i < 8; ++i) bytes[i] = static_cast<char>((lastWrite >> (8 * i)) & 0xFF);
  return bytes;
}

std::optional<std::string> firstOutputLine(std::string_view output) {
  if (output.empty()) return std::nullopt;
  std::string_view line = output.substr(0, kVersionLineLimit);
  std::size_t end = line.find('\n');
  if (end != std::string_view::npos) line = line.substr(0, end + 1);
  return std::string(line);
}

std::optional<std::string> versionFromFirstLine(std::string_view line) {
  constexpr std::array<std::string_view, 2> kPrefixes = {"java version \"", "openjdk version \""};
  for (std::string_view prefix : kPrefixes) {
    if (line.substr(0, prefix.size()) != prefix) continue;
    std::string_view rest = line.substr(prefix.size());
    std::size_t close = rest.find('"');
    if (close == std::string_view::npos || close == 0) return std::nullopt;
    return std::string(rest.substr(0, close));
  }
  return std::nullopt;
}
