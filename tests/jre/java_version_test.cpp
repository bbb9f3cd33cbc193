#include "jre/java_version.h"

#include "payload/config_items.h"
#include "payload/config_store.h"
#include "tests/support/log_capture.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::int32_t kMax = 2147483647;

TEST(ParseJavaVersion, SplitsAtSeparatorsAndConvertsEachPiece) {
    struct Case {
        std::string_view text;
        JavaVersion expected;
    };
    using namespace std::string_view_literals;
    const Case cases[] = {
        {"1.8.0_181", {1, 8, 0, 181}},
        {"1.6.0_45-b06", {1, 6, 0, 45, 0}},
        {"9-ea", {9, 0}},
        {"11.0.2+9", {11, 0, 2, 9}},
        {"45abc", {45}},
        {"1.6", {1, 6}},
        {"", {}},
        {"._-+", {}},
        {"1..8", {1, 8}},
        {".1.8.", {1, 8}},
        {"1_-+.8", {1, 8}},
        {"abc", {0}},
        {"1.x7", {1, 0}},
        {" 7.\t8", {7, 8}},
        {"07.010", {7, 10}},
        {"2147483647", {kMax}},
        {"2147483648.1", {kMax, 1}},
        {"99999999999999999999999", {kMax}},
        {"1.8\0.5"sv, {1, 8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        EXPECT_EQ(parseJavaVersion(c.text), c.expected);
    }
}

TEST(SatisfiesLimit, ComparesOverTheLimitsLength) {
    struct Case {
        JavaVersion limit;
        JavaVersion candidate;
        LimitSide side;
        bool acceptShorter;
        bool expected;
    };
    constexpr LimitSide L = LimitSide::Lower;
    constexpr LimitSide U = LimitSide::Upper;
    const Case cases[] = {
        // No limit: anything passes, the empty candidate included.
        {{}, {}, L, false, true},
        {{}, {}, U, false, true},
        {{}, {1, 8}, L, false, true},
        // Lower limit: the first differing component decides.
        {{1, 6}, {1, 7}, L, false, true},
        {{1, 6}, {1, 5, 99}, L, false, false},
        {{1, 6}, {2, 0}, L, false, true},
        {{1, 6, 0, 10}, {1, 6, 0, 10}, L, false, true},
        // Upper limit mirrors it.
        {{1, 8}, {1, 7, 99}, U, false, true},
        {{1, 8}, {1, 9}, U, false, false},
        {{1, 8}, {9}, U, false, false},
        // Candidate components beyond the limit's length are never looked at.
        {{1, 8}, {1, 8, 0, 181}, U, false, true},
        {{1, 8}, {1, 8, 0, 181}, L, false, true},
        // A candidate that ends first, equal so far, yields acceptShorter.
        {{1, 6, 0, 10}, {1, 6}, L, false, false},
        {{1, 6, 0, 10}, {1, 6}, L, true, true},
        {{1, 7, 0, 80}, {1, 7}, U, false, false},
        {{1, 7, 0, 80}, {1, 7}, U, true, true},
        {{1, 8}, {}, L, true, true},
        {{1, 8}, {}, U, false, false},
        // A decided position wins before the candidate runs out.
        {{1, 6, 0, 10}, {1, 5}, L, true, false},
        {{1, 6, 0, 10}, {1, 7}, L, false, true},
        // Clamped components compare as the largest value.
        {{1, kMax}, {1, kMax}, U, false, true},
        {{1, kMax - 1}, {1, kMax}, U, false, false},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(testing::Message() << "case " << i);
        EXPECT_EQ(satisfiesLimit(c.limit, c.candidate, c.side, c.acceptShorter), c.expected);
    }
}

struct RangeCase {
    std::string_view text;
    JavaVersion lower;
    JavaVersion upper;
    bool expected;
};

TEST(CheckJavaVersion, StrictRangeCheck) {
    const RangeCase cases[] = {
        // No limits accept everything, the empty version included.
        {"", {}, {}, true},
        {"1.8.0_181", {}, {}, true},
        {"garbage", {}, {}, true},
        // Minimum 1.6, maximum 1.8.
        {"1.6.0_45", {1, 6}, {1, 8}, true},
        {"1.7.0_80", {1, 6}, {1, 8}, true},
        {"1.8.0_181", {1, 6}, {1, 8}, true},
        {"1.5.0_22", {1, 6}, {1, 8}, false},
        {"9", {1, 6}, {1, 8}, false},
        {"11.0.2", {1, 6}, {1, 8}, false},
        // Minimum 1.8.0_20.
        {"1.8", {1, 8, 0, 20}, {}, false},
        {"1.8.0_5", {1, 8, 0, 20}, {}, false},
        {"1.8.0_20", {1, 8, 0, 20}, {}, true},
        {"1.8.0_181", {1, 8, 0, 20}, {}, true},
        // Maximum 1.7.0_80.
        {"1.7", {}, {1, 7, 0, 80}, false},
        {"1.7.0_81", {}, {1, 7, 0, 80}, false},
        {"1.7.0_80", {}, {1, 7, 0, 80}, true},
        // A full version shorter than the limit fails it.
        {"1.6", {1, 6, 0, 10}, {}, false},
        // Text beyond the 32-bit range compares as the largest value.
        {"1.99999999999", {}, {1, kMax}, true},
    };
    clearCapturedLog();
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        EXPECT_EQ(checkJavaVersion(c.text, c.lower, c.upper, false), c.expected);
    }
    EXPECT_TRUE(capturedLog().empty());
}

TEST(CheckVersionPrefix, AcceptsFamiliesThatMayStillReachTheLimit) {
    const RangeCase cases[] = {
        {"", {}, {}, true},
        {"", {1, 6}, {1, 8}, true},
        {"1.8", {1, 8, 0, 20}, {}, true},
        {"1.7", {}, {1, 7, 0, 80}, true},
        {"1.7", {1, 6}, {1, 8}, true},
        {"1.5", {1, 6}, {1, 8}, false},
        {"1.9", {1, 6}, {1, 8}, false},
        {"1.7.0_81", {}, {1, 7, 0, 80}, false},
        {"1.8.0_5", {1, 8, 0, 20}, {}, false},
        {"1", {1, 6}, {1, 8}, true},
        // No pre-release rule on this path.
        {"1.8.0-ea", {1, 6}, {1, 8}, true},
    };
    clearCapturedLog();
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        EXPECT_EQ(checkVersionPrefix(c.text, c.lower, c.upper), c.expected);
    }
    EXPECT_TRUE(capturedLog().empty());
}

TEST(CheckJavaVersion, RefusesPreReleaseRuntimesWithOneLogLine) {
    struct Case {
        std::string_view text;
        bool preRelease;         // refused while pre-release runtimes are not allowed
        bool passesWhenAllowed;  // result with allowBeta true: the limits alone decide
    };
    const Case cases[] = {
        {"1.9.0-ea", true, true},
        {"1.8.0-beta", true, true},
        {"1.7.0-rc1", true, true},
        // Refused before the limits are looked at, which it would fail too.
        {"2.0-ea", true, false},
        // A plain case-sensitive substring search.
        {"1.8.0_181-research", true, true},
        {"1.8.0-EA", false, true},
        {"1.8.0-RC1", false, true},
        {"1.8.0-b06", false, true},
        {"1.5.0_22", false, false},
        {"", false, false},
    };
    const JavaVersion lower{1, 6};
    const JavaVersion upper{1, 9};
    ASSERT_EQ(configStore().narrow.count(kItemAllowBetaJava), 0u);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        clearCapturedLog();
        const bool passed = checkJavaVersion(c.text, lower, upper, false);
        if (c.preRelease) {
            EXPECT_FALSE(passed);
            EXPECT_EQ(capturedLog(), std::vector<std::string>{"beta vm not allowed"});
        } else {
            EXPECT_EQ(passed, c.passesWhenAllowed);
            EXPECT_TRUE(capturedLog().empty());
        }

        clearCapturedLog();
        EXPECT_EQ(checkJavaVersion(c.text, lower, upper, true), c.passesWhenAllowed);
        EXPECT_TRUE(capturedLog().empty());
    }
}

// Item allowBetaJava admits pre-release runtimes like the allowBeta argument does.
TEST(CheckJavaVersion, AllowBetaJavaItemLiftsThePreReleaseRule) {
    struct Case {
        const char* itemValue;  // nullptr: item absent
        bool allowed;
    };
    const Case cases[] = {
        {nullptr, false}, {"", false}, {"0", false}, {"no", false},
        {"1", true},      {"-1", true}, {" 7", true},
    };
    auto& items = configStore().narrow;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.itemValue ? c.itemValue : "(absent)");
        items.erase(kItemAllowBetaJava);
        if (c.itemValue) items[kItemAllowBetaJava] = c.itemValue;
        clearCapturedLog();
        EXPECT_EQ(allowBetaJavaConfigured(), c.allowed);
        EXPECT_EQ(checkJavaVersion("1.9.0-ea", {1, 6}, {}, false), c.allowed);
        EXPECT_EQ(capturedLog().size(), c.allowed ? 0u : 1u);
    }
    items.erase(kItemAllowBetaJava);
}

TEST(IsNewerVersion, StrictLexicographicOrder) {
    struct Case {
        std::string_view a;
        std::string_view b;
        bool expected;
    };
    const Case cases[] = {
        {"1.8.0_181", "1.8.0_45", true},
        {"1.8.0_45", "1.8.0_181", false},
        {"1.8.0", "1.8", true},
        {"1.8", "1.8.0", false},
        {"1.8", "1.8", false},
        {"9", "1.8.0_181", true},
        {"1.8.0_181", "9", false},
        {"11.0.2+9", "11.0.2", true},
        {"1.8.0_181", "1.8-0_181", false},
        {"", "", false},
        {"", "1.6", false},
        {"", "0", false},
        {"1.6", "", true},
        {"0", "", true},
        {"1.99999999999", "1.2147483647", false},
        {"1.99999999999", "1.2147483646", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + std::string(c.b));
        EXPECT_EQ(isNewerVersion(c.a, c.b), c.expected);
    }
}

}  // namespace
