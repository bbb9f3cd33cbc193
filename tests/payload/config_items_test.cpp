#include "payload/config_items.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(ConfigItems, IdsAndNamesAreUnique) {
    std::set<std::int32_t> ids;
    std::set<std::string_view> names;
    for (const ItemInfo& item : itemCatalogue()) {
        SCOPED_TRACE(std::string(item.name));
        EXPECT_TRUE(ids.insert(item.id).second);
        EXPECT_TRUE(names.insert(item.name).second);
        EXPECT_FALSE(item.name.empty());
    }
    // 30 launcher settings, 11 messages, 3 flavour/included-file items, 4 installation
    // and instance items, 15 splash items, the pair count and the two pair members.
    EXPECT_EQ(itemCatalogue().size(), 30u + 11u + 3u + 4u + 15u + 1u + 2u);
}

TEST(ConfigItems, LookupsRoundTripForEveryItem) {
    for (const ItemInfo& item : itemCatalogue()) {
        SCOPED_TRACE(std::string(item.name));
        EXPECT_EQ(findItemByName(item.name), &item);
        EXPECT_EQ(findItemById(item.id), &item);
    }
}

TEST(ConfigItems, SpotChecksOfIdNameAndForm) {
    struct Case {
        std::int32_t constant;
        std::int32_t id;
        std::string_view name;
        ItemForm form;
    };
    const Case cases[] = {
        {kItemSplashWindowTitle, 101, "splashWindowTitle", ItemForm::Text},
        {kItemJavaLauncherPath1, 103, "javaLauncherPath1", ItemForm::WideText},
        {kItemExecutableType, 107, "executableType", ItemForm::Int},
        {kItemMinJavaVersion, 126, "minJavaVersion", ItemForm::Text},
        {kItemJreSearchSequence, 128, "jreSearchSequence", ItemForm::Text},
        {kItemAllowBetaJava, 130, "allowBetaJava", ItemForm::Int},
        {kItemSharedRuntimesOnly, 165, "sharedRuntimesOnly", ItemForm::Int},
        {kMsgErrorCaption, 1000, "msgErrorCaption", ItemForm::Message},
        {kMsgLaunchFailed, 1005, "msgLaunchFailed", ItemForm::Message},
        {kMsgInternalError, 1009, "msgInternalError", ItemForm::Message},
        {kMsgNoRuntime, 1016, "msgNoRuntime", ItemForm::Message},
        {kMsgRuntimeLocationFailed, 1020, "msgRuntimeLocationFailed", ItemForm::Message},
        {kItemFlavour, 2001, "flavour", ItemForm::Text},
        {kItemInstallationDirectory, 10003, "installationDirectory", ItemForm::TextAndWideText},
        {kItemActivateOtherInstance, 10007, "activateOtherInstance", ItemForm::Int},
        {kItemStatusLineColor, 10114, "statusLineColor", ItemForm::ColourAndText},
        {kItemSecondLineColor, 10121, "secondLineColor", ItemForm::ColourAndText},
        {kItemUseRuntimeSplash, 10123, "useRuntimeSplash", ItemForm::Int},
        {kItemVersionSpecificOptionCount, 10200, "versionSpecificOptionCount", ItemForm::Int},
        {kItemVersionSpecificOptionVersionBase, 10201, "versionSpecificOptionVersion",
         ItemForm::Text},
        {kItemVersionSpecificOptionsBase, 10202, "versionSpecificOptions", ItemForm::WideText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name));
        EXPECT_EQ(c.constant, c.id);
        const ItemInfo* item = findItemById(c.id);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->name, c.name);
        EXPECT_EQ(item->form, c.form);
    }
}

TEST(ConfigItems, UnknownLookupsFindNothing) {
    const std::string_view names[] = {"", "SplashWindowTitle", "splashwindowtitle",
                                      "splashWindowTitle ", "errorCaption", "kItemFlavour"};
    for (std::string_view name : names) {
        SCOPED_TRACE(std::string(name));
        EXPECT_EQ(findItemByName(name), nullptr);
    }
    // Unused ids, and the later members of the version-specific pairs, which are
    // catalogued under their base ids only.
    const std::int32_t ids[] = {0, -1, 100, 109, 129, 1001, 1021, 2000, 10006, 10203, 10204};
    for (std::int32_t id : ids) {
        SCOPED_TRACE(id);
        EXPECT_EQ(findItemById(id), nullptr);
    }
}

TEST(ConfigItems, VersionSpecificPairIds) {
    struct Case {
        int pair;
        std::int32_t versionId;
        std::int32_t optionsId;
    };
    const Case cases[] = {{0, 10201, 10202}, {1, 10203, 10204}, {2, 10205, 10206},
                          {10, 10221, 10222}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pair);
        EXPECT_EQ(versionSpecificOptionVersionId(c.pair), c.versionId);
        EXPECT_EQ(versionSpecificOptionsId(c.pair), c.optionsId);
    }
    static_assert(versionSpecificOptionVersionId(1) == 10203);
    static_assert(versionSpecificOptionsId(1) == 10204);
}

}  // namespace
