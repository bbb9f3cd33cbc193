#include "util/text.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatText, ConversionsOfTheLogFormat) {
  EXPECT_EQ(formatText(u"%s|%S|%d|%I64d", u"wide", "narrow", -42, std::int64_t{1} << 40),
            u"wide|narrow|-42|1099511627776");
  EXPECT_EQ(formatText(u"%S", "\xE9"), u"\u00E9");  // 8-bit text widened byte by byte
  EXPECT_EQ(formatText(u"%S %s", static_cast<const char*>(nullptr),
                       static_cast<const char16_t*>(nullptr)),
            u"(null) (null)");
  EXPECT_EQ(formatText(u"(type %c) 100%%", 'R'), u"(type R) 100%");
  EXPECT_EQ(formatText(u"%x %X %u", 255u, 255u, 4000000000u), u"ff FF 4000000000");
  EXPECT_EQ(formatText(u"[%5d|%-4d|%03d]", 42, 7, 5), u"[   42|7   |005]");
  EXPECT_EQ(formatText(u"%.3s|%.*S", u"abcdef", 2, "xyz"), u"abc|xy");
  EXPECT_EQ(formatText(u"%p", reinterpret_cast<void*>(0x1234)),
            sizeof(void*) == 8 ? u"0000000000001234" : u"00001234");
  EXPECT_EQ(formatText(u"odd %q end"), u"odd %q end");
  EXPECT_EQ(formatText(u"tail %"), u"tail %");
}

TEST(DecimalToInt32, BehavesLikeTheRuntimeConversionWithClamping) {
  EXPECT_EQ(decimalToInt32(""), 0);
  EXPECT_EQ(decimalToInt32("  -12x"), -12);
  EXPECT_EQ(decimalToInt32("2147483648"), 2147483647);
  EXPECT_EQ(decimalToInt32("-2147483649"), -2147483647 - 1);
  EXPECT_EQ(decimalToInt32("000000000000000000000000017"), 17);
}

TEST(ClassicTimeText, FixedTwentyFourCharacterLayout) {
  EXPECT_EQ(classicTimeText(1993, 6, 30, 3, 21, 49, 8), "Wed Jun 30 21:49:08 1993");
  EXPECT_EQ(classicTimeText(2026, 12, 1, 2, 7, 5, 0), "Tue Dec  1 07:05:00 2026");
}

TEST(TextHelpers, Utf8AndCaseAndCapacity) {
  EXPECT_EQ(toUtf8(u"a\u00E9\u20AC\U0001F600"), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
  EXPECT_EQ(toUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
  std::string lower = "C:\\Program Files\\\xC4";
  asciiLowerInPlace(lower);
  EXPECT_EQ(lower, "c:\\program files\\\xC4");
  std::string cut = "abcdef";
  truncateToCapacity(cut, 4);
  EXPECT_EQ(cut, "abc");
  EXPECT_TRUE(endsWithIgnoreAsciiCase("C:\\APP.EXE", ".exe"));
  EXPECT_FALSE(endsWithIgnoreAsciiCase("exe", ".exe"));
}

}  // namespace
