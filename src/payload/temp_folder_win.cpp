#include "diag/report.h"
#include "payload/config_items.h"
#include "payload/temp_files.h"
#include "util/paths.h"
#include "util/win_text.h"

#include <vector>

namespace {

// The 8-bit and UTF-16 forms differ only in the Windows calls they make.
struct Narrow {
  using String = std::string;
  static String lit(const char* text) { return text; }
  static String env(const char* name) {
    return windowsStringA([&](char* b, DWORD n) { return GetEnvironmentVariableA(name, b, n); });
  }
  static String tempPath() {
    return windowsStringA([](char* b, DWORD n) { return GetTempPathA(n, b); });
  }
  static String windowsDir() {
    return windowsStringA([](char* b, DWORD n) { return GetWindowsDirectoryA(b, n); });
  }
  static String longPath(const String& p) {
    return windowsStringA(
        [&](char* b, DWORD n) { return GetLongPathNameA(p.c_str(), b, n); });
  }
  static bool createDir(const String& p) { return CreateDirectoryA(p.c_str(), nullptr) != 0; }
  static bool removeDir(const String& p) { return RemoveDirectoryA(p.c_str()) != 0; }
  static bool exists(const String& p) { return pathExists(p); }
  static bool hasQuestionMark(const String& p) { return p.find('?') != String::npos; }
};

struct Wide {
  using String = WString;
  static String lit(const char* text) { return widenBytewise(text); }
  static String env(const char* name) {
    WString wname = widenBytewise(name);
    return windowsString(
        [&](wchar_t* b, DWORD n) { return GetEnvironmentVariableW(wz(wname), b, n); });
  }
  static String tempPath() {
    return windowsString([](wchar_t* b, DWORD n) { return GetTempPathW(n, b); });
  }
  static String windowsDir() {
    return windowsString([](wchar_t* b, DWORD n) { return GetWindowsDirectoryW(b, n); });
  }
  static String longPath(const String& p) {
    return windowsString([&](wchar_t* b, DWORD n) { return GetLongPathNameW(wz(p), b, n); });
  }
  static bool createDir(const String& p) { return CreateDirectoryW(wz(p), nullptr) != 0; }
  static bool removeDir(const String& p) { return RemoveDirectoryW(wz(p)) != 0; }
  static bool exists(const String& p) { return pathExistsWide(p); }
  static bool hasQuestionMark(const String& p) { return p.find(u'?') != String::npos; }
};

template <typename T>
bool writable(const typename T::String& path) {
  typename T::String probe = path;
  probe += T::lit("\\wrl_w_testdir");
  T::removeDir(probe);  // a probe folder left over by an earlier run
  if (!T::createDir(probe)) return false;
  const bool exists = T::exists(probe);
  T::removeDir(probe);
  return exists;
}

template <typename T>
bool usable(const typename T::String& path, bool create, bool rejectQuestionMark) {
  if (path.empty()) return false;
  if (create) T::createDir(path);
  if (rejectQuestionMark) {
    // When the long form cannot be had the writability test decides.
    typename T::String longForm = T::longPath(path);
    if (T::hasQuestionMark(longForm)) return false;
  }
  return writable<T>(path);
}

template <typename T>
typename T::String firstUsableFolder() {
  using S = typename T::String;
  const S tempPath = T::tempPath();
  const S userProfile = T::env("USERPROFILE");
  const S homeDrive = T::env("HOMEDRIVE");
  const S homePath = T::env("HOMEPATH");
  const S windowsDir = T::windowsDir();
  const S profileTemp = userProfile.empty() ? S() : userProfile + T::lit("\\AppData\\Local\\Temp");
  const S home = (homeDrive.empty() || homePath.empty()) ? S() : homeDrive + homePath;
  const S windowsTemp = windowsDir.empty() ? S() : windowsDir + T::lit("\\temp");

  struct Entry {
    S path;
    bool create;
    bool rejectQuestionMark;
  };
  const Entry candidates[] = {
      {tempPath, true, true},     {profileTemp, false, true},     {home, false, true},
      {windowsTemp, false, false}, {T::lit("c:\\temp"), false, false},
      {T::lit("c:\\tmp"), false, false}, {windowsDir, false, false},
      {T::lit("c:\\tmp"), true, false}, {tempPath, true, false},
      {profileTemp, false, false},  {home, false, false},
  };
  for (const Entry& entry : candidates)
    if (usable<T>(entry.path, entry.create, entry.rejectQuestionMark)) return entry.path;
  return S();
}

}  // namespace

std::string& launcherTempDirectory() {
  static std::string* path = new std::string;  // never destroyed, as all process-wide state
  return *path;
}

bool isWritableFolder(const std::string& path) { return writable<Narrow>(path); }
bool isWritableFolderW(const WString& path) { return writable<Wide>(path); }

bool isUsableFolder(const std::string& path, bool create, bool rejectQuestionMark) {
  return usable<Narrow>(path, create, rejectQuestionMark);
}
bool isUsableFolderW(const WString& path, bool create, bool rejectQuestionMark) {
  return usable<Wide>(path, create, rejectQuestionMark);
}

std::string tempFolder() {
  std::string folder = firstUsableFolder<Narrow>();
  if (folder.empty()) fatalConfigMessage(kMsgNoTempFolder);
  return folder;
}

WString tempFolderW(bool fatal) {
  WString folder = firstUsableFolder<Wide>();
  if (folder.empty() && fatal) fatalConfigMessage(kMsgNoTempFolder);
  return folder;
}
