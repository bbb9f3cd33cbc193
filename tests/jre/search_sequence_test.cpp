#include "jre/search_sequence.h"

#include <gtest/gtest.h>

namespace {

TEST(SearchSequence, SplitsEntriesIntoLetterAndText) {
  auto entries = parseSearchSequence(";Rjre;;Y;EJAVA_HOME;S;x;");
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[0].type, 'R');
  EXPECT_EQ(entries[0].text, "jre");
  EXPECT_EQ(entries[1].type, 'Y');
  EXPECT_EQ(entries[1].text, "");
  EXPECT_EQ(entries[2].text, "JAVA_HOME");
  EXPECT_EQ(entries[3].type, 'S');
  EXPECT_EQ(entries[4].type, 'x');
  EXPECT_TRUE(parseSearchSequence("").empty());
}

TEST(SearchSequence, FallbackPassTakesRelativeDirectoriesAndEveryB) {
  struct Case {
    const char* entry;
    bool taken;
  };
  const Case cases[] = {{"Ajre", true},         {"AC:\\java", false},  {"BC:\\java", true},
                        {"R\\\\server\\j", false}, {"R\\jre", true},     {"Rc:", false},
                        {"EJAVA_HOME", false},   {"S", false},          {"Y", false},
                        {"rjre", false},         {"R", true}};
  for (const Case& c : cases) {
    auto entries = parseSearchSequence(c.entry);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(fallbackTakesEntry(entries[0]), c.taken) << c.entry;
  }
}

TEST(SearchSequence, FailureMessagesFollowTheOrigin) {
  using A = FailureMessage::Argument;
  auto ids = [](RuntimeOrigin origin) {
    std::vector<std::pair<int, A>> out;
    for (const auto& m : loadFailureMessages(origin)) out.emplace_back(m.id, m.argument);
    return out;
  };
  EXPECT_EQ(ids(RuntimeOrigin::None), (std::vector<std::pair<int, A>>{{1016, A::Code64}}));
  EXPECT_EQ(ids(RuntimeOrigin::ExecutableSearchPath),
            (std::vector<std::pair<int, A>>{
                {1016, A::Code64}, {1018, A::Location}, {1020, A::Location}, {1005, A::None}}));
  EXPECT_EQ(ids(RuntimeOrigin::Directory),
            (std::vector<std::pair<int, A>>{{1020, A::Location}, {1005, A::None}}));
  EXPECT_EQ(ids(RuntimeOrigin::EnvironmentVariable),
            (std::vector<std::pair<int, A>>{
                {1018, A::Location}, {1020, A::Location}, {1005, A::None}}));
  EXPECT_EQ(ids(RuntimeOrigin::Registry), (std::vector<std::pair<int, A>>{{1005, A::None}}));
}

}  // namespace
