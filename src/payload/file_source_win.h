// A ByteSource over an open Windows file, reading through a small buffer so that
// the many 4-byte reads of the payload do not each cost a system call.
#pragma once

#include "payload/payload_reader.h"

#include <vector>

#include <windows.h>

class FileSource final : public ByteSource {
 public:
  explicit FileSource(HANDLE file);

  bool read(void* buffer, std::uint32_t n, std::uint32_t& got) override;
  bool seek(std::int32_t offsetFromStart) override;
  std::int64_t position() const override { return position_; }
  std::int64_t size() const override { return size_; }
  std::uint32_t lastError() const override { return lastError_; }

 private:
  bool fill();

  HANDLE file_;
  std::int64_t size_ = 0;
  std::int64_t position_ = 0;
  std::vector<unsigned char> buffer_;
  std::int64_t bufferStart_ = 0;  // file offset of buffer_[0]
  std::uint32_t lastError_ = 0;
};
