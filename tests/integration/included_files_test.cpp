// The real launcher extracting the files of its payload into a fresh temporary
// directory, and removing that directory again when it ends through a fatal
// error or exit code 83.
#include "launcher_harness_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

const std::map<std::wstring, std::wstring> kLog = {{L"KESTREL_LOG", L"yes"}};

payload::PayloadBuilder basePayload(const std::string& count, const std::string& names) {
  payload::PayloadBuilder b;
  b.item(107, "0").message(1000, u"Oops").message(1009, u"Internal error {0}");
  b.item(2002, count).item(2003, names);
  return b;
}

// Bytes that include the payload mask and 0x00.
std::string sampleBytes(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 13 + 5) & 0xFF);
  bytes[0] = '\xA7';
  bytes[1] = '\0';
  return bytes;
}

// The launcher temporary directory a run announced, empty when none.
std::string announcedDirectory(const std::vector<std::string>& lines) {
  const std::string prefix = "Temp dir3: ";
  for (const std::string& line : lines)
    if (line.rfind(prefix, 0) == 0) return line.substr(prefix.size());
  return std::string();
}

bool exists(const std::string& path) {
  return GetFileAttributesW(wideUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Every expected line, in this order (other lines may come between them).
void expectInOrder(const std::vector<std::string>& lines, const std::vector<std::string>& expected) {
  auto at = lines.begin();
  for (const std::string& line : expected) {
    auto found = std::find(at, lines.end(), line);
    ASSERT_NE(found, lines.end()) << "missing or out of order: " << line;
    at = found + 1;
  }
}

bool hasLine(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool hasLineStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
}

// Names of the entries of the child's temporary folder that are directories.
std::set<std::string> directoriesIn(const std::wstring& folder) {
  std::set<std::string> names;
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = entry.cFileName;
    if (name != L"." && name != L".." && (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      names.insert(narrowUtf8(name));
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  return names;
}

TEST(IncludedFiles, TwoFilesAreExtractedAndRemovedAtTheEnd) {
  const std::string small = sampleBytes(40);
  const std::string big = sampleBytes(13000);
  TestFolder folder;
  LauncherUnderTest app(folder, basePayload("2", "a.dll;lib\\b.jar").file(small).file(big));
  LaunchResult r = app.run({.environment = kLog});
  EXPECT_EQ(r.exitCode, 83u);
  const auto lines = logLines(r.log);
  const std::string dir = announcedDirectory(lines);
  ASSERT_FALSE(dir.empty()) << r.log;
  // A new directory under the temporary folder: the temp file name, "_dir", the time.
  EXPECT_EQ(dir.rfind(narrowUtf8(app.tempDirectory()) + "\\wrl", 0), 0u) << dir;
  EXPECT_NE(dir.find("_dir"), std::string::npos) << dir;

  expectInOrder(lines, {"extracting files", "Included files: 2", "Temp dir3: " + dir,
                        "extracting " + dir + "\\a.dll (size: 40)",
                        "creating directory " + dir + "\\lib",
                        "extracting " + dir + "\\lib\\b.jar (size: 13000)",
                        "extracting files done", "emptying " + dir});
  // exitLauncher(83): the files, the first-level folder and its files, the directory.
  EXPECT_TRUE(hasLine(lines, "attempting to delete " + dir + "\\a.dll"));
  EXPECT_TRUE(hasLine(lines, "attempting to remove " + dir + "\\lib (1)"));
  EXPECT_TRUE(hasLine(lines, "attempting to delete " + dir + "\\lib\\b.jar"));
  EXPECT_FALSE(exists(dir));
  EXPECT_TRUE(directoriesIn(app.tempDirectory()).empty());
}

TEST(IncludedFiles, CountLimitsTheFilesAndEmptyRecordsCount) {
  struct Case {
    std::string count;
    std::string names;
    std::vector<std::string> records;
    std::vector<std::string> extracted;  // "name (size: n)"
    std::vector<std::string> deleted;
    std::vector<std::string> absent;  // names never extracted
  };
  const Case cases[] = {
      {"1", "a.dll;lib\\b.jar", {"abc", "defg"}, {"a.dll (size: 3)"}, {"a.dll"}, {"lib"}},
      // The empty record makes no file but is one of the three.
      {"3",
       "empty.txt;a.dll;c.dll;d.dll",
       {"", "abc", "xy", "zz"},
       {"empty.txt (size: 0)", "a.dll (size: 3)", "c.dll (size: 2)"},
       {"a.dll", "c.dll"},
       {"d.dll"}},
      // The names run out before the count; empty pieces are no names.
      {"3", ";a.dll;;", {"abc"}, {"a.dll (size: 3)"}, {"a.dll"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.count + " of " + c.names);
    payload::PayloadBuilder b = basePayload(c.count, c.names);
    for (const std::string& data : c.records) data.empty() ? b.fileRecord(0, "") : b.file(data);
    TestFolder folder;
    LauncherUnderTest app(folder, b);
    LaunchResult r = app.run({.environment = kLog});
    EXPECT_EQ(r.exitCode, 83u);
    const auto lines = logLines(r.log);
    const std::string dir = announcedDirectory(lines);
    ASSERT_FALSE(dir.empty()) << r.log;
    std::vector<std::string> expected = {"Included files: " + c.count};
    for (const std::string& e : c.extracted) expected.push_back("extracting " + dir + "\\" + e);
    expected.push_back("extracting files done");
    expectInOrder(lines, expected);
    for (const std::string& d : c.deleted)
      EXPECT_TRUE(hasLine(lines, "attempting to delete " + dir + "\\" + d)) << d;
    EXPECT_FALSE(hasLineStartingWith(lines, "attempting to delete " + dir + "\\empty.txt"));
    for (const std::string& a : c.absent) {
      EXPECT_FALSE(r.logContains(dir + "\\" + a)) << a;
    }
    EXPECT_FALSE(exists(dir));
  }
}

TEST(IncludedFiles, NoFilesMeansNoDirectory) {
  for (const char* count : {"0", ""}) {
    SCOPED_TRACE(count);
    TestFolder folder;
    LauncherUnderTest app(folder, basePayload(count, "a.dll").file("abc"));
    LaunchResult r = app.run({.environment = kLog});
    EXPECT_EQ(r.exitCode, 83u);
    const auto lines = logLines(r.log);
    expectInOrder(lines, {"extracting files", "Included files: 0"});
    EXPECT_FALSE(r.logContains("Temp dir3"));
    EXPECT_FALSE(r.logContains("extracting files done"));
    EXPECT_FALSE(r.logContains("emptying"));
    EXPECT_TRUE(directoriesIn(app.tempDirectory()).empty());
  }
}

TEST(IncludedFiles, PayloadCutInsideFileDataIsInternalError16) {
  TestFolder folder;
  LauncherUnderTest app(folder,
                        basePayload("2", "a.dll;big.bin").file("abc").fileRecord(13000, sampleBytes(7000)));
  LaunchResult r = app.run({.environment = kLog});
  EXPECT_EQ(r.exitCode, 1u);
  EXPECT_EQ(r.err.rfind("Internal error 16\n", 0), 0u) << r.err;
  const auto lines = logLines(r.log);
  const std::string dir = announcedDirectory(lines);
  ASSERT_FALSE(dir.empty()) << r.log;
  // 6000 bytes, then the 1000 that remain, then nothing.
  expectInOrder(lines, {"extracting " + dir + "\\big.bin (size: 13000)"});
  auto readFailed = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
    return l.rfind("ERROR: ReadFile failed 0 ", 0) == 0;
  });
  ASSERT_NE(readFailed, lines.end()) << r.log;
  EXPECT_EQ(readFailed->substr(readFailed->size() - 5), " 7000") << *readFailed;
  expectInOrder(std::vector<std::string>(readFailed, lines.end()),
                {"ERROR: Failed to extract " + dir + "\\big.bin", "emptying " + dir,
                 });
  EXPECT_TRUE(hasLine(lines, "attempting to delete " + dir + "\\big.bin"));
  EXPECT_TRUE(hasLine(lines, "attempting to delete " + dir + "\\a.dll"));
  EXPECT_FALSE(r.logContains("extracting files done"));
  EXPECT_FALSE(exists(dir));
}

TEST(IncludedFiles, NameWithTwoFolderLevelsCreatesOnlyTheFirst) {
  TestFolder folder;
  LauncherUnderTest app(folder, basePayload("1", "x\\y\\z.dll").file("abc"));
  LaunchResult r = app.run({.environment = kLog});
  EXPECT_EQ(r.exitCode, 1u);
  EXPECT_EQ(r.err.rfind("Internal error 11\n", 0), 0u) << r.err;
  const auto lines = logLines(r.log);
  const std::string dir = announcedDirectory(lines);
  ASSERT_FALSE(dir.empty()) << r.log;
  expectInOrder(lines, {"creating directory " + dir + "\\x",
                        "extracting " + dir + "\\x\\y\\z.dll (size: 3)",
                        "attempting to remove " + dir + "\\x (1)"});
  EXPECT_FALSE(exists(dir));
}

// Names from the payload never place a file outside the launcher temporary
// directory: they are refused like a file that cannot be created.
TEST(IncludedFiles, NamesLeadingOutsideTheDirectoryAreRefused) {
  const std::string evil = "wrenlet_refused_" + std::to_string(GetCurrentProcessId()) + ".dll";
  const std::string names[] = {
      "..\\" + evil,
      "lib\\..\\..\\" + evil,
      "../" + evil,
      "\\" + evil,
      "/" + evil,
      "C:\\" + evil,
      "C:" + evil,
      "\\\\localhost\\c$\\" + evil,
      "a.dll;..\\" + evil,  // the first file is extracted, then removed again
  };
  for (const std::string& list : names) {
    SCOPED_TRACE(list);
    const std::string name = list.substr(list.rfind(';') + 1);
    TestFolder folder;
    LauncherUnderTest app(folder, basePayload("2", list).file("abc").file("evil"));
    LaunchResult r = app.run({.environment = kLog});
    EXPECT_EQ(r.exitCode, 1u);
    EXPECT_EQ(r.err.rfind("Internal error 11\n", 0), 0u) << r.err;
    const auto lines = logLines(r.log);
    const std::string dir = announcedDirectory(lines);
    ASSERT_FALSE(dir.empty()) << r.log;
    EXPECT_TRUE(hasLine(lines, "ERROR: refused included file name " + name +
                                   " (outside the temporary directory)"))
        << r.log;
    EXPECT_FALSE(r.logContains(evil + " (size:"));
    EXPECT_FALSE(r.logContains("extracting files done"));
    EXPECT_FALSE(exists(dir));
    for (const std::wstring& place :
         {app.tempDirectory(), folder.path(), std::wstring(L"C:"), std::wstring(L"C:\\users")}) {
      EXPECT_FALSE(exists(narrowUtf8(place) + "\\" + evil)) << narrowUtf8(place);
    }
    EXPECT_TRUE(directoriesIn(app.tempDirectory()).empty());
  }
}

}  // namespace
