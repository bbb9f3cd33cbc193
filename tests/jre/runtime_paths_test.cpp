#include "jre/runtime_paths.h"

#include "jre/runtime_facts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(RuntimePaths, ExecutableNameIsCutByLengthKeepingTheBackslash) {
  struct Case {
    std::string exe;
    std::string directory;  // with the trailing backslash
    std::string bin;        // without it
    std::string bundled;    // the development kit's runtime executable
  };
  const Case cases[] = {
      {"c:\\jre7\\bin\\java.exe", "c:\\jre7\\bin\\", "c:\\jre7\\bin",
       "c:\\jre7\\bin\\..\\jre\\bin\\java.exe"},
      {"c:\\jdk\\bin\\javaw.exe", "c:\\jdk\\bin\\", "c:\\jdk\\bin",
       "c:\\jdk\\bin\\..\\jre\\bin\\java.exe"},
      {"C:\\JDK\\BIN\\JAVAW.EXE", "C:\\JDK\\BIN\\", "C:\\JDK\\BIN",
       "C:\\JDK\\BIN\\..\\jre\\bin\\java.exe"},
      // The derived executable leads to ...\bin\..\jre\bin.
      {"c:\\jdk\\bin\\..\\jre\\bin\\java.exe", "c:\\jdk\\bin\\..\\jre\\bin\\",
       "c:\\jdk\\bin\\..\\jre\\bin", "c:\\jdk\\bin\\..\\jre\\bin\\..\\jre\\bin\\java.exe"},
      // Any other name is cut as if it were java.exe (8 characters).
      {"c:\\x\\bin\\jdb.exe", "c:\\x\\bin", "c:\\x\\bi", "c:\\x\\bin..\\jre\\bin\\java.exe"},
      // Too short for a name: nothing is left, nothing is read before the start.
      {"java.exe", "", "", "..\\jre\\bin\\java.exe"},
      {"exe", "", "", "..\\jre\\bin\\java.exe"},
      {"", "", "", "..\\jre\\bin\\java.exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.exe);
    EXPECT_EQ(javaExecutableDirectory(c.exe), c.directory);
    EXPECT_EQ(javaBinDirectory(c.exe), c.bin);
    EXPECT_EQ(bundledRuntimeExecutable(c.exe), c.bundled);
  }
}

TEST(RuntimePaths, RuntimeHomeIsTheExecutableDirectoryFollowedByDotDot) {
  recordRuntimeFacts("c:\\jre7\\bin\\java.exe", "1.7.0_80");
  EXPECT_EQ(runtimeHome(), "c:\\jre7\\bin\\..");
  EXPECT_EQ(runtimeVersion(), "1.7.0_80");
  recordRuntimeFacts("c:\\jdk\\bin\\javaw.exe", "11.0.2");
  EXPECT_EQ(runtimeHome(), "c:\\jdk\\bin\\..");
  EXPECT_EQ(runtimeHome(), javaExecutableDirectory("c:\\jdk\\bin\\javaw.exe") + "..");
  EXPECT_EQ(runtimeVersion(), "11.0.2");
}

TEST(RuntimePaths, VmDirectoriesFollowThePreferredOne) {
  const std::vector<std::string> fixed = {"hotspot", "client", "server", "classic", "jrockit"};
  EXPECT_EQ(jvmDirectoryOrder(""), fixed);
  std::vector<std::string> withServer = fixed;
  withServer.insert(withServer.begin(), "server");
  EXPECT_EQ(jvmDirectoryOrder("server"), withServer);
  EXPECT_EQ(jvmDirectoryOrder("custom").front(), "custom");
  EXPECT_EQ(jvmDirectoryOrder("custom").size(), 6u);
  EXPECT_EQ(jvmLibraryPath("c:\\jre\\bin", "server"), "c:\\jre\\bin\\server\\jvm.dll");
}

TEST(RuntimePaths, PathGetsTheDirectoryAtItsEnd) {
  EXPECT_EQ(pathWithDirectoryAppended(u"c:\\windows;c:\\\u00e4\u4e2d", u"c:\\jre\\bin"),
            u"c:\\windows;c:\\\u00e4\u4e2d;c:\\jre\\bin");
  EXPECT_EQ(pathWithDirectoryAppended(u"", u"c:\\jre\\bin"), u";c:\\jre\\bin");
  // A long PATH is kept whole.
  const std::u16string longPath(20000, u'p');
  EXPECT_EQ(pathWithDirectoryAppended(longPath, u"d"), longPath + u";d");
}

TEST(RuntimePaths, PackedArchiveNamesAndTheUnpackCommand) {
  EXPECT_EQ(archiveOfPackedFile("rt.jar.pack"), "rt.jar");
  EXPECT_EQ(archiveOfPackedFile("c:\\jre\\lib\\ext\\a.jar.pack"), "c:\\jre\\lib\\ext\\a.jar");
  EXPECT_EQ(archiveOfPackedFile(".pack"), "");
  EXPECT_EQ(archiveOfPackedFile("abc"), "");

  EXPECT_TRUE(isPackedArchiveName("rt.jar.pack"));
  EXPECT_TRUE(isPackedArchiveName("RT.JAR.PACK"));
  EXPECT_FALSE(isPackedArchiveName("rt.jar"));
  EXPECT_FALSE(isPackedArchiveName("rt.pack"));
  EXPECT_FALSE(isPackedArchiveName("rt.jar.pack.old"));

  EXPECT_EQ(unpackToolPath("c:\\app\\jre"), "c:\\app\\jre\\bin\\unpack200.exe");
  EXPECT_EQ(unpackCommandLine("c:\\j\\lib\\rt.jar.pack", "c:\\j\\lib\\rt.jar"),
            "-r \"c:\\j\\lib\\rt.jar.pack\" \"c:\\j\\lib\\rt.jar\"");
}

}  // namespace
