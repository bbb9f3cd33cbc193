#include "jre/java_probe_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

namespace {

using namespace std::string_view_literals;

TEST(VersionCacheKey, IsTheJvmsKeyWithForwardSlashes) {
  EXPECT_EQ(versionCacheKeyFor("c:\\program files\\java\\jre7\\bin\\java.exe"),
            "SOFTWARE\\quillmoor\\wrenlet\\jvms\\c:/program files/java/jre7/bin/java.exe");
  EXPECT_EQ(versionCacheKeyFor("\\\\server\\share\\java.exe"),
            "SOFTWARE\\quillmoor\\wrenlet\\jvms\\//server/share/java.exe");
}

TEST(IgnoredCachedVersion, OnlyTheThreeExactFamilyTexts) {
  for (std::string_view v : {"1.7."sv, "1.6."sv, "1.5."sv}) EXPECT_TRUE(isIgnoredCachedVersion(v)) << v;
  for (std::string_view v : {"1.6"sv, "1.6.0"sv, "1.8."sv, "1.0.0"sv, ""sv, "1.6. "sv})
    EXPECT_FALSE(isIgnoredCachedVersion(v)) << v;
}

TEST(CachedVersionFromValue, AcceptsValuesWithAndWithoutTerminator) {
  struct Case {
    std::string_view bytes;
    std::size_t capacity;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"1.8.0_181"sv, 2000, "1.8.0_181"},      // stored without terminator
      {"1.8.0_181\0"sv, 2000, "1.8.0_181"},    // with one
      {""sv, 2000, ""},                        // size 0
      {"1.8\0junk"sv, 2000, "1.8"},            // text ends at the first zero
      {"1.8.0"sv, 5, std::nullopt},            // fills the buffer, no room for a terminator
      {"1.8\0"sv, 4, "1.8"},                   // fills it including the terminator
      {"1.8"sv, 5, "1.8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.bytes));
    EXPECT_EQ(cachedVersionFromValue(c.bytes.data(), c.bytes.size(), c.capacity), c.expected);
  }
}

TEST(LastWriteTimeBytes, AreTheFileTimeLowByteFirst) {
  EXPECT_EQ(lastWriteTimeBytes(0x0102030405060708ULL), "\x08\x07\x06\x05\x04\x03\x02\x01"sv);
  EXPECT_EQ(lastWriteTimeBytes(0), std::string(8, '\0'));
}

TEST(FirstOutputLine, EndsAtTheLineFeedOrAfter99Bytes) {
  EXPECT_EQ(firstOutputLine("java version \"1.8\"\r\nJava(TM) SE\r\n"), "java version \"1.8\"\r\n");
  EXPECT_EQ(firstOutputLine("no line end"), "no line end");
  EXPECT_EQ(firstOutputLine(""), std::nullopt);
  const std::string longLine(150, 'x');
  EXPECT_EQ(firstOutputLine(longLine), std::string(99, 'x'));
}

TEST(VersionFromFirstLine, TakesTheQuotedVersionOfTheTwoKnownForms) {
  struct Case {
    std::string_view line;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"java version \"1.8.0_181\"\r\n", "1.8.0_181"},
      {"java version \"1.6.0_45\"\n", "1.6.0_45"},
      {"openjdk version \"11.0.2\" 2019-01-15\r\n", "11.0.2"},
      {"openjdk version \"17-ea\"", "17-ea"},
      // A notice printed before the version line is not a version line.
      {"Picked up _JAVA_OPTIONS: -Xmx512m\r\n", std::nullopt},
      {"NOTE: java version \"1.8.0\"\r\n", std::nullopt},
      {"Java version \"1.8.0\"\r\n", std::nullopt},   // case matters
      {"java version 1.8.0\r\n", std::nullopt},       // no quote
      {"java version \"1.8.0\r\n", std::nullopt},     // no closing quote
      {"java version \"\"\r\n", std::nullopt},        // nothing between the quotes
      {"java version \"", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.line));
    EXPECT_EQ(versionFromFirstLine(c.line), c.expected);
  }
}

TEST(VersionFromFirstLine, AVersionLineCutAt99BytesHasNoClosingQuote) {
  const std::string output = "java version \"" + std::string(100, '1') + "\"\r\n";
  auto line = firstOutputLine(output);
  ASSERT_TRUE(line);
  EXPECT_EQ(versionFromFirstLine(*line), std::nullopt);
}

}  // namespace
