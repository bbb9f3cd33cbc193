// A ByteSource over bytes in memory, with a fake PE header in front so that the
// payload is found behind the "last section" exactly as in a real launcher file.
#pragma once

#include "payload/payload_reader.h"

#include <cstring>
#include <string>

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::string bytes) : bytes_(std::move(bytes)) {}

  bool read(void* buffer, std::uint32_t n, std::uint32_t& got) override {
    const std::int64_t left = static_cast<std::int64_t>(bytes_.size()) - position_;
    got = static_cast<std::uint32_t>(left <= 0 ? 0 : (left < n ? left : n));
    if (got) std::memcpy(buffer, bytes_.data() + position_, got);
    position_ += got;
    return true;
  }
  bool seek(std::int32_t offset) override {
    if (offset < 0) return false;
    position_ = offset;
    return true;
  }
  std::int64_t position() const override { return position_; }
  std::int64_t size() const override { return static_cast<std::int64_t>(bytes_.size()); }
  std::uint32_t lastError() const override { return 38; }  // "reached the end of the file"

 private:
  std::string bytes_;
  std::int64_t position_ = 0;
};

// A minimal image: DOS header pointing at a PE header with one section whose raw
// data ends at the returned string's end (plus some padding that must never be read).
inline std::string fakeImage() {
  std::string image(512, '\0');
  image[0] = 'M';
  image[1] = 'Z';
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) image[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  auto put16 = [&](std::size_t at, std::uint16_t v) {
    image[at] = static_cast<char>(v & 0xFF);
    image[at + 1] = static_cast<char>(v >> 8);
  };
  const std::uint32_t pe = 128;
  put32(60, pe);
  std::memcpy(&image[pe], "PE\0\0", 4);
  put16(pe + 6, 2);     // two sections
  put16(pe + 20, 112);  // size of the optional header
  const std::size_t table = pe + 24 + 112;
  // Section 1 points far away; only the last header decides.
  put32(table + 16, 0x1000);
  put32(table + 20, 0x200000);
  put32(table + 40 + 16, 0x100);  // raw size
  put32(table + 40 + 20, 0x100);  // raw offset: data ends at 0x200 == 512
  return image;
}
