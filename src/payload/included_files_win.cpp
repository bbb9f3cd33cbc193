#include "payload/included_files.h"
#include "payload/included_files_win.h"

#include "diag/log.h"
#include "diag/report.h"
#include "payload/config_items.h"
#include "payload/config_store.h"
#include "payload/included_names.h"
#include "payload/payload.h"
#include "payload/payload_reader.h"
#include "payload/temp_files.h"
#include "util/handle.h"
#include "util/win_text.h"

#include <algorithm>
#include <vector>

namespace {

constexpr DWORD kBlockSize = 6000;
constexpr unsigned char kPayloadMask = 0xA7;

// Reads straight from the handle, so that its position stays exactly behind
// what was read (the record's data is copied through the same handle).
class HandleSource final : public ByteSource {
 public:
  explicit HandleSource(HANDLE file) : file_(file) {}

  bool read(void* buffer, std::uint32_t n, std::uint32_t& got) override {
    DWORD obtained = 0;
    const BOOL ok = ReadFile(file_, buffer, n, &obtained, nullptr);
    got = obtained;
    if (!ok) lastError_ = GetLastError();
    return ok != 0;
  }
  bool seek(std::int32_t offsetFromStart) override {
    if (SetFilePointer(file_, offsetFromStart, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR) {
      lastError_ = GetLastError();
      return false;
    }
    return true;
  }
  std::int64_t position() const override {
    LARGE_INTEGER zero{}, now{};
    return SetFilePointerEx(file_, zero, &now, FILE_CURRENT) ? now.QuadPart : 0;
  }
  std::int64_t size() const override {
    LARGE_INTEGER size{};
    return GetFileSizeEx(file_, &size) ? size.QuadPart : 0;
  }
  std::uint32_t lastError() const override { return lastError_; }

 private:
  HANDLE file_;
  std::uint32_t lastError_ = 0;
};

// Writes all of data, repeating for the part not yet written. False (with the
// log line) when a write fails or makes no progress.
bool writeAll(HANDLE target, const unsigned char* data, DWORD size) {
  DWORD done = 0;
  while (done < size) {
    DWORD written = 0;
    if (!WriteFile(target, data + done, size - done, &written, nullptr) || written == 0) {
      const DWORD error = GetLastError();
      logError(u"WriteFile failed %d %d", static_cast<int>(size - done), static_cast<int>(error));
      return false;
    }
    done += written;
  }
  return true;
}

// The first-level folder of a name, created if it does not exist yet.
void createNameFolder(const std::string& directory, const std::string& folder) {
  std::string path = directory + "\\" + folder;
  truncateToCapacity(path, kTextCapacity);
  logMessage(u"creating directory %S", path.c_str());
  if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    logError(u"failed to create directory %S", path.c_str());
}

}  // namespace

std::uint32_t& filesEndPosition() {
  static std::uint32_t position = 0;
  return position;
}

int copyPayloadBytes(HANDLE source, HANDLE target, std::int64_t length) {
  std::vector<unsigned char> block(kBlockSize);
  std::int64_t copied = 0;
  while (copied < length) {
    const DWORD wanted = static_cast<DWORD>(std::min<std::int64_t>(length - copied, kBlockSize));
    DWORD got = 0;
    if (!ReadFile(source, block.data(), wanted, &got, nullptr) || got == 0) {
      const DWORD error = GetLastError();
      logError(u"ReadFile failed %d %d %I64d", static_cast<int>(got), static_cast<int>(error),
               copied);
      return 1;
    }
    for (DWORD i = 0; i < got; ++i) block[i] ^= kPayloadMask;
    if (!writeAll(target, block.data(), got)) return 2;
    copied += got;
  }
  return 0;
}

int extractIncludedFile(HANDLE source, const std::string& path) {
  HandleSource reader(source);
  const std::optional<std::int64_t> length = readLong(reader);
  if (!length) fatalText(payloadErrorText(PayloadError::ReadLong));
  logMessage(u"extracting %S (size: %I64d)", path.c_str(), *length);
  if (*length <= 0) return 0;
  UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) fatalConfigMessage8(kMsgInternalError, "11");
  return copyPayloadBytes(source, file.get(), *length);
}

int extractIncludedFiles() {
  logMessage(u"extracting files");
  const std::int32_t count = configInt(kItemIncludedFileCount);
  logMessage(u"Included files: %d", static_cast<int>(count));
  if (count == 0) return 0;

  createLauncherTempDir();
  const std::string& directory = launcherTempDirectory();
  UniqueHandle payloadFile(openOwnExecutable());
  // Payload offsets are 32-bit distances from the start of the file. A failed
  // seek would leave the file at its start, so it counts as a read error.
  if (SetFilePointer(payloadFile.get(), static_cast<LONG>(configEndPosition()), nullptr,
                     FILE_BEGIN) == INVALID_SET_FILE_POINTER) {
    logError(u"SetFilePointer failed %d", static_cast<int>(GetLastError()));
    return 1;
  }

  std::int32_t handled = 0;
  for (const std::string& name : splitIncludedNames(configStringCopy(kItemIncludedFileNames))) {
    if (handled >= count) break;
    ++handled;
    std::string path = directory + "\\" + name;
    // A name from the payload must not place a file outside the directory, nor be
    // cut to fit; such a name is refused like a file that cannot be created.
    if (!isSafeIncludedName(name)) {
      logError(u"refused included file name %S (outside the temporary directory)",
               name.c_str());
      fatalConfigMessage8(kMsgInternalError, "11");
    }
    if (path.size() >= kTextCapacity) {
      logError(u"refused included file name %S (path too long)", name.c_str());
      fatalConfigMessage8(kMsgInternalError, "11");
    }
    if (std::optional<std::string> folder = firstFolderOfName(name))
      createNameFolder(directory, *folder);
    if (const int result = extractIncludedFile(payloadFile.get(), path); result != 0) {
      logError(u"Failed to extract %S", path.c_str());
      return result;
    }
  }

  filesEndPosition() = SetFilePointer(payloadFile.get(), 0, nullptr, FILE_CURRENT);
  payloadFile.reset();
  logMessage(u"extracting files done");
  return 0;
}
