#include "launcher/command_line.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

struct SplitCase {
    const char* name;
    WString text;
    ArgList expected;
};

void PrintTo(const SplitCase& c, std::ostream* os)
{
    *os << c.name << ": \"" << toUtf8(c.text) << '"';
}

std::string joined(const ArgList& list)
{
    std::string out;
    for (const WString& arg : list)
        out += "[" + toUtf8(arg) + "]";
    return out;
}

ArgList split(WStringView text)
{
    ArgList list;
    splitCommandLine(text, list);
    return list;
}

class SplitCommandLineTable : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTable, ProducesExpectedElements)
{
    const SplitCase& c = GetParam();
    const ArgList actual = split(c.text);
    EXPECT_EQ(actual, c.expected) << "got " << joined(actual) << ", want " << joined(c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SplitCommandLineTable,
    ::testing::Values(
        SplitCase{"QuotedProgramPathThenArgs", u"\"C:\\Apps\\my app.exe\" -x \"a b\" c",
                  {u"C:\\Apps\\my app.exe", u"-x", u"a b", u"c"}},
        SplitCase{"BlankRunsAndTrailingBlank", u"a   b ", {u"a", u"b"}},
        SplitCase{"TextAfterClosingQuoteStartsNewToken", u"\"a\"b", {u"a", u"b"}},
        SplitCase{"EmptyQuotesJoinPrecedingText", u"a\"\"", {u"a"}},
        SplitCase{"EmptyQuotesAloneGiveEmptyElement", u"\"\"", {u""}},
        SplitCase{"EmptyQuotesBetweenBlanks", u"a \"\" b", {u"a", u"", u"b"}},
        SplitCase{"MissingClosingDoubleQuote", u"\"abc", {u"abc"}},
        SplitCase{"DoubledSingleQuotesAreTwoSections", u"'it''s'", {u"it", u"s"}},
        SplitCase{"OtherQuoteIsOrdinaryInsideSection", u"say \"a 'b' c\"",
                  {u"say", u"a 'b' c"}},
        SplitCase{"SectionJoinsTextBeforeIt", u"ab\"c d\" e", {u"abc d", u"e"}},
        SplitCase{"SectionDoesNotJoinTextAfterIt", u"x=\"1 2\"y", {u"x=1 2", u"y"}},
        SplitCase{"BackslashIsOrdinary", u"\"C:\\dir\\\" next", {u"C:\\dir\\", u"next"}},
        SplitCase{"MissingClosingSingleQuote", u"a'b c", {u"ab c"}},
        SplitCase{"TabIsOrdinary", u"a\tb", {u"a\tb"}},
        SplitCase{"EmptyText", u"", {}},
        SplitCase{"BlanksOnly", u"   ", {}},
        // Beyond the basic table.
        SplitCase{"LeadingBlanks", u"  a", {u"a"}},
        SplitCase{"OnlyOneBlankSkippedAfterClosingQuote", u"\"a\"  b", {u"a", u"b"}},
        SplitCase{"SingleQuoteInsideDoubleQuotedAfterBlank", u"a \"b'c\"", {u"a", u"b'c"}},
        SplitCase{"EarlierSingleQuoteWinsOverLaterDouble", u"'a\"b' c", {u"a\"b", u"c"}},
        SplitCase{"QuoteOpensMidTokenAfterUnquotedBlank", u"-Dp=\"x y\" -jar", {u"-Dp=x y", u"-jar"}},
        SplitCase{"LoneQuoteAtEnd", u"a \"", {u"a", u""}},
        SplitCase{"OtherWhiteSpaceIsOrdinary", u"a\u00a0b\u3000c\nd", {u"a\u00a0b\u3000c\nd"}},
        SplitCase{"NonAsciiPassesThrough", u"\"Gr\u00fc\u00dfe \u65e5\u672c\" \U0001F600x",
                  {u"Gr\u00fc\u00dfe \u65e5\u672c", u"\U0001F600x"}}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

TEST(SplitCommandLine, AppendsToExistingList)
{
    ArgList list{u"first"};
    splitCommandLine(u"second 'third'", list);
    splitCommandLine(u"", list);
    splitCommandLine(u"fourth", list);
    EXPECT_EQ(list, (ArgList{u"first", u"second", u"third", u"fourth"}));
}

struct QuotedCase {
    const char* name;
    WString text;
    std::size_t quotePos;
    std::size_t tokenStart;
    char16_t quoteChar;
    WString token;
    std::size_t next;  // npos stands for text.size()
};

void PrintTo(const QuotedCase& c, std::ostream* os)
{
    *os << c.name << ": \"" << toUtf8(c.text) << "\" quote at " << c.quotePos;
}

class TakeQuotedTokenTable : public ::testing::TestWithParam<QuotedCase> {};

TEST_P(TakeQuotedTokenTable, AppendsTokenAndReturnsContinuation)
{
    const QuotedCase& c = GetParam();
    ArgList list;
    const std::size_t next = takeQuotedToken(list, c.text, c.quotePos, c.tokenStart, c.quoteChar);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(toUtf8(list[0]), toUtf8(c.token));
    EXPECT_EQ(next, c.next == WString::npos ? c.text.size() : c.next);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, TakeQuotedTokenTable,
    ::testing::Values(
        // text, quotePos, tokenStart, quote, token, next
        QuotedCase{"SkipsOneBlankAfterClose", u"\"a b\" c", 0, 0, u'"', u"a b", 6},
        QuotedCase{"NoBlankAfterClose", u"\"a\"b", 0, 0, u'"', u"a", 3},
        QuotedCase{"CloseAtEnd", u"x'y'", 1, 0, u'\'', u"xy", 4},
        QuotedCase{"JoinsPrefixBeforeQuote", u"ab\"c\" d", 2, 0, u'"', u"abc", 6},
        QuotedCase{"MissingCloseEndsSplitting", u"a'b c", 1, 0, u'\'', u"ab c",
                   WString::npos},
        QuotedCase{"OtherQuoteDoesNotClose", u"\"a'b\"", 0, 0, u'"', u"a'b", 5},
        QuotedCase{"StartsMidText", u"z \"q\"  w", 2, 2, u'"', u"q", 6}),
    [](const ::testing::TestParamInfo<QuotedCase>& info) { return std::string(info.param.name); });

} // namespace
