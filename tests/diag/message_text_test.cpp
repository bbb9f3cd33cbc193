#include "diag/message_text.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageText, OnlyTheFirstPlaceholderIsReplaced) {
  struct Case {
    std::u16string text;
    std::optional<std::u16string> argument;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"No Java {0} found {0}", u"64", u"No Java 64 found {0}"},
      {u"No Java {0}", std::nullopt, u"No Java {0}"},
      {u"No placeholder", u"x", u"No placeholder"},
      {u"{0}", u"", u""},
      {u"", u"x", u""},
  };
  for (const Case& c : cases) {
    std::optional<WStringView> arg;
    if (c.argument) arg = *c.argument;
    EXPECT_EQ(substituteFirstPlaceholder(c.text, arg), c.expected);
  }
}

TEST(MessageText, LogPathFollowsAfterTwoLineBreaks) {
  EXPECT_EQ(appendLogPath(u"Boom", WStringView(u"C:\\tmp\\ksl_nlog_1.log")),
            u"Boom\n\nLog: C:\\tmp\\ksl_nlog_1.log");
  EXPECT_EQ(appendLogPath(u"Boom", std::nullopt), u"Boom");
}

TEST(MessageText, ComposedTextsAreCutAtTheMessageCapacity) {
  const std::u16string huge(7000, u'a');
  EXPECT_EQ(substituteFirstPlaceholder(u"x{0}y", WStringView(huge)).size(), kMessageCapacity - 1);
  EXPECT_EQ(appendLogPath(huge, WStringView(u"p")).size(), kMessageCapacity - 1);
}

}  // namespace
