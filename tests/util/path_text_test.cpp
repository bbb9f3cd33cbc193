// Path rules that need no file system: relative or absolute, backslash runs,
// drive roots, placement of relative paths, path lists.
#include "util/path_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct RelativeCase {
  const char* path;
  bool relative;
};

TEST(PathText, RelativeOrAbsoluteInBothEncodings) {
  const RelativeCase cases[] = {
      {"", true},
      {"C:", true},     // shorter than 3
      {"C:\\", false},  // drive-absolute
      {"C:\\dir\\x.jar", false},
      {"C:tools", true},                        // drive-relative
      {"\\tools\\x.jar", true},                 // root-relative
      {"\\\\server\\share\\x", false},          // UNC
      {"\\\\", true},                           // too short to be UNC
      {"\"C:\\Program Files\\x.jar\"", false},  // quoted absolute
      {"\"C:\\", false},                        // quote and three more characters
      {"\"C:", true},                           // quoted, fewer than 4
      {"\"\\\\srv\\s\"", false},
      {"\"lib\\x.jar\"", true},  // quoted relative
      {"lib", true},
      {"c:/dir", true},  // a forward slash does not make it absolute
      {"/usr/lib", true},
  };
  for (const RelativeCase& c : cases) {
    EXPECT_EQ(isRelativePath(c.path), c.relative) << c.path;
    EXPECT_EQ(isRelativePathWide(widenBytewise(c.path)), c.relative) << c.path;
  }
}

TEST(PathText, CollapseKeepsOneBackslashPerRunAndALeadingPair) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"", u""},
      {u"\\", u"\\"},
      {u"\\\\", u"\\\\"},
      {u"a\\\\b", u"a\\b"},
      {u"C:\\\\\\dir\\\\", u"C:\\dir\\"},
      {u"\\\\server\\share\\\\dir", u"\\\\server\\share\\dir"},  // UNC pair survives
      {u"\\\\\\x", u"\\\\x"},                                    // three leading become two
      {u"\\\\\\\\\\x", u"\\\\x"},
      {u"x\\\\\\\\", u"x\\"},
      {u"\"C:\\\\a\"", u"\"C:\\a\""},
      {u"\u03a9\\\\\u4e2d", u"\u03a9\\\u4e2d"},
  };
  for (const auto& [in, out] : cases) {
    WString path = in;
    collapseBackslashesWide(path);
    EXPECT_EQ(path, out) << toUtf8(in);
  }
}

TEST(PathText, DriveRootSpellings) {
  const std::pair<const char16_t*, bool> cases[] = {
      {u"C:\\", true}, {u"C:\\.", true},  {u"C:\\.\\.", true}, {u"z:\\.", true},
      {u"C:", false},  {u"C:\\x", false}, {u"C:\\.\\", false}, {u"C:\\..", false},
      {u"C", false},   {u"", false},      {u"CD:\\", false},   {u"C:\\.\\.\\.", false},
  };
  for (const auto& [path, root] : cases) EXPECT_EQ(isDriveRootSpelling(path), root) << toUtf8(path);
}

struct PlaceCase {
  const char* name;
  const char* path;
  const char* placed;     // before collapsing
  const char* collapsed;  // what a resolved path holds
};

TEST(PathText, RelativePathsArePlacedInTheBaseDirectory) {
  const std::string base = "C:\\App Dir\\";
  const PlaceCase cases[] = {
      {"plain relative", "lib\\x.jar", "C:\\App Dir\\lib\\x.jar", "C:\\App Dir\\lib\\x.jar"},
      {"root-relative", "\\tools\\x.jar", "C:\\App Dir\\\\tools\\x.jar",
       "C:\\App Dir\\tools\\x.jar"},
      {"drive-relative", "C:tools", "C:\\App Dir\\C:tools", "C:\\App Dir\\C:tools"},
      {"quoted absolute", "\"D:\\\\x y\\a.jar\"", "\"D:\\\\x y\\a.jar\"", "\"D:\\x y\\a.jar\""},
      {"quoted relative", "\"rel dir\\a.jar\"", "C:\\App Dir\\\"rel dir\\a.jar\"",
       "C:\\App Dir\\\"rel dir\\a.jar\""},
      {"UNC", "\\\\server\\share\\\\dir", "\\\\server\\share\\\\dir", "\\\\server\\share\\dir"},
      {"empty", "", "C:\\App Dir\\", "C:\\App Dir\\"},
      {"dots stay", "..\\.\\x", "C:\\App Dir\\..\\.\\x", "C:\\App Dir\\..\\.\\x"},
  };
  for (const PlaceCase& c : cases) {
    EXPECT_EQ(placeRelative(base, c.path), c.placed) << c.name;
    WString wide = placeRelativeWide(widenBytewise(base), widenBytewise(c.path));
    EXPECT_EQ(wide, widenBytewise(c.placed)) << c.name;
    collapseBackslashesWide(wide);
    EXPECT_EQ(wide, widenBytewise(c.collapsed)) << c.name;
  }
}

TEST(PathText, PathListsDropEmptyElements) {
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"", {}},
      {";", {}},
      {";;;", {}},
      {"a", {"a"}},
      {"a;b", {"a", "b"}},
      {";a;;b;", {"a", "b"}},
      {" ;C:\\x y;\\\\srv\\s", {" ", "C:\\x y", "\\\\srv\\s"}},
  };
  for (const auto& [list, elements] : cases) {
    EXPECT_EQ(splitPathList(list), elements) << list;
  }
  EXPECT_EQ(joinPathList({}), "");
  EXPECT_EQ(joinPathList({"a"}), "a");
  EXPECT_EQ(joinPathList({"a", "b", "c"}), "a;b;c");
  EXPECT_EQ(joinPathList({"", "b"}), ";b");
}

}  // namespace
