#include "payload/included_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

TEST(IncludedNames, SplitKeepsOrderAndSkipsEmptyPieces) {
  struct Case {
    std::string list;
    Names names;
  };
  const Case cases[] = {
      {"", {}},
      {";;", {}},
      {"a.dll", {"a.dll"}},
      {"a.dll;lib\\b.jar", {"a.dll", "lib\\b.jar"}},
      {";a.dll;;lib\\b.jar;", {"a.dll", "lib\\b.jar"}},
      {" ;x", {" ", "x"}},  // only empty pieces are skipped, blanks are names
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list);
    EXPECT_EQ(splitIncludedNames(c.list), c.names);
  }
}

TEST(IncludedNames, SplitKeepsBytesOutsideAscii) {
  const std::string list = "caf\xE9.dll;\xA7\\x";
  EXPECT_EQ(splitIncludedNames(list), (Names{"caf\xE9.dll", "\xA7\\x"}));
}

TEST(IncludedNames, FirstFolderIsTheTextBeforeTheFirstBackslash) {
  EXPECT_EQ(firstFolderOfName("lib\\b.jar"), "lib");
  EXPECT_EQ(firstFolderOfName("x\\y\\z.dll"), "x");  // one level only
  EXPECT_EQ(firstFolderOfName("a.dll"), std::nullopt);
  EXPECT_EQ(firstFolderOfName("lib/b.jar"), std::nullopt);  // "/" makes no folder
}

TEST(IncludedNames, SafetyOfNames) {
  struct Case {
    std::string name;
    bool safe;
  };
  const Case cases[] = {
      {"a.dll", true},
      {"lib\\b.jar", true},
      {"x\\y\\z.dll", true},
      {".\\a.dll", true},
      {"lib\\.\\b.jar", true},
      {"..a.dll", true},
      {"a..dll", true},
      {"lib\\b..jar", true},
      {"console.dll", true},
      {"com10.dll", true},
      {"nul1", true},
      // Outside the directory.
      {"", false},
      {"..", false},
      {"..\\evil.dll", false},
      {"../evil.dll", false},
      {"lib\\..\\..\\evil.dll", false},
      {"lib/../../evil.dll", false},
      {"lib\\..", false},
      {"...\\evil.dll", false},
      {".. \\evil.dll", false},
      {". .\\evil.dll", false},
      {"\\evil.dll", false},
      {"/evil.dll", false},
      {"\\\\server\\share\\evil.dll", false},
      {"\\\\?\\C:\\evil.dll", false},
      {"C:\\evil.dll", false},
      {"C:evil.dll", false},
      {"c:/evil.dll", false},
      {"a.dll:stream", false},
      {std::string("a.dll\0\\..\\..\\evil", 17), false},
      // Devices.
      {"CON", false},
      {"nul.txt", false},
      {"lib\\aux", false},
      {"Com1.dll", false},
      {"LPT9", false},
      {"conout$", false},
      {"prn .x", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(isSafeIncludedName(c.name), c.safe);
  }
}

}  // namespace
