#include "payload/file_source_win.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::uint32_t kWindow = 64 * 1024;
}

FileSource::FileSource(HANDLE file) : file_(file) {
  LARGE_INTEGER fileSize;
  if (GetFileSizeEx(file_, &fileSize)) size_ = fileSize.QuadPart;
  LARGE_INTEGER zero{}, now{};
  if (SetFilePointerEx(file_, zero, &now, FILE_CURRENT)) position_ = now.QuadPart;
}

bool FileSource::fill() {
  LARGE_INTEGER to;
  to.QuadPart = position_;
  buffer_.clear();
  bufferStart_ = position_;
  if (!SetFilePointerEx(file_, to, nullptr, FILE_BEGIN)) {
    lastError_ = GetLastError();
    return false;
  }
  buffer_.resize(kWindow);
  DWORD got = 0;
  if (!ReadFile(file_, buffer_.data(), kWindow, &got, nullptr)) {
    lastError_ = GetLastError();
    buffer_.clear();
    return false;
  }
  buffer_.resize(got);
  return true;
}

bool FileSource::read(void* out, std::uint32_t n, std::uint32_t& got) {
  got = 0;
  auto* dest = static_cast<unsigned char*>(out);
  while (got < n) {
    const std::int64_t offset = position_ - bufferStart_;
    if (offset < 0 || offset >= static_cast<std::int64_t>(buffer_.size())) {
      if (!fill()) return got > 0;
      if (buffer_.empty()) return true;  // end of file: a short read, not a failure
      continue;
    }
    const std::uint32_t take = static_cast<std::uint32_t>(
        std::min<std::int64_t>(n - got, static_cast<std::int64_t>(buffer_.size()) - offset));
    std::memcpy(dest + got, buffer_.data() + offset, take);
    got += take;
    position_ += take;
  }
  return true;
}

bool FileSource::seek(std::int32_t offsetFromStart) {
  if (offsetFromStart < 0) {
    lastError_ = ERROR_NEGATIVE_SEEK;
    return false;
  }
  position_ = offsetFromStart;
  return true;
}
