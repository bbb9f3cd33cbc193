#include "util/paths.h"

#include "util/handle.h"
#include "util/win_text.h"

unsigned fileCodePage() { return AreFileApisANSI() ? CP_ACP : CP_OEMCP; }

namespace {

// One conversion to 8-bit text in the file code page. Best-fit mappings are off,
// so a character without an 8-bit form becomes the default character (and is
// reported through usedDefault) instead of a look-alike that names another file.
// UTF-8 and GB18030 spell every character and take no best-fit flag; there only
// unpaired surrogates fail, and with exact they fail the whole conversion.
std::optional<std::string> toFileCodePage(WStringView text, bool exact) {
  if (text.empty()) return std::string();
  const unsigned cp = fileCodePage();
  const unsigned actual = cp == CP_ACP ? GetACP() : GetOEMCP();
  const bool spellsAll = actual == CP_UTF8 || actual == 54936;
  const DWORD flags = spellsAll ? (exact ? WC_ERR_INVALID_CHARS : 0) : WC_NO_BEST_FIT_CHARS;
  const auto* src = reinterpret_cast<const wchar_t*>(text.data());
  const int srcLen = static_cast<int>(text.size());
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultOut = (spellsAll || !exact) ? nullptr : &usedDefault;
  const int n = WideCharToMultiByte(cp, flags, src, srcLen, nullptr, 0, nullptr, usedDefaultOut);
  if (n <= 0 || usedDefault) return std::nullopt;
  std::string out(static_cast<std::size_t>(n), '\0');
  const int written =
      WideCharToMultiByte(cp, flags, src, srcLen, out.data(), n, nullptr, usedDefaultOut);
  if (written <= 0 || usedDefault) return std::nullopt;
  out.resize(static_cast<std::size_t>(written));
  return out;
}

}  // namespace

std::optional<std::string> narrowExact(WStringView text) { return toFileCodePage(text, true); }

std::string narrowCopy(WStringView text) {
  return toFileCodePage(text, false).value_or(std::string());
}

WString widenPath(std::string_view text) {
  if (text.empty()) return WString();
  const unsigned cp = fileCodePage();
  int n = MultiByteToWideChar(cp, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return WString();
  WString out(static_cast<std::size_t>(n), u'\0');
  MultiByteToWideChar(cp, 0, text.data(), static_cast<int>(text.size()), wbuf(out), n);
  return out;
}

namespace {

struct ExecutablePaths {
  std::string narrow;
  WString wide;
};

bool acceptableNarrow(const std::optional<std::string>& narrow) {
  return narrow && narrow->size() >= 4 && endsWithIgnoreAsciiCase(*narrow, ".exe");
}

ExecutablePaths computeExecutablePaths() {
  ExecutablePaths paths;
  WString module =
      windowsString([](wchar_t* b, DWORD n) { return GetModuleFileNameW(nullptr, b, n); });
  WString longForm =
      windowsString([&](wchar_t* b, DWORD n) { return GetLongPathNameW(wz(module), b, n); });
  paths.wide = longForm.empty() ? module : longForm;

  auto narrow = narrowExact(paths.wide);
  if (!acceptableNarrow(narrow)) {
    WString shortForm =
        windowsString([&](wchar_t* b, DWORD n) { return GetShortPathNameW(wz(paths.wide), b, n); });
    narrow = narrowExact(shortForm);
  }
  if (acceptableNarrow(narrow)) {
    paths.narrow = *narrow;
  } else {
    std::string moduleA =
        windowsStringA([](char* b, DWORD n) { return GetModuleFileNameA(nullptr, b, n); });
    std::string shortA =
        windowsStringA([&](char* b, DWORD n) { return GetShortPathNameA(moduleA.c_str(), b, n); });
    paths.narrow = shortA.empty() ? moduleA : shortA;
  }
  collapseBackslashesWide(paths.wide);
  collapseBackslashes(paths.narrow);
  truncateToCapacity(paths.narrow, kTextCapacity);
  return paths;
}

const ExecutablePaths& executablePaths() {
  static const ExecutablePaths paths = computeExecutablePaths();
  return paths;
}

}  // namespace

const std::string& executablePath() { return executablePaths().narrow; }
const WString& executablePathWide() { return executablePaths().wide; }

namespace {

// Edits 8-bit path text in its UTF-16 form, so that a backslash byte inside a
// double-byte character is never taken for a separator. The text changes only
// when the edited form converts back exactly.
template <typename Edit>
void editThroughWide(std::string& path, Edit edit) {
  if (path.empty()) return;
  WString wide = widenPath(path);
  if (wide.empty()) return;
  edit(wide);
  if (auto back = narrowExact(wide)) path = std::move(*back);
}

}  // namespace

void collapseBackslashes(std::string& path) { editThroughWide(path, collapseBackslashesWide); }

void lowerCasePath(std::string& path) {
  editThroughWide(path, [](WString& wide) { asciiLowerInPlace(wide); });
}

bool probePath(const std::string& path, std::uint64_t* lastWrite) {
  WIN32_FIND_DATAA data;
  UniqueFind search(FindFirstFileA(path.c_str(), &data));
  if (!search.valid()) return false;
  if (lastWrite)
    *lastWrite = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                 data.ftLastWriteTime.dwLowDateTime;
  return true;
}

bool probePathWide(const WString& path, std::uint64_t* lastWrite) {
  WIN32_FIND_DATAW data;
  UniqueFind search(FindFirstFileW(wz(path), &data));
  if (!search.valid()) return false;
  if (lastWrite)
    *lastWrite = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                 data.ftLastWriteTime.dwLowDateTime;
  return true;
}

bool pathExists(const std::string& path) {
  if (isDriveRootSpelling(widenBytewise(path))) return true;
  return probePath(path);
}

bool pathExistsWide(const WString& path) {
  if (isDriveRootSpelling(path)) return true;
  return probePathWide(path);
}

namespace {

constexpr std::size_t kNoFileName = std::string::npos;

// GetFullPathNameA: the normalised full path and where its file-name part starts
// (kNoFileName when it has none). Empty when the system cannot normalise the path.
std::string fullNameA(const std::string& path, std::size_t& fileNameAt) {
  fileNameAt = kNoFileName;
  if (path.empty()) return std::string();
  return windowsStringA([&](char* buffer, DWORD size) {
    char* fileName = nullptr;
    DWORD n = GetFullPathNameA(path.c_str(), size, buffer, &fileName);
    fileNameAt = (n != 0 && n < size && fileName) ? static_cast<std::size_t>(fileName - buffer)
                                                  : kNoFileName;
    return n;
  });
}

WString fullNameW(const WString& path, std::size_t& fileNameAt) {
  fileNameAt = kNoFileName;
  if (path.empty()) return WString();
  return windowsString([&](wchar_t* buffer, DWORD size) {
    wchar_t* fileName = nullptr;
    DWORD n = GetFullPathNameW(wz(path), size, buffer, &fileName);
    fileNameAt = (n != 0 && n < size && fileName) ? static_cast<std::size_t>(fileName - buffer)
                                                  : kNoFileName;
    return n;
  });
}

// The folder holding a file, with its trailing backslash. When the system cannot
// normalise the name, the text up to its last backslash stands in.
std::string containingDirectory(const std::string& file) {
  std::size_t fileNameAt = kNoFileName;
  std::string full = fullNameA(file, fileNameAt);
  if (full.empty()) {
    const std::size_t slash = file.find_last_of('\\');
    return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
  }
  if (fileNameAt != kNoFileName) full.resize(fileNameAt);
  return full;
}

WString containingDirectoryWide(const WString& file) {
  std::size_t fileNameAt = kNoFileName;
  WString full = fullNameW(file, fileNameAt);
  if (full.empty()) {
    const std::size_t slash = file.find_last_of(u'\\');
    return slash == WString::npos ? WString() : file.substr(0, slash + 1);
  }
  if (fileNameAt != kNoFileName) full.resize(fileNameAt);
  return full;
}

struct ExecutableDirectories {
  std::string narrow;
  WString wide;
  WString narrowSafe;
};

const ExecutableDirectories& executableDirectories() {
  static const ExecutableDirectories dirs = [] {
    ExecutableDirectories d;
    d.narrow = containingDirectory(executablePath());
    truncateToCapacity(d.narrow, kTextCapacity);
    d.narrowSafe = widenBytewise(d.narrow);
    d.wide = containingDirectoryWide(executablePathWide());
    return d;
  }();
  return dirs;
}

}  // namespace

const std::string& executableDirectory() { return executableDirectories().narrow; }
const WString& executableDirectoryWide() { return executableDirectories().wide; }
const WString& executableDirectoryNarrowSafe() { return executableDirectories().narrowSafe; }

std::string resolvePath(const std::string& path, const std::string* baseFile) {
  std::string out;
  if (isRelativePath(path))
    out = placeRelative(baseFile ? containingDirectory(*baseFile) : executableDirectory(), path);
  else
    out = path;
  collapseBackslashes(out);
  truncateToCapacity(out, kTextCapacity);
  return out;
}

WString resolvePathWide(const WString& path, bool narrowSafe, const WString* baseFile) {
  WString out;
  if (isRelativePathWide(path)) {
    const WString base = baseFile     ? containingDirectoryWide(*baseFile)
                         : narrowSafe ? executableDirectoryNarrowSafe()
                                      : executableDirectoryWide();
    out = placeRelativeWide(base, path);
  } else {
    out = path;
  }
  collapseBackslashesWide(out);
  truncateToCapacity(out, kTextCapacity);
  return out;
}

std::string fullPath(const std::string& path, bool keepCase) {
  const std::string resolved = resolvePath(path);
  std::size_t fileNameAt = kNoFileName;
  std::string out = fullNameA(resolved, fileNameAt);
  if (out.empty()) out = resolved;  // not normalisable: the resolved text as it is
  if (!keepCase) lowerCasePath(out);
  collapseBackslashes(out);
  truncateToCapacity(out, kTextCapacity);
  return out;
}

WString fullPathWide(const WString& path, bool narrowSafe, bool keepCase) {
  const WString resolved = resolvePathWide(path, narrowSafe);
  std::size_t fileNameAt = kNoFileName;
  WString out = fullNameW(resolved, fileNameAt);
  if (out.empty()) out = resolved;
  if (!keepCase) asciiLowerInPlace(out);
  collapseBackslashesWide(out);
  truncateToCapacity(out, kTextCapacity);
  return out;
}

std::string resolvePathList(const std::string& list) {
  std::vector<std::string> elements = splitPathList(list);
  for (std::string& element : elements) element = resolvePath(element);
  std::string out = joinPathList(elements);
  truncateToCapacity(out, kTextCapacity);
  return out;
}
