#include "jre/installed_runtimes_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

TEST(VersionKeyTryOrder, IsByteWiseTextOrderFromTheLast) {
  struct Case {
    Names keys;
    Names expected;
  };
  const Case cases[] = {
      {{"1.6", "1.6.0_45", "1.8", "1.8.0_181"}, {"1.8.0_181", "1.8", "1.6.0_45", "1.6"}},
      // Text order, not version order.
      {{"1.8.0_45", "1.8.0_5"}, {"1.8.0_5", "1.8.0_45"}},
      {{"10", "9"}, {"9", "10"}},
      {{"1.8", "1.8.0_181"}, {"1.8.0_181", "1.8"}},
      // Bytes compare unsigned: 0xE9 comes after every ASCII byte.
      {{"1.8\xE9", "1.8z"}, {"1.8\xE9", "1.8z"}},
      {{}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(versionKeyTryOrder(c.keys), c.expected);
}

TEST(CurrentVersionHomeKey, KitOnlyWhenNewerThanTheRuntimeEnvironment) {
  const std::string jre = "SOFTWARE\\JavaSoft\\Java Runtime Environment\\";
  const std::string jdk = "SOFTWARE\\JavaSoft\\Java Development Kit\\";
  EXPECT_EQ(currentVersionHomeKey("1.8", "1.8"), jre + "1.8");
  EXPECT_EQ(currentVersionHomeKey("1.8.0_20", "1.8"), jdk + "1.8.0_20");
  EXPECT_EQ(currentVersionHomeKey("1.7", "1.8"), jre + "1.8");
  EXPECT_EQ(currentVersionHomeKey("1.8", ""), jdk + "1.8");
  EXPECT_EQ(currentVersionHomeKey("", "1.7"), jre + "1.7");
  // Both emptied: the runtime environment key itself, with a trailing backslash.
  EXPECT_EQ(currentVersionHomeKey("", ""), jre);
}

TEST(LocatedRuntimePath, ForwardSlashesBecomeBackslashes) {
  EXPECT_EQ(locatedRuntimePath("c:/apps/ksl_jres/jre8/bin/java.exe"),
            "c:\\apps\\ksl_jres\\jre8\\bin\\java.exe");
  EXPECT_TRUE(isSharedRuntimePath("c:\\apps\\ksl_jres\\jre8\\bin\\java.exe"));
  EXPECT_FALSE(isSharedRuntimePath("c:\\apps\\KSL_JRES\\jre8\\bin\\java.exe"));
}

TEST(InstallationDirectories, SkipsEmptyParts) {
  EXPECT_EQ(installationDirectories("C:\\App1;C:\\App2"), (Names{"C:\\App1", "C:\\App2"}));
  EXPECT_EQ(installationDirectories(";;C:\\App1;;C:\\App2;"), (Names{"C:\\App1", "C:\\App2"}));
  EXPECT_EQ(installationDirectories(""), Names{});
  EXPECT_EQ(installationDirectories(";"), Names{});
}

}  // namespace
