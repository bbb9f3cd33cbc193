#include "jre/runtime_search.h"

#include "java_runtime_fixtures_win.h"
#include "payload/config_items.h"

#include <gtest/gtest.h>

namespace {

using namespace runtime_fixtures;

// A runtime home named by an environment variable, as the "E" entries and the two
// launcher variables use it.
class EnvironmentRuntimeTest : public ::testing::Test {
 protected:
  TestFolder folder;
  ConfigOverride config{{kItemExecutableType, "0"}, {kItemAllowBetaJava, "0"}, {kItemRequireJdk, "0"}};
  FakeRuntime jre{narrow(folder.path()) + "\\jre", {"bin\\java.exe"}, printsVersion("1.8.0_181")};

  bool tryVariable(const std::wstring& value) {
    EnvironmentOverride variable(L"WRENLET_TEST_HOME", value);
    std::string exe;
    std::string version;
    return tryEnvironmentVariable(exe, version, "WRENLET_TEST_HOME", JavaVersion{},
                                  JavaVersion{});
  }
};

TEST_F(EnvironmentRuntimeTest, HomeInTheVariableIsProbed) {
  EXPECT_TRUE(tryVariable(wide(jre.home())));
  EXPECT_EQ(jre.runs("bin\\java.exe"), 1);
  EXPECT_TRUE(tryVariable(wide(jre.home()) + L"/"));  // forward slashes are accepted
}

TEST_F(EnvironmentRuntimeTest, ValueLongerThanTheTextCapacityIsNotCutIntoAnotherHome) {
  // Cut to the capacity, this value would read as the home followed by "\." steps.
  std::wstring value = wide(jre.home());
  while (value.size() < kTextCapacity + 10) value += L"\\.";
  value += L"\\elsewhere";
  EXPECT_FALSE(tryVariable(value));
  EXPECT_EQ(jre.runs("bin\\java.exe"), 0);
}

TEST_F(EnvironmentRuntimeTest, UnsetOrEmptyVariableFindsNothing) {
  EXPECT_FALSE(tryVariable(L""));
  std::string exe;
  std::string version;
  EXPECT_FALSE(tryEnvironmentVariable(exe, version, "WRENLET_TEST_UNSET_HOME", JavaVersion{},
                                      JavaVersion{}));
}

}  // namespace
