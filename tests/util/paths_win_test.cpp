// The path helpers against the real file system, in-process: the executable's
// path and directory forms, resolution, full paths, lists, existence and the
// conversions in the file code page.
#include "util/paths.h"

#include "util/win_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string lower(std::string text) {
  asciiLowerInPlace(text);
  return text;
}

// A fresh folder under the temporary folder, removed (one level deep) afterwards.
class ScratchFolder {
 public:
  ScratchFolder() {
    static int counter = 0;
    WString temp = windowsString([](wchar_t* b, DWORD n) { return GetTempPathW(n, b); });
    path_ = temp + u"wrl_paths_" + widenBytewise(std::to_string(GetCurrentProcessId())) + u"_" +
            widenBytewise(std::to_string(counter++));
    CreateDirectoryW(wz(path_), nullptr);
  }
  ~ScratchFolder() {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(wz(path_ + u"\\*"), &entry);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const WString child = path_ + u"\\" + fromWide(entry.cFileName);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveDirectoryW(wz(child));
        else
          DeleteFileW(wz(child));
      } while (FindNextFileW(search, &entry));
      FindClose(search);
    }
    RemoveDirectoryW(wz(path_));
  }
  const WString& path() const { return path_; }

 private:
  WString path_;
};

TEST(ExecutablePaths, BothFormsNameTheRunningExecutable) {
  const WString module =
      windowsString([](wchar_t* b, DWORD n) { return GetModuleFileNameW(nullptr, b, n); });
  const WString longForm =
      windowsString([&](wchar_t* b, DWORD n) { return GetLongPathNameW(wz(module), b, n); });
  WString expected = longForm;
  collapseBackslashesWide(expected);
  EXPECT_EQ(executablePathWide(), expected);
  // The test executable lives under an ANSI-spellable folder: the 8-bit form is
  // the same path.
  EXPECT_EQ(widenPath(executablePath()), executablePathWide());
  EXPECT_TRUE(endsWithIgnoreAsciiCase(executablePath(), ".exe"));
  EXPECT_EQ(&executablePath(), &executablePath());  // computed once
}

TEST(ExecutablePaths, DirectoryFormsEndWithABackslashAndPrefixThePath) {
  const std::string& dir = executableDirectory();
  const WString& wide = executableDirectoryWide();
  ASSERT_FALSE(dir.empty());
  ASSERT_FALSE(wide.empty());
  EXPECT_EQ(dir.back(), '\\');
  EXPECT_EQ(wide.back(), u'\\');
  EXPECT_EQ(executablePath().rfind(dir, 0), 0u);
  EXPECT_EQ(executablePath().find('\\', dir.size()), std::string::npos);
  EXPECT_EQ(executablePathWide().rfind(wide, 0), 0u);
  EXPECT_EQ(executableDirectoryNarrowSafe(), widenBytewise(dir));
}

struct ResolveCase {
  const char* name;
  const char* path;
  bool relative;     // the executable directory goes in front
  const char* rest;  // what follows it (or the whole result when absolute)
};

const ResolveCase kResolveCases[] = {
    {"plain relative", "lib\\\\x.jar", true, "lib\\x.jar"},
    {"root-relative", "\\tools\\x.jar", true, "tools\\x.jar"},
    {"drive-relative", "C:tools", true, "C:tools"},
    {"quoted absolute", "\"C:\\\\Program Files\\x.jar\"", false, "\"C:\\Program Files\\x.jar\""},
    {"quoted relative", "\"my lib\\x.jar\"", true, "\"my lib\\x.jar\""},
    {"UNC", "\\\\server\\share\\\\dir", false, "\\\\server\\share\\dir"},
    {"empty", "", true, ""},
    {"dots kept", "a\\..\\b", true, "a\\..\\b"},
    {"absolute", "D:\\x\\\\y", false, "D:\\x\\y"},
};

TEST(ResolvePath, EdgeCasesInAllForms) {
  for (const ResolveCase& c : kResolveCases) {
    const std::string expected = (c.relative ? executableDirectory() : std::string()) + c.rest;
    EXPECT_EQ(resolvePath(c.path), expected) << c.name;
    const WString path = widenBytewise(c.path);
    EXPECT_EQ(resolvePathWide(path, true),
              (c.relative ? executableDirectoryNarrowSafe() : WString()) + widenBytewise(c.rest))
        << c.name;
    EXPECT_EQ(resolvePathWide(path, false),
              (c.relative ? executableDirectoryWide() : WString()) + widenBytewise(c.rest))
        << c.name;
  }
}

TEST(ResolvePath, BaseFileGivesTheFolderThatHoldsIt) {
  const std::string base = "C:\\base\\sub\\\\opts.vmoptions";
  EXPECT_EQ(resolvePath("x.jar", &base), "C:\\base\\sub\\x.jar");
  EXPECT_EQ(resolvePath("..\\y", &base), "C:\\base\\sub\\..\\y");
  EXPECT_EQ(resolvePath("D:\\abs", &base), "D:\\abs");
  const std::string folder = "C:\\base\\sub\\";  // no file-name part: the folder itself
  EXPECT_EQ(resolvePath("x", &folder), "C:\\base\\sub\\x");
  const WString wideBase = u"C:\\b\u00e4se\\\u03a9\\opts.txt";
  EXPECT_EQ(resolvePathWide(u"x.jar", false, &wideBase), u"C:\\b\u00e4se\\\u03a9\\x.jar");
  EXPECT_EQ(resolvePathWide(u"x.jar", true, &wideBase), u"C:\\b\u00e4se\\\u03a9\\x.jar");
  EXPECT_EQ(resolvePathWide(u"\\\\s\\h", true, &wideBase), u"\\\\s\\h");
}

TEST(FullPath, NormalisesAndLowerCasesUnlessAskedToKeepCase) {
  const std::string& dir = executableDirectory();
  EXPECT_EQ(fullPath("Lib\\..\\X.Jar", true), dir + "X.Jar");
  EXPECT_EQ(fullPath("Lib\\..\\X.Jar", false), lower(dir) + "x.jar");
  EXPECT_EQ(fullPath("D:\\A\\.\\\\B\\..\\C", true), "D:\\A\\C");
  EXPECT_EQ(fullPath("\\\\Srv\\Share\\\\X", false), "\\\\srv\\share\\x");
  EXPECT_EQ(fullPath("", true), dir);

  const WString& wdir = executableDirectoryWide();
  EXPECT_EQ(fullPathWide(u"Lib\\..\\X.Jar", false, true), wdir + u"X.Jar");
  WString lowered = wdir;
  asciiLowerInPlace(lowered);
  EXPECT_EQ(fullPathWide(u"Lib\\.\\X.Jar", false, false), lowered + u"lib\\x.jar");
  EXPECT_EQ(fullPathWide(u"Data", true, true), executableDirectoryNarrowSafe() + u"Data");
  // Only A..Z change case.
  EXPECT_EQ(fullPathWide(u"D:\\\u00c4\u03a9X", false, false), u"d:\\\u00c4\u03a9x");
}

TEST(ResolvePathList, ResolvesEachElementAndDropsEmptyOnes) {
  const std::string& dir = executableDirectory();
  EXPECT_EQ(resolvePathList("lib;;D:\\abs;\\\\srv\\s\\\\x;"), dir + "lib;D:\\abs;\\\\srv\\s\\x");
  EXPECT_EQ(resolvePathList(""), "");
  EXPECT_EQ(resolvePathList(";;"), "");
  EXPECT_EQ(resolvePathList("\\bin"), dir + "bin");
}

TEST(PathCapacity, OverLongResultsAreCut) {
  const std::string longName(7000, 'a');
  const WString longWide(7000, u'a');
  const std::size_t limit = kTextCapacity - 1;
  EXPECT_EQ(resolvePath(longName).size(), limit);
  EXPECT_EQ(resolvePath("D:\\" + longName).size(), limit);
  EXPECT_EQ(resolvePathWide(longWide, false).size(), limit);
  EXPECT_EQ(resolvePathWide(longWide, true).size(), limit);
  EXPECT_EQ(fullPath(longName, true).size(), limit);
  EXPECT_EQ(fullPathWide(longWide, false, false).size(), limit);
  const std::string list = std::string(3000, 'b') + ";" + std::string(3000, 'c');
  const std::string resolved = resolvePathList(list);
  EXPECT_EQ(resolved.size(), limit);
  EXPECT_EQ(resolved.rfind(executableDirectory() + std::string(3000, 'b') + ";", 0), 0u);
  // Just below the limit nothing is cut.
  const std::string fits(limit - executableDirectory().size(), 'd');
  EXPECT_EQ(resolvePath(fits), executableDirectory() + fits);
}

TEST(PathExists, DriveRootSpellingsNeedNoSearch) {
  // Q: is not mapped in the test prefix: only the root spellings "exist".
  for (const char* path : {"Q:\\", "Q:\\.", "Q:\\.\\."}) {
    EXPECT_TRUE(pathExists(path)) << path;
    EXPECT_TRUE(pathExistsWide(widenBytewise(path))) << path;
  }
  for (const char* path : {"Q:", "Q:\\x", "Q:\\.\\", ""}) {
    EXPECT_FALSE(pathExists(path)) << path;
    EXPECT_FALSE(pathExistsWide(widenBytewise(path))) << path;
  }
}

TEST(PathExists, ProbeFindsFilesAndFoldersWithTheirWriteTime) {
  ScratchFolder folder;
  const WString file = folder.path() + u"\\f\u00e9.txt";
  {
    HANDLE h = CreateFileW(wz(file), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME t{0x12345678u, 0x01D00000u};
    SetFileTime(h, nullptr, nullptr, &t);
    CloseHandle(h);
  }
  std::uint64_t written = 0;
  EXPECT_TRUE(probePathWide(file, &written));
  EXPECT_EQ(written, 0x01D0000012345678ull);
  written = 0;
  const std::string narrowFile = narrowCopy(file);  // é is in the ANSI code page
  EXPECT_TRUE(probePath(narrowFile, &written));
  EXPECT_EQ(written, 0x01D0000012345678ull);
  EXPECT_TRUE(pathExists(narrowFile));
  EXPECT_TRUE(pathExistsWide(folder.path()));
  EXPECT_TRUE(probePathWide(folder.path()));

  std::uint64_t untouched = 7;
  EXPECT_FALSE(probePathWide(folder.path() + u"\\missing", &untouched));
  EXPECT_FALSE(probePath(narrowCopy(folder.path()) + "\\missing", &untouched));
  EXPECT_EQ(untouched, 7u);
}

TEST(PathText8Bit, CollapseAndLowerCaseWorkThroughTheFileCodePage) {
  std::string path = "C:\\\\Gr\xFC\xDF\\\\\\X";  // ü, ß in the ANSI code page
  collapseBackslashes(path);
  EXPECT_EQ(path, "C:\\Gr\xFC\xDF\\X");
  lowerCasePath(path);
  EXPECT_EQ(path, "c:\\gr\xFC\xDF\\x");
  path = "\\\\\\srv\\\\s";
  collapseBackslashes(path);
  EXPECT_EQ(path, "\\\\srv\\s");
  path = "";
  collapseBackslashes(path);
  EXPECT_EQ(path, "");
  std::string upperU = "\xDC";  // Ü stays: only A..Z change
  lowerCasePath(upperU);
  EXPECT_EQ(upperU, "\xDC");
}

TEST(PathConversions, FileCodePageRoundTripsAndDetection) {
  EXPECT_EQ(fileCodePage(), static_cast<unsigned>(CP_ACP));
  EXPECT_EQ(narrowExact(u"C:\\Gr\u00fc\u00dfe"), std::optional<std::string>("C:\\Gr\xFC\xDF"
                                                                            "e"));
  // Greek is not in code page 1252; no look-alike ("O" for omega) either.
  EXPECT_EQ(narrowExact(u"C:\\\u03a9"), std::nullopt);
  EXPECT_EQ(narrowExact(u"\u4e2d"), std::nullopt);
  EXPECT_EQ(narrowExact(u""), std::optional<std::string>(""));
  EXPECT_EQ(narrowCopy(u"a\u03a9b"), "a?b");
  EXPECT_EQ(narrowCopy(u""), "");
  EXPECT_EQ(widenPath("Gr\xFC\xDF"
                      "e"),
            u"Gr\u00fc\u00dfe");
  EXPECT_EQ(widenPath("\x80"), u"\u20ac");  // unlike widenBytewise
  EXPECT_EQ(widenBytewise("\x80"), u"\u0080");
}

}  // namespace
