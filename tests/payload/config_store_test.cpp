#include "payload/config_store.h"
#include "tests/support/log_capture.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class ConfigStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = configStore();
    configStore() = ConfigStore{};
    clearCapturedLog();
  }
  void TearDown() override { configStore() = saved_; }
  void set(std::int32_t id, std::string value) { configStore().narrow[id] = std::move(value); }

 private:
  ConfigStore saved_;
};

TEST_F(ConfigStoreTest, ConfigIntConvertsAndClamps) {
  struct Case {
    const char* value;  // nullptr: absent
    std::int32_t expected;
  };
  const Case cases[] = {{nullptr, 0},        {"", 0},           {"abc", 0},
                        {" 42", 42},         {"12abc", 12},     {"-7", -7},
                        {"+9", 9},           {"99999999999", 2147483647},
                        {"-99999999999", -2147483647 - 1},      {"2147483647", 2147483647},
                        {"\t\n 5", 5},       {"- 5", 0}};
  for (const Case& c : cases) {
    configStore() = ConfigStore{};
    if (c.value) set(500, c.value);
    EXPECT_EQ(configInt(500), c.expected) << (c.value ? c.value : "(absent)");
  }
}

TEST_F(ConfigStoreTest, ConfigStringCutsAndLogsTruncation) {
  set(2001, "wx");
  EXPECT_EQ(configString(2001, 2), "w");
  ASSERT_EQ(capturedLog().size(), 1u);
  EXPECT_EQ(capturedLog()[0], "ERROR: config string 2001 truncated (2 2)");
  clearCapturedLog();
  EXPECT_EQ(configString(2001, 3), "wx");
  EXPECT_EQ(configString(9999, 3), "");
  EXPECT_TRUE(capturedLog().empty());
}

TEST_F(ConfigStoreTest, ConfigColorTakesLowBytesOfThreeComponents) {
  struct Case {
    const char* value;
    std::uint32_t expected;
  };
  const Case cases[] = {{"255,128,0", 0x000080FFu}, {"256,1,2", 0x00020100u},
                        {"0,0,255", 0x00FF0000u},   {" 10, 20, 30", 0x001E140Au},
                        {"1,2", 0x00000201u},       {"", 0u}};
  for (const Case& c : cases) {
    set(10114, c.value);
    EXPECT_EQ(configColor(10114), c.expected) << c.value;
  }
  EXPECT_EQ(configColor(10121), 0u);  // absent
}

TEST_F(ConfigStoreTest, MessagesComeFromTheWideTableFirst) {
  configStore().wide[1005] = u"wide";
  set(1005, "narrow");
  configStore().wide[1006] = u"";
  set(1006, "caf\xE9");
  EXPECT_EQ(configMessage(1005), u"wide");
  EXPECT_EQ(configMessage(1006), u"caf\u00E9");  // widened byte by byte
  EXPECT_EQ(configMessage(1007), u"");
}

TEST_F(ConfigStoreTest, AbsentItemsReadAsEmpty) {
  EXPECT_EQ(configStringCopy(77), "");
  EXPECT_EQ(configStringAsWide(77), u"");
  EXPECT_EQ(configWideString(77), u"");
  EXPECT_TRUE(configStore().narrow.empty());  // lookups do not insert
}

TEST_F(ConfigStoreTest, LongValuesAreCutAtTheBufferCapacity) {
  set(123, std::string(7000, 'x'));
  EXPECT_EQ(configString(123).size(), 5999u);
  EXPECT_EQ(configStringAsWide(123, 100).size(), 99u);
  EXPECT_EQ(configStringCopy(123).size(), 7000u);
  configStore().wide[1000] = std::u16string(7000, u'y');
  EXPECT_EQ(configWideString(1000).size(), 5999u);
}

}  // namespace

namespace {

void checkStoreAtExit() {
  // Runs after every static object that was created later has been destroyed.
  if (configString(5) != "still here") std::_Exit(3);
}

TEST(ConfigStoreLifetime, StoreOutlivesTheEndOfTheProcess) {
  // Threads that outlive the launcher's main function may still read the store
  // while the process ends; an exit handler registered before the store's first
  // use stands in for them here.
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process, store not yet created
  EXPECT_EXIT(
      {
        std::atexit(checkStoreAtExit);
        configStore().narrow[5] = "still here";
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
