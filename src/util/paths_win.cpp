#include "util/paths.h"

#include "util/handle.h"
#include "util/win_text.h"

unsigned fileCodePage() { return AreFileApisANSI() ? CP_ACP : CP_OEMCP; }

std::optional<std::string> narrowExact(WStringView text) {
  if (text.empty()) return std::string();
  const unsigned cp = fileCodePage();
  const auto* src = reinterpret_cast<const wchar_t*>(text.data());
  const int srcLen = static_cast<int>(text.size());
  BOOL usedDefault = FALSE;
  int n = WideCharToMultiByte(cp, 0, src, srcLen, nullptr, 0, "?", &usedDefault);
  if (n <= 0 || usedDefault) return std::nullopt;
  std::string out(static_cast<std::size_t>(n), '\0');
  usedDefault = FALSE;
  WideCharToMultiByte(cp, 0, src, srcLen, out.data(), n, "?", &usedDefault);
  if (usedDefault) return std::nullopt;
  return out;
}

std::string narrowCopy(WStringView text) {
  if (text.empty()) return std::string();
  const unsigned cp = fileCodePage();
  const auto* src = reinterpret_cast<const wchar_t*>(text.data());
  const int srcLen = static_cast<int>(text.size());
  int n = WideCharToMultiByte(cp, 0, src, srcLen, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(cp, 0, src, srcLen, out.data(), n, nullptr, nullptr);
  return out;
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
  WString module = windowsString(
      [](wchar_t* b, DWORD n) { return GetModuleFileNameW(nullptr, b, n); });
  WString longForm = windowsString(
      [&](wchar_t* b, DWORD n) { return GetLongPathNameW(wz(module), b, n); });
  paths.wide = longForm.empty() ? module : longForm;

  auto narrow = narrowExact(paths.wide);
  if (!acceptableNarrow(narrow)) {
    WString shortForm = windowsString(
        [&](wchar_t* b, DWORD n) { return GetShortPathNameW(wz(paths.wide), b, n); });
    narrow = narrowExact(shortForm);
  }
  if (acceptableNarrow(narrow)) {
    paths.narrow = *narrow;
  } else {
    std::string moduleA =
        windowsStringA([](char* b, DWORD n) { return GetModuleFileNameA(nullptr, b, n); });
    std::string shortA = windowsStringA(
        [&](char* b, DWORD n) { return GetShortPathNameA(moduleA.c_str(), b, n); });
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

void collapseBackslashes(std::string& path) {
  WString wide = widenPath(path);
  collapseBackslashesWide(wide);
  if (auto back = narrowExact(wide)) path = *back;
}

void lowerCasePath(std::string& path) {
  WString wide = widenPath(path);
  asciiLowerInPlace(wide);
  if (auto back = narrowExact(wide)) path = *back;
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
