// The temporary folder tests, temporary names and the emptying of the launcher
// temporary directory, run in-process against the real file system.
#include "payload/temp_files.h"

#include "scratch_folder_win.h"
#include "util/paths.h"
#include "util/win_text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ctime>

namespace {

using scratch::exists;
using scratch::Folder;
using scratch::isDirectory;

// Both forms of the folder tests, side by side.
struct FolderTests {
  const char* name;
  bool (*writable)(const std::string&);
  bool (*usable)(const std::string&, bool, bool);
};

const FolderTests kForms[] = {
    {"8-bit", [](const std::string& p) { return isWritableFolder(p); },
     [](const std::string& p, bool c, bool q) { return isUsableFolder(p, c, q); }},
    {"UTF-16", [](const std::string& p) { return isWritableFolderW(widenBytewise(p)); },
     [](const std::string& p, bool c, bool q) { return isUsableFolderW(widenBytewise(p), c, q); }},
};

bool runningUnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

TEST(TempFolder, WritableFolderPassesAndLeavesNoProbe) {
  for (const FolderTests& form : kForms) {
    SCOPED_TRACE(form.name);
    Folder folder;
    EXPECT_TRUE(form.writable(folder.path()));
    EXPECT_FALSE(exists(folder / "wrl_w_testdir"));
  }
}

TEST(TempFolder, LeftoverProbeFolderDoesNotMakeAFolderFail) {
  for (const FolderTests& form : kForms) {
    SCOPED_TRACE(form.name);
    Folder folder;
    ASSERT_TRUE(CreateDirectoryA((folder / "wrl_w_testdir").c_str(), nullptr));
    EXPECT_TRUE(form.writable(folder.path()));
    EXPECT_FALSE(exists(folder / "wrl_w_testdir"));
  }
}

TEST(TempFolder, MissingFolderIsNotWritable) {
  for (const FolderTests& form : kForms) {
    SCOPED_TRACE(form.name);
    Folder folder;
    EXPECT_FALSE(form.writable(folder / "missing"));
    EXPECT_FALSE(exists(folder / "missing"));
  }
}

TEST(TempFolder, ReadOnlyFolderIsNotWritable) {
  // Under Wine the tests run as a user who may write everywhere on the disk, and
  // Windows ignores the read-only attribute of folders; /proc takes no new
  // folders from anybody.
  if (!runningUnderWine() || !isDirectory("Z:\\proc")) GTEST_SKIP() << "no read-only folder";
  for (const FolderTests& form : kForms) {
    SCOPED_TRACE(form.name);
    EXPECT_FALSE(form.writable("Z:\\proc"));
    EXPECT_FALSE(form.usable("Z:\\proc", false, false));
  }
}

TEST(TempFolder, UsableFolderFlags) {
  for (const FolderTests& form : kForms) {
    SCOPED_TRACE(form.name);
    Folder folder;
    EXPECT_FALSE(form.usable("", true, false));
    EXPECT_TRUE(form.usable(folder.path(), false, true));
    EXPECT_FALSE(form.usable(folder / "later", false, false));
    EXPECT_FALSE(exists(folder / "later"));
    // With create the folder is made first, then tested.
    EXPECT_TRUE(form.usable(folder / "later", true, false));
    EXPECT_TRUE(isDirectory(folder / "later"));
  }
}

// A folder whose long name has no 8-bit spelling, reachable in 8-bit form only
// through its short name; nothing when the file system makes no short names.
struct UnicodeFolder {
  std::string shortPath;
  WString widePath;
};

std::optional<UnicodeFolder> makeUnicodeFolder(const Folder& parent) {
  const WString wide = widenPath(parent.path()) + u"\\\u4E2D\u6587\u0416";
  if (!CreateDirectoryW(wz(wide), nullptr)) return std::nullopt;
  const WString shortWide =
      windowsString([&](wchar_t* b, DWORD n) { return GetShortPathNameW(wz(wide), b, n); });
  std::optional<std::string> shortPath = narrowExact(shortWide);
  if (shortWide.empty() || !shortPath) return std::nullopt;
  return UnicodeFolder{*shortPath, wide};
}

TEST(TempFolder, QuestionMarkTestRefusesAFolderWithoutAnsiLongName) {
  Folder folder;
  std::optional<UnicodeFolder> unicode = makeUnicodeFolder(folder);
  if (!unicode) GTEST_SKIP() << "no short name for a folder with a non-ANSI name";
  // The 8-bit long form shows the characters as "?".
  EXPECT_FALSE(isUsableFolder(unicode->shortPath, false, true));
  EXPECT_TRUE(isUsableFolder(unicode->shortPath, false, false));
  // The UTF-16 long form has the real characters.
  EXPECT_TRUE(isUsableFolderW(unicode->widePath, false, true));
}

TEST(TempFolder, FirstCandidateIsTheSystemTemporaryPath) {
  Folder folder;
  scratch::EnvironmentOverride tmp("TMP", folder.path());
  EXPECT_EQ(tempFolder(), folder.path() + "\\");
  EXPECT_EQ(tempFolderW(true), widenBytewise(folder.path() + "\\"));
}

TEST(TempFolder, NonAnsiTemporaryPathIsSkippedInEightBitFormOnly) {
  Folder folder;
  std::optional<UnicodeFolder> unicode = makeUnicodeFolder(folder);
  if (!unicode) GTEST_SKIP() << "no short name for a folder with a non-ANSI name";
  scratch::EnvironmentOverride tmp("TMP", unicode->shortPath);
  const std::string narrow = tempFolder();
  EXPECT_FALSE(narrow.empty());
  EXPECT_NE(narrow, unicode->shortPath + "\\");
  EXPECT_EQ(tempFolderW(false), widenPath(unicode->shortPath + "\\"));
}

TEST(TempFiles, MakeTempFileNameCreatesAnEmptyFileInTheTemporaryFolder) {
  Folder folder;
  scratch::EnvironmentOverride tmp("TMP", folder.path());
  const std::string first = makeTempFileName();
  const std::string second = makeTempFileName();
  EXPECT_NE(first, second);
  for (const std::string& name : {first, second}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(name.rfind(folder.path() + "\\wrl", 0), 0u);
    std::string extension = name.substr(name.size() - 4);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(extension, ".tmp");
    EXPECT_EQ(scratch::readFile(name), std::string());
  }
}

TEST(TempFiles, LauncherTempDirectoryIsTheTempFileNameWithDirAndTime) {
  Folder folder;
  scratch::EnvironmentOverride tmp("TMP", folder.path());
  const auto before = static_cast<long long>(std::time(nullptr));
  createLauncherTempDir();
  const auto after = static_cast<long long>(std::time(nullptr));
  const std::string dir = launcherTempDirectory();
  launcherTempDirectory().clear();
  ASSERT_TRUE(isDirectory(dir)) << dir;
  const std::size_t cut = dir.rfind("_dir");
  ASSERT_NE(cut, std::string::npos) << dir;
  // The empty temporary file stays beside the directory.
  EXPECT_EQ(scratch::readFile(dir.substr(0, cut)), std::string()) << dir;
  const long long time = std::stoll(dir.substr(cut + 4));
  EXPECT_GE(time, before);
  EXPECT_LE(time, after);
}

// Builds dir with files at three levels and empty folders at two.
void buildTree(const std::string& dir) {
  for (const char* folder : {"lib", "lib\\deep", "lib\\empty", "solo", "full"})
    ASSERT_TRUE(CreateDirectoryA((dir + "\\" + folder).c_str(), nullptr)) << folder;
  for (const char* file : {"f1.dll", "lib\\f2.jar", "lib\\deep\\f3.txt", "full\\f4"})
    ASSERT_TRUE(scratch::writeFile(dir + "\\" + file, "x")) << file;
}

TEST(EmptyDirectory, RecursionReachesOneLevelOfSubfolders) {
  for (const char* suffix : {"", "\\"}) {
    SCOPED_TRACE(std::string("dir suffix ") + suffix);
    Folder folder;
    buildTree(folder.path());
    emptyDirectory(folder.path() + suffix, true);
    EXPECT_TRUE(isDirectory(folder.path()));  // the directory itself stays
    EXPECT_FALSE(exists(folder / "f1.dll"));
    EXPECT_FALSE(exists(folder / "lib\\f2.jar"));
    EXPECT_FALSE(exists(folder / "lib\\empty"));  // empty two levels down: removed
    EXPECT_TRUE(exists(folder / "lib\\deep\\f3.txt"));  // files two levels down stay
    EXPECT_TRUE(isDirectory(folder / "lib"));            // and keep their folders
    EXPECT_FALSE(exists(folder / "solo"));
    EXPECT_FALSE(exists(folder / "full"));  // emptied, then removed
  }
}

TEST(EmptyDirectory, WithoutRecursionOnlyFilesAndEmptyFoldersGo) {
  Folder folder;
  buildTree(folder.path());
  emptyDirectory(folder.path(), false);
  EXPECT_FALSE(exists(folder / "f1.dll"));
  EXPECT_FALSE(exists(folder / "solo"));
  EXPECT_TRUE(exists(folder / "full\\f4"));
  EXPECT_TRUE(exists(folder / "lib\\f2.jar"));
  EXPECT_TRUE(exists(folder / "lib\\empty"));
}

TEST(EmptyDirectory, PathsBeginningWithADotAreLeftAlone) {
  Folder folder;
  buildTree(folder.path());
  char saved[MAX_PATH + 1] = {};
  GetCurrentDirectoryA(sizeof saved, saved);
  ASSERT_TRUE(SetCurrentDirectoryA(folder.path().c_str()));
  emptyDirectory(".", true);
  emptyDirectory(".\\lib", true);
  emptyDirectory("", true);
  SetCurrentDirectoryA(saved);
  EXPECT_TRUE(exists(folder / "f1.dll"));
  EXPECT_TRUE(exists(folder / "lib\\f2.jar"));
  EXPECT_TRUE(exists(folder / "solo"));
}

TEST(EmptyDirectory, MissingDirectoryIsHarmless) {
  Folder folder;
  emptyDirectory(folder / "missing", true);
  EXPECT_FALSE(exists(folder / "missing"));
}

}  // namespace
