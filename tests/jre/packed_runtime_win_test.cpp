// Preparing a runtime whose class archives are packed: unpacking with the
// runtime's own tool, the notice on standard output, the log lines.
#include "jre/packed_runtime.h"

#include "diag/report.h"
#include "launcher_harness_win.h"
#include "launcher_log_win.h"
#include "payload/config_items.h"
#include "payload/config_store.h"
#include "payload/temp_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using launcher_log_test::LogTail;

// A runtime home with the fixture unpack tool as bin\unpack200.exe.
class PackedHome {
 public:
  explicit PackedHome(bool withTool = true) {
    CreateDirectoryW(folder_.file(L"bin").c_str(), nullptr);
    CreateDirectoryW(folder_.file(L"lib").c_str(), nullptr);
    CreateDirectoryW(folder_.file(L"lib\\ext").c_str(), nullptr);
    if (withTool) {
      const std::wstring tool = buildDirectory() + L"\\fake_unpack200.exe";
      EXPECT_TRUE(CopyFileW(tool.c_str(), folder_.file(L"bin\\unpack200.exe").c_str(), FALSE));
    }
  }
  std::string home() const { return narrowUtf8(folder_.path()); }
  std::string path(const std::string& relative) const { return home() + "\\" + relative; }
  void add(const std::string& relative, const std::string& bytes = "packed") const {
    ASSERT_TRUE(writeWholeFile(wideUtf8(path(relative)), bytes)) << relative;
  }
  bool exists(const std::string& relative) const {
    return GetFileAttributesA(path(relative).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  std::optional<std::string> read(const std::string& relative) const {
    return readWholeFile(wideUtf8(path(relative)));
  }
  std::wstring scratch(const std::wstring& name) const { return folder_.file(name); }

 private:
  TestFolder folder_;
};

// Runs the call with standard output going into a file and returns what was written.
std::string standardOutputOf(const PackedHome& home, const std::function<void()>& call) {
  static int counter = 0;
  const std::wstring file = home.scratch(L"stdout_" + std::to_wstring(++counter) + L".txt");
  HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(out, INVALID_HANDLE_VALUE);
  fflush(stdout);
  HANDLE previous = GetStdHandle(STD_OUTPUT_HANDLE);
  SetStdHandle(STD_OUTPUT_HANDLE, out);
  call();
  SetStdHandle(STD_OUTPUT_HANDLE, previous);
  CloseHandle(out);
  return readWholeFile(file).value_or("<unreadable>");
}

std::size_t count(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

std::ptrdiff_t indexOf(const std::vector<std::string>& lines, const std::string& line) {
  auto it = std::find(lines.begin(), lines.end(), line);
  return it == lines.end() ? -1 : it - lines.begin();
}

TEST(PackedRuntime, PackedArchiveIsUnpackedOnceAndItsPackedFileDeleted) {
  PackedHome home;
  home.add("lib\\rt.jar.pack");
  const std::string packed = home.path("lib\\rt.jar.pack");
  const std::string archive = home.path("lib\\rt.jar");
  const std::string commandLine = "-r \"" + packed + "\" \"" + archive + "\"";

  LogTail log;
  EXPECT_EQ(standardOutputOf(home, [&] { prepareRuntime(home.home()); }), "Preparing JRE ...\n");
  const std::vector<std::string> expected = {"checking " + archive,
                                             "Unpacking JRE",
                                             home.path("bin\\unpack200.exe"),
                                             commandLine,
                                             "waiting for unpack200 to finish",
                                             "unpack done",
                                             "Unpacking JRE done"};
  EXPECT_EQ(log.lines(), expected);
  EXPECT_FALSE(home.exists("lib\\rt.jar.pack"));
  // The tool writes the command line it was given into the archive: no program
  // name in front of the arguments.
  EXPECT_EQ(home.read("lib\\rt.jar"), commandLine);

  // A second preparation finds the archive and only checks it.
  LogTail again;
  home.add("lib\\rt.jar.pack");  // as if it had come back: the archive decides
  EXPECT_EQ(standardOutputOf(home, [&] { prepareRuntime(home.home()); }), "");
  EXPECT_EQ(again.lines(), std::vector<std::string>{"checking " + archive});
  EXPECT_TRUE(home.exists("lib\\rt.jar.pack"));
}

TEST(PackedRuntime, NoticeIsGivenOnceForLibAndLibExtTogether) {
  PackedHome home;
  home.add("lib\\rt.jar.pack");
  home.add("lib\\ext\\a.jar.pack");
  home.add("lib\\ext\\b.jar.pack");

  LogTail log;
  EXPECT_EQ(standardOutputOf(home, [&] { prepareRuntime(home.home()); }), "Preparing JRE ...\n");
  const std::vector<std::string> lines = log.lines();
  EXPECT_EQ(count(lines, "Unpacking JRE"), 1u);
  EXPECT_EQ(count(lines, "waiting for unpack200 to finish"), 3u);
  EXPECT_EQ(count(lines, "unpack done"), 3u);
  EXPECT_EQ(count(lines, "Unpacking JRE done"), 1u);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "Unpacking JRE done");
  EXPECT_EQ(indexOf(lines, "checking " + home.path("lib\\rt.jar")), 0);
  EXPECT_EQ(indexOf(lines, "Unpacking JRE"), 1);
  EXPECT_LT(indexOf(lines, "checking " + home.path("lib\\rt.jar")),
            indexOf(lines, "checking " + home.path("lib\\ext\\a.jar")));
  for (const char* name : {"lib\\rt.jar", "lib\\ext\\a.jar", "lib\\ext\\b.jar"}) {
    EXPECT_TRUE(home.exists(name)) << name;
    EXPECT_FALSE(home.exists(std::string(name) + ".pack")) << name;
  }
}

TEST(PackedRuntime, ExistingArchiveLeavesThePackedFileAlone) {
  PackedHome home;
  home.add("lib\\ext\\a.jar.pack");
  home.add("lib\\ext\\a.jar", "original");
  LogTail log;
  EXPECT_EQ(standardOutputOf(home, [&] { prepareRuntime(home.home()); }), "");
  EXPECT_EQ(log.lines(), std::vector<std::string>{"checking " + home.path("lib\\ext\\a.jar")});
  EXPECT_EQ(home.read("lib\\ext\\a.jar.pack"), "packed");
  EXPECT_EQ(home.read("lib\\ext\\a.jar"), "original");
}

TEST(PackedRuntime, HomeWithoutPackedArchivesLogsNothing) {
  struct Case {
    const char* what;
    std::function<void(const PackedHome&)> layout;
  };
  const Case cases[] = {
      {"empty lib folders", [](const PackedHome&) {}},
      {"plain archives", [](const PackedHome& h) {
         h.add("lib\\rt.jar");
         h.add("lib\\ext\\a.jar");
         h.add("lib\\notes.pack");
       }},
      {"a folder named like a packed archive",
       [](const PackedHome& h) { CreateDirectoryA(h.path("lib\\odd.jar.pack").c_str(), nullptr); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PackedHome home;
    c.layout(home);
    LogTail log;
    EXPECT_EQ(standardOutputOf(home, [&] { prepareRuntime(home.home()); }), "");
    EXPECT_EQ(log.lines(), std::vector<std::string>{});
  }
  // A home without lib at all.
  TestFolder bare;
  LogTail log;
  prepareRuntime(narrowUtf8(bare.path()));
  EXPECT_EQ(log.lines(), std::vector<std::string>{});
}

TEST(PackedRuntime, ToolThatLeavesNoArchiveStillCostsThePackedFile) {
  PackedHome home;
  home.add("lib\\rt.jar.pack", "no archive");  // the fixture tool writes nothing then
  LogTail log;
  standardOutputOf(home, [&] { prepareRuntime(home.home()); });
  const std::vector<std::string> lines = log.lines();
  EXPECT_EQ(count(lines, "unpack done"), 1u);
  EXPECT_EQ(lines.back(), "Unpacking JRE done");
  EXPECT_FALSE(home.exists("lib\\rt.jar.pack"));
  EXPECT_FALSE(home.exists("lib\\rt.jar"));
}

TEST(PackedRuntime, MissingPackedFileIsOnlyLogged) {
  PackedHome home;
  LogTail log;
  runUnpack200(home.home(), home.path("lib\\gone.jar.pack"));
  EXPECT_EQ(log.lines(), std::vector<std::string>{"pack path doesn't exists"});
  EXPECT_FALSE(home.exists("lib\\gone.jar"));
}

TEST(PackedRuntime, FlagAlreadySetSuppressesTheNotice) {
  PackedHome home;
  home.add("lib\\ext\\a.jar.pack");
  bool announced = true;
  LogTail log;
  EXPECT_EQ(standardOutputOf(home, [&] { unpackPackedJars(home.home(), "lib\\ext", announced); }),
            "");
  EXPECT_TRUE(announced);
  EXPECT_EQ(count(log.lines(), "Unpacking JRE"), 0u);
  EXPECT_TRUE(home.exists("lib\\ext\\a.jar"));
}

// The process ends when the tool cannot be started, so this runs in a child.
TEST(PackedRuntimeDeathTest, MissingUnpackToolEndsWithInternalError20) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        PackedHome home(false);
        home.add("lib\\rt.jar.pack");
        // The end of the process removes the launcher temporary directory: here the home.
        launcherTempDirectory() = home.home();
        configStore().wide[kMsgInternalError] = u"Internal error {0}";
        useConsoleErrors();
        // Straight to the tool: an open listing of lib would keep that folder alive.
        runUnpack200(home.home(), home.path("lib\\rt.jar.pack"));
      },
      ::testing::ExitedWithCode(1), "Internal error 20");
}

}  // namespace
