// Writes launcher payloads: the configuration part (8-bit items, UTF-16 messages,
// locale override groups) and the included-file records, appended to a copy of
// the unchanged launcher executable. Also writes broken payloads on purpose
// (wrong magic, forged counts and lengths, cut at any byte) for tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace payload {

inline constexpr std::uint32_t kMagic = 0xE8E413D5u;
inline constexpr unsigned char kFileMask = 0xA7;

struct OverrideGroup {
  std::string name;  // a locale code or a prefix of one ("de", "de_DE")
  std::vector<std::pair<std::int32_t, std::u16string>> entries;
};

class PayloadBuilder {
 public:
  // 8-bit table entry; the same id may be added twice (the later one wins).
  PayloadBuilder& item(std::int32_t id, std::string value);
  // UTF-16 table entry (messages).
  PayloadBuilder& message(std::int32_t id, std::u16string value);
  PayloadBuilder& group(OverrideGroup group);
  // An included-file record carrying bytes (stored masked).
  PayloadBuilder& file(std::string bytes);
  // A record whose declared length differs from the bytes that follow.
  PayloadBuilder& fileRecord(std::int64_t declaredLength, std::string bytes);
  // Bytes behind the included files, never read by the launcher.
  PayloadBuilder& trailer(std::string bytes);

  // Deliberate damage.
  PayloadBuilder& magic(std::uint32_t value);
  PayloadBuilder& reserved(std::int32_t a, std::int32_t b, std::int64_t c);
  PayloadBuilder& count8(std::int32_t forged);
  PayloadBuilder& count16(std::int32_t forged);
  PayloadBuilder& groupCount(std::int32_t forged);

  std::string bytes() const;
  // Offset (within the payload) where the included-file records start.
  std::size_t configPartSize() const;

 private:
  std::uint32_t magic_ = kMagic;
  std::int32_t reservedA_ = 0, reservedB_ = 0;
  std::int64_t reservedC_ = 0;
  std::vector<std::pair<std::int32_t, std::string>> items_;
  std::vector<std::pair<std::int32_t, std::u16string>> messages_;
  std::vector<OverrideGroup> groups_;
  std::vector<std::pair<std::int64_t, std::string>> files_;
  std::string trailer_;
  std::optional<std::int32_t> count8_, count16_, groupCount_;
};

// UTF-8 to UTF-16 (for messages written in source or on a command line).
std::u16string utf16(std::string_view utf8);

// Offset just behind the last section's raw data of a PE image, or nothing when
// the bytes are not a PE image.
std::optional<std::uint64_t> peImageEnd(const std::string& image);

// Copies stub to output and appends payload. The stub must end exactly where its
// last section's raw data ends (a stripped launcher), otherwise the payload would
// not be found. Returns an error text, or nothing on success.
std::optional<std::string> writeLauncher(const std::string& stubPath,
                                         const std::string& outputPath,
                                         const std::string& payloadBytes);

}  // namespace payload
