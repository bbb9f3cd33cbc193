// Variable expansion on text: the replacement pass, the variable order, the
// environment walk and the capacity cut, in both encodings.
#include "util/expand_text.h"

#include "tests/support/log_capture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

NarrowVariableValues narrowValues() {
  NarrowVariableValues v;
  v.executableDirectory = "C:\\App\\";
  v.launcherTempDirectory = "";  // none created yet
  v.runtimeHome = "";            // no runtime chosen yet
  v.userTempFolder = "C:\\Users\\me\\Temp";
  return v;
}

WideVariableValues wideValues(const NarrowVariableValues& n) {
  return {widenBytewise(n.executableDirectory), n.launcherTempDirectory, n.runtimeHome,
          widenBytewise(n.userTempFolder)};
}

std::vector<WString> widen(const std::vector<std::string>& entries) {
  std::vector<WString> out;
  for (const std::string& e : entries) out.push_back(widenBytewise(e));
  return out;
}

struct ExpandCase {
  const char* name;
  const char* text;
  const char* expected;
};

// Both variants give the same result for 8-bit-safe text.
void checkBoth(const ExpandCase& c, const NarrowVariableValues& values,
               const std::vector<std::string>& environment) {
  std::string narrow = c.text;
  expandText(narrow, values, environment);
  EXPECT_EQ(narrow, c.expected) << c.name << " (8-bit)";
  WString wide = widenBytewise(c.text);
  expandTextWide(wide, wideValues(values), widen(environment));
  EXPECT_EQ(wide, widenBytewise(c.expected)) << c.name << " (UTF-16)";
}

TEST(ExpandText, LauncherVariables) {
  const ExpandCase cases[] = {
      {"no variables", "plain -Dx=1", "plain -Dx=1"},
      {"exe dir percent form", "%KESTREL_EXEDIR%lib", "C:\\App\\lib"},
      {"exe dir wrenlet form", "%WRENLET_EXEDIR%lib", "C:\\App\\lib"},
      {"exe dir braced forms", "${WRENLET_EXEDIR}a ${KESTREL_EXEDIR}b", "C:\\App\\a C:\\App\\b"},
      {"launcher directory", "${launcher:sys.launcherDirectory}lib", "C:\\App\\lib"},
      {"separators",
       "a%WRENLET_PATHLIST_SEPARATOR%b%KESTREL_PATHLIST_SEPARATOR%c"
       "${WRENLET_PATHLIST_SEPARATOR}d${KESTREL_PATHLIST_SEPARATOR}e"
       "${launcher:sys.pathlistSeparator}f",
       "a;b;c;d;e;f"},
      {"no launcher temp dir yet", "[${launcher:sys.launcherTempDirectory}][%KESTREL_TEMPDIR%]",
       "[][]"},
      {"no runtime yet", "[${launcher:sys.jvmHome}][%WRENLET_JVM_HOME%][${KESTREL_JVM_HOME}]",
       "[][][]"},
      {"user temp folder", "${launcher:sys.tempDir}\\x", "C:\\Users\\me\\Temp\\x"},
      {"names are case-sensitive", "%kestrel_exedir% ${Launcher:sys.jvmHome}",
       "%kestrel_exedir% ${Launcher:sys.jvmHome}"},
      {"unknown names stay", "%FOO% ${nosuch} ${", "%FOO% ${nosuch} ${"},
      {"every occurrence", "%KESTREL_EXEDIR%;%KESTREL_EXEDIR%", "C:\\App\\;C:\\App\\"},
  };
  for (const ExpandCase& c : cases) checkBoth(c, narrowValues(), {});
}

TEST(ExpandText, LaterRowsSearchWhatEarlierRowsInserted) {
  // The runtime home (row 7) runs after the executable directory rows and before
  // the environment: what it inserts is searched by the later rows only.
  NarrowVariableValues values = narrowValues();
  values.runtimeHome = "%WRENLET_EXEDIR%${KESTREL_EXEDIR}${JH}";
  const ExpandCase c{"runtime home", "%WRENLET_JVM_HOME%", "%WRENLET_EXEDIR%C:\\App\\D:\\jdk"};
  checkBoth(c, values, {"JH=D:\\jdk"});
}

TEST(ExpandText, EnvironmentVariables) {
  const std::vector<std::string> environment = {
      "=C:=C:\\work",  // per-drive entry: empty NAME
      "Path=C:\\bin;C:\\sys",
      "NOEQUALS",        // skipped
      "SELF=a${SELF}b",  // holds its own reference
      "Mixed=m${Mixed}",
      "LATE=${launcher:sys.jvmHome}",  // launcher variables are not expanded in values
      "EMPTY=",
      "EQ=x=y",
  };
  const ExpandCase cases[] = {
      {"as written", "${Path}", "C:\\bin;C:\\sys"},
      {"in capitals", "${PATH}", "C:\\bin;C:\\sys"},
      {"in lower case not", "${path}", "${path}"},
      {"per-drive entry", "${}", "C:=C:\\work"},
      {"entry without equals", "${NOEQUALS}", "${NOEQUALS}"},
      {"own reference inserted once", "${SELF}", "a${SELF}b"},
      {"own reference, mixed case", "${Mixed}", "m${Mixed}"},
      {"launcher variable in a value stays", "${LATE}", "${launcher:sys.jvmHome}"},
      {"empty value", "<${EMPTY}>", "<>"},
      {"split at the first equals", "${EQ}", "x=y"},
      {"environment after launcher rows", "${launcher:sys.pathlistSeparator}${Path}",
       ";C:\\bin;C:\\sys"},
  };
  for (const ExpandCase& c : cases) checkBoth(c, narrowValues(), environment);
}

TEST(ExpandText, ReplacementPassLogsEachOccurrence) {
  clearCapturedLog();
  std::string text = "x${A}y${A}";
  EXPECT_EQ(replaceVariable(text, "${A}", "1"), 2);
  EXPECT_EQ(text, "x1y1");
  EXPECT_EQ(capturedLog(), (std::vector<std::string>{"expanding2 ${A} to 1 in x1y${A}.",
                                                     "expanding2 ${A} to 1 in x1y1."}));

  clearCapturedLog();
  WString wide = u"[${launcher:sys.jvmHome}]";
  // An 8-bit value is widened byte by byte: 0xE9 becomes U+00E9.
  EXPECT_EQ(replaceVariableWide(wide, u"${launcher:sys.jvmHome}", std::string_view("D:\\j\xE9")),
            1);
  EXPECT_EQ(wide, u"[D:\\j\u00e9]");
  EXPECT_EQ(capturedLog(),
            (std::vector<std::string>{"expanding2 ${launcher:sys.jvmHome} to D:\\j\xC3\xA9 in "
                                      "[D:\\j\xC3\xA9]."}));

  clearCapturedLog();
  wide = u"${X}";
  EXPECT_EQ(replaceVariableWide(wide, u"${X}", WStringView(u"\u4e2d")), 1);
  EXPECT_EQ(capturedLog(),
            (std::vector<std::string>{"expanding2 ${X} to \xE4\xB8\xAD in \xE4\xB8\xAD."}));

  clearCapturedLog();
  text = "nothing here";
  EXPECT_EQ(replaceVariable(text, "${A}", "1"), 0);
  EXPECT_TRUE(capturedLog().empty());
}

TEST(ExpandText, InsertedTextIsNotSearchedAgainInThePass) {
  std::string text = "${A}${A}";
  EXPECT_EQ(replaceVariable(text, "${A}", "${A}${A}"), 2);
  EXPECT_EQ(text, "${A}${A}${A}${A}");
  WString wide = u"${A}";
  EXPECT_EQ(replaceVariableWide(wide, u"${A}", WStringView(u"${A}")), 1);
  EXPECT_EQ(wide, u"${A}");
  text = "abc";
  EXPECT_EQ(replaceVariable(text, "", "x"), 0);  // an empty name matches nothing
  EXPECT_EQ(text, "abc");
}

TEST(ExpandText, GrowthIsCutAtTheCapacity) {
  const std::string big(100, 'v');
  struct Case {
    std::string text;
    std::size_t cap;
  };
  const Case cases[] = {
      {"${A}", 50},
      {"ab${A}${A}${A}", 150},              // the second insertion crosses the limit
      {"${A}${A}", 101},                    // the first insertion fills it exactly
      {std::string(80, 'x') + "${A}", 64},  // the name lies beyond the limit
      {"${A}", 1},
  };
  for (const Case& c : cases) {
    std::string expected = c.text;
    for (std::size_t at; (at = expected.find("${A}")) != std::string::npos;)
      expected.replace(at, 4, big);
    expected.resize(std::min(expected.size(), c.cap - 1));
    // A name cut in half by the limit is not expanded, only cut.
    std::string narrow = c.text;
    replaceVariable(narrow, "${A}", big, c.cap);
    EXPECT_LE(narrow.size(), c.cap - 1);
    EXPECT_EQ(narrow, expected.substr(0, narrow.size())) << c.text.substr(0, 20);
    WString wide = widenBytewise(c.text);
    replaceVariableWide(wide, u"${A}", std::string_view(big), c.cap);
    EXPECT_EQ(wide, widenBytewise(narrow));
  }

  // Through the whole expansion, in both encodings.
  NarrowVariableValues values = narrowValues();
  values.executableDirectory = "C:\\Program Files\\My Application\\";
  std::string text = "%KESTREL_EXEDIR%lib";
  expandText(text, values, {}, 20);
  EXPECT_EQ(text, "C:\\Program Files\\My");  // 19 characters
  WString wide = u"${Path}${Path}";
  expandTextWide(wide, wideValues(narrowValues()), {u"Path=0123456789abcdef"}, 24);
  EXPECT_EQ(wide, u"0123456789abcdef0123456");
}

TEST(ExpandText, EnvironmentBlockEntries) {
  const char16_t wideBlock[] = u"=C:=C:\\x\0Path=a;b\0EMPTY=\0\0";
  EXPECT_EQ(environmentEntries(wideBlock),
            (std::vector<WString>{u"=C:=C:\\x", u"Path=a;b", u"EMPTY="}));
  const char narrowBlock[] = "A=1\0B=2\0\0";
  EXPECT_EQ(environmentEntries(narrowBlock), (std::vector<std::string>{"A=1", "B=2"}));
  EXPECT_TRUE(environmentEntries(static_cast<const char*>(nullptr)).empty());
  EXPECT_TRUE(environmentEntries(u"\0").empty());
}

}  // namespace
