#include "payload/locale_table.h"

#include "tests/support/log_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <ostream>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr std::uint16_t kPrimaryMask = 0x3ff;

bool isPrimaryRow(const LocaleRow& row)
{
    return (row.id & ~kPrimaryMask) == 0;
}

std::map<std::uint16_t, std::string> primaryCodes()
{
    std::map<std::uint16_t, std::string> codes;
    for (const LocaleRow& row : kLocaleTable) {
        if (isPrimaryRow(row))
            codes[row.id] = row.code;
    }
    return codes;
}

TEST(LocaleTable, HasPrimaryAndFullRowsInStrictlyAscendingOrder)
{
    EXPECT_EQ(kLocaleTable.size(), 215u);
    const auto primaryCount =
        std::count_if(kLocaleTable.begin(), kLocaleTable.end(), isPrimaryRow);
    EXPECT_EQ(primaryCount, 71);
    EXPECT_EQ(kLocaleTable.size() - primaryCount, 144u);

    std::set<std::uint16_t> ids;
    for (std::size_t i = 0; i < kLocaleTable.size(); ++i) {
        ids.insert(kLocaleTable[i].id);
        if (i > 0) {
            EXPECT_LT(kLocaleTable[i - 1].id, kLocaleTable[i].id) << "row " << i;
        }
    }
    EXPECT_EQ(ids.size(), kLocaleTable.size());
    EXPECT_EQ(ids.count(0), 0u);
}

TEST(LocaleTable, CodesAreLanguageOrLanguageUnderscoreCountry)
{
    const auto primary = primaryCodes();
    for (const LocaleRow& row : kLocaleTable) {
        const std::string code = row.code;
        SCOPED_TRACE(testing::Message() << std::hex << "id 0x" << row.id << " " << code);
        ASSERT_GE(code.size(), 2u);
        EXPECT_TRUE(std::all_of(code.begin(), code.begin() + 2, [](char c) { return c >= 'a' && c <= 'z'; }));
        if (isPrimaryRow(row)) {
            EXPECT_EQ(code.size(), 2u);
            continue;
        }

        // Every full row belongs to a primary language that has a row of its own.
        const auto it = primary.find(row.id & kPrimaryMask);
        ASSERT_NE(it, primary.end());

        if (row.id == 0x041a) {
            EXPECT_EQ(code, "hr_HR");
        } else if (row.id == 0x083c) {
            EXPECT_EQ(code, "ga_IE");
        } else {
            EXPECT_EQ(code.substr(0, 2), it->second);
        }

        if (code.size() == 2) {
            const std::set<std::uint16_t> languageOnly{0x0431, 0x0434, 0x0435, 0x043d, 0x0444, 0x2409};
            EXPECT_EQ(languageOnly.count(row.id), 1u);
        } else if (row.id == 0x0814) {
            EXPECT_EQ(code, "no_NO_NY");
        } else {
            ASSERT_EQ(code.size(), 5u);
            EXPECT_EQ(code[2], '_');
            EXPECT_TRUE(std::all_of(code.begin() + 3, code.end(), [](char c) { return c >= 'A' && c <= 'Z'; }));
        }
    }
}

struct LookupCase {
    std::uint16_t id;
    const char* code;
};

void PrintTo(const LookupCase& c, std::ostream* os)
{
    *os << "0x" << std::hex << c.id << " -> " << c.code;
}

class LocaleLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(LocaleLookup, FindsExactThenPrimaryThenEnglish)
{
    EXPECT_EQ(lookupLocaleCode(GetParam().id), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Ids, LocaleLookup,
    ::testing::Values(LookupCase{0x0407, "de_DE"}, LookupCase{0x0c0a, "es_ES"},
                      LookupCase{0x080a, "es_MX"}, LookupCase{0x0814, "no_NO_NY"},
                      LookupCase{0x2409, "en"}, LookupCase{0x0445, "en"},
                      LookupCase{0x4409, "en"}, LookupCase{0x101a, "sr"},
                      LookupCase{0x041a, "hr_HR"}, LookupCase{0x0000, "en"},
                      LookupCase{0x083c, "ga_IE"}, LookupCase{0x043c, "gd_GB"},
                      LookupCase{0x040d, "iw_IL"}, LookupCase{0x0421, "in_ID"},
                      LookupCase{0x500a, "es_PR"}, LookupCase{0x0001, "ar"},
                      LookupCase{0x0056, "gl"}, LookupCase{0xfc07, "de"},
                      LookupCase{0x0057, "en"}, LookupCase{0xffff, "en"}),
    [](const ::testing::TestParamInfo<LookupCase>& info) {
        char name[16];
        std::snprintf(name, sizeof name, "Id%04x", info.param.id);
        return std::string(name);
    });

struct FormatFlagCase {
    const char* name;
    ArgList args;
    bool requested;
};

void PrintTo(const FormatFlagCase& c, std::ostream* os)
{
    *os << c.name;
}

class FormatAsDefault : public ::testing::TestWithParam<FormatFlagCase> {};

TEST_P(FormatAsDefault, LastOptionDecides)
{
    EXPECT_EQ(formatAsDefaultRequested(GetParam().args), GetParam().requested);
}

INSTANTIATE_TEST_SUITE_P(
    Args, FormatAsDefault,
    ::testing::Values(
        FormatFlagCase{"NoArgs", {}, false},
        FormatFlagCase{"Unrelated", {u"app.exe", u"-Dfoo=true"}, false},
        FormatFlagCase{"True", {u"app.exe", u"-Dsun.locale.formatasdefault=true"}, true},
        FormatFlagCase{"TrueThenFalse",
                       {u"-Dsun.locale.formatasdefault=true", u"x", u"-Dsun.locale.formatasdefault=false"},
                       false},
        FormatFlagCase{"FalseThenTrue",
                       {u"-Dsun.locale.formatasdefault=false", u"-Dsun.locale.formatasdefault=true"},
                       true},
        FormatFlagCase{"UpperCaseValue", {u"-Dsun.locale.formatasdefault=TRUE"}, false},
        FormatFlagCase{"TrueThenEmptyValue",
                       {u"-Dsun.locale.formatasdefault=true", u"-Dsun.locale.formatasdefault="},
                       false},
        FormatFlagCase{"TrailingTextAfterTrue", {u"-Dsun.locale.formatasdefault=true "}, false},
        FormatFlagCase{"TrueThenUnrelated",
                       {u"-Dsun.locale.formatasdefault=true", u"-Dsun.locale.formatasdefaults=false"},
                       true},
        FormatFlagCase{"OptionNameIsCaseSensitive", {u"-DSUN.LOCALE.FORMATASDEFAULT=true"}, false}),
    [](const ::testing::TestParamInfo<FormatFlagCase>& info) { return std::string(info.param.name); });

struct ResolveCase {
    const char* name;
    std::optional<ArgList> args;
    std::uint16_t defaultLocaleId;
    std::optional<std::uint16_t> uiLanguageId;
    const char* code;
    std::vector<std::string> log;
};

void PrintTo(const ResolveCase& c, std::ostream* os)
{
    *os << c.name << " -> " << c.code;
}

class ResolveLocale : public ::testing::TestWithParam<ResolveCase> {
protected:
    void SetUp() override { clearCapturedLog(); }
    void TearDown() override { clearCapturedLog(); }
};

TEST_P(ResolveLocale, ChoosesIdAndLogsDecision)
{
    const ResolveCase& c = GetParam();
    const std::string code =
        resolveLocaleCode(c.args ? &*c.args : nullptr, c.defaultLocaleId, c.uiLanguageId);
    EXPECT_EQ(code, c.code);
    EXPECT_LE(code.size(), 8u);
    EXPECT_EQ(capturedLog(), c.log);
}

TEST(ResolveLocaleLookup, UiLanguageIsLookedUpOnlyWhenItCanDecide)
{
    int lookups = 0;
    auto uiLanguage = [&]() -> std::optional<std::uint16_t> {
        ++lookups;
        return 0x0407;
    };
    const ArgList regional{u"app.exe", u"-Dsun.locale.formatasdefault=true"};
    EXPECT_EQ(resolveLocaleCode(&regional, 0x040c, uiLanguage), "fr_FR");
    EXPECT_EQ(lookups, 0);
    const ArgList plain{u"app.exe"};
    EXPECT_EQ(resolveLocaleCode(&plain, 0x040c, uiLanguage), "de_DE");
    EXPECT_EQ(lookups, 1);
    clearCapturedLog();
}

const ArgList kTrueThenFalse{u"app.exe", u"-Dsun.locale.formatasdefault=true",
                             u"-Dsun.locale.formatasdefault=false"};
const ArgList kFalseThenTrue{u"app.exe", u"-Dsun.locale.formatasdefault=false",
                             u"-Dsun.locale.formatasdefault=true"};

INSTANTIATE_TEST_SUITE_P(
    Decisions, ResolveLocale,
    ::testing::Values(
        ResolveCase{"UiLanguageExact", ArgList{u"app.exe"}, 0x0409, 0x0407, "de_DE",
                    {"sun.locale.formatasdefault is false", "language/country is de_DE"}},
        ResolveCase{"UiLanguageFallback", ArgList{u"app.exe"}, 0x0409, 0x101a, "sr",
                    {"sun.locale.formatasdefault is false", "language/country is sr"}},
        ResolveCase{"UiLanguageUnknown", ArgList{u"app.exe"}, 0x0407, 0x0445, "en",
                    {"sun.locale.formatasdefault is false", "language/country is en"}},
        ResolveCase{"FlagClearedByLaterFalse", kTrueThenFalse, 0x0c0a, 0x080a, "es_MX",
                    {"sun.locale.formatasdefault is false", "language/country is es_MX"}},
        ResolveCase{"FlagSetByLaterTrue", kFalseThenTrue, 0x0c0a, 0x080a, "es_ES",
                    {"sun.locale.formatasdefault is true", "language/country is es_ES"}},
        ResolveCase{"FlagInCapitalsIgnored", ArgList{u"-Dsun.locale.formatasdefault=TRUE"},
                    0x0c0a, 0x080a, "es_MX",
                    {"sun.locale.formatasdefault is false", "language/country is es_MX"}},
        ResolveCase{"FlagSetRegionalFallback", ArgList{u"-Dsun.locale.formatasdefault=true"},
                    0x4409, 0x0407, "en",
                    {"sun.locale.formatasdefault is true", "language/country is en"}},
        ResolveCase{"NoUiLanguageFunction", ArgList{u"app.exe"}, 0x0814, std::nullopt,
                    "no_NO_NY",
                    {"sun.locale.formatasdefault is false", "language/country is no_NO_NY"}},
        ResolveCase{"WithoutArgsUsesUiLanguage", std::nullopt, 0x0409, 0x041a, "hr_HR",
                    {"language/country is hr_HR"}},
        ResolveCase{"WithoutArgsNoUiLanguage", std::nullopt, 0x0000, std::nullopt, "en",
                    {"language/country is en"}}),
    [](const ::testing::TestParamInfo<ResolveCase>& info) { return std::string(info.param.name); });

struct SplitCase {
    const char* code;
    const char* language;
    std::optional<std::string> country;
};

void PrintTo(const SplitCase& c, std::ostream* os)
{
    *os << c.code;
}

class SplitLocale : public ::testing::TestWithParam<SplitCase> {
protected:
    void SetUp() override { resetLocaleParts(); }
    void TearDown() override { resetLocaleParts(); }
};

TEST_P(SplitLocale, StoresLanguageAndCountryOfFiveCharacterCodes)
{
    const SplitCase& c = GetParam();
    splitLocale(c.code);

    std::string language = "unchanged";
    ASSERT_TRUE(localeLanguage(language));
    EXPECT_EQ(language, c.language);

    std::string country = "unchanged";
    EXPECT_EQ(localeCountry(country), c.country.has_value());
    EXPECT_EQ(country, c.country.value_or("unchanged"));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SplitLocale,
    ::testing::Values(SplitCase{"de_DE", "de", "DE"}, SplitCase{"es_MX", "es", "MX"},
                      SplitCase{"no_NO_NY", "no", std::nullopt},
                      SplitCase{"en", "en", std::nullopt}, SplitCase{"sr", "sr", std::nullopt}),
    [](const ::testing::TestParamInfo<SplitCase>& info) {
        std::string name = info.param.code;
        std::replace(name.begin(), name.end(), '_', 'x');
        return name;
    });

TEST(LocaleParts, AbsentUntilSplitAndCountryReplacedBySecondSplit)
{
    resetLocaleParts();
    std::string out = "unchanged";
    EXPECT_FALSE(localeLanguage(out));
    EXPECT_FALSE(localeCountry(out));
    EXPECT_EQ(out, "unchanged");

    splitLocale("fr_CA");
    splitLocale("en");
    EXPECT_TRUE(localeLanguage(out));
    EXPECT_EQ(out, "en");
    EXPECT_FALSE(localeCountry(out));
    resetLocaleParts();
}

TEST(LocaleParts, ResolvedCodeFlowsIntoParts)
{
    resetLocaleParts();
    clearCapturedLog();
    splitLocale(resolveLocaleCode(nullptr, 0x0409, 0x0c0c));
    std::string language, country;
    ASSERT_TRUE(localeLanguage(language));
    ASSERT_TRUE(localeCountry(country));
    EXPECT_EQ(language + "/" + country, "fr/CA");
    resetLocaleParts();
    clearCapturedLog();
}

} // namespace
