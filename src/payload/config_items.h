// The configuration items of the payload: one named id constant per item, and a
// catalogue that keeps every id together with its name and the form it is read in
// (the build tool uses it to accept item names in place of numbers).
//
// Each line of WRENLET_CONFIG_ITEMS below is the single source of an item:
//   SETTING(Name, name, id, Form) defines kItem<Name> = id, catalogued as "name";
//   MESSAGE(Name, id)             defines kMsg<Name>  = id, catalogued as "msg<Name>".
// For example kItemJreSearchSequence = 128 ("jreSearchSequence") and
// kMsgNoRuntime = 1016 ("msgNoRuntime").
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// How an item's value is read.
enum class ItemForm {
    Int,              // configInt
    Text,             // configString
    WideText,         // configStringAsWide
    Colour,           // configColor
    TextAndWideText,  // one entry read as 8-bit text and as wide text
    ColourAndText,    // one entry read as a colour and as text
    Message,          // configMessage: UTF-16 table with locale overrides, else 8-bit
};

// clang-format off
#define WRENLET_CONFIG_ITEMS(SETTING, MESSAGE)                                         \
    SETTING(SplashWindowTitle,           splashWindowTitle,           101,   Text)            \
    SETTING(JavaLauncherPath1Enabled,    javaLauncherPath1Enabled,    102,   Int)             \
    SETTING(JavaLauncherPath1,           javaLauncherPath1,           103,   WideText)        \
    SETTING(JavaLauncherPath2Enabled,    javaLauncherPath2Enabled,    104,   Int)             \
    SETTING(JavaLauncherPath2,           javaLauncherPath2,           105,   WideText)        \
    SETTING(JavaLauncherFlag,            javaLauncherFlag,            106,   Int)             \
    SETTING(ExecutableType,              executableType,              107,   Int)             \
    SETTING(SplashScreen,                splashScreen,                108,   Int)             \
    SETTING(ClassPath,                   classPath,                   121,   Text)            \
    SETTING(JavaLauncherText,            javaLauncherText,            122,   WideText)        \
    SETTING(VmOptions,                   vmOptions,                   123,   WideText)        \
    SETTING(ConfiguredArguments,         configuredArguments,         124,   WideText)        \
    SETTING(VmOptionArguments,           vmOptionArguments,           125,   Int)             \
    SETTING(MinJavaVersion,              minJavaVersion,              126,   Text)            \
    SETTING(MaxJavaVersion,              maxJavaVersion,              127,   Text)            \
    SETTING(JreSearchSequence,           jreSearchSequence,           128,   Text)            \
    SETTING(AllowBetaJava,               allowBetaJava,               130,   Int)             \
    SETTING(RequireJdk,                  requireJdk,                  131,   Int)             \
    SETTING(SplashWidth,                 splashWidth,                 141,   Int)             \
    SETTING(SplashHeight,                splashHeight,                142,   Int)             \
    SETTING(SplashAutoOff,               splashAutoOff,               145,   Int)             \
    SETTING(WorkingDirectory,            workingDirectory,            146,   WideText)        \
    SETTING(SplashAlwaysOnTop,           splashAlwaysOnTop,           147,   Int)             \
    SETTING(PreferredJvmDirectory,       preferredJvmDirectory,       152,   Text)            \
    SETTING(QuietConsoleArgs,            quietConsoleArgs,            154,   Int)             \
    SETTING(ConsoleArg,                  consoleArg,                  156,   Int)             \
    SETTING(InstanceLockGlobal,          instanceLockGlobal,          158,   Int)             \
    SETTING(InstallationAppId,           installationAppId,           160,   Text)            \
    SETTING(AwtSplashOption,             awtSplashOption,             163,   Int)             \
    SETTING(SharedRuntimesOnly,          sharedRuntimesOnly,          165,   Int)             \
    MESSAGE(ErrorCaption,                                             1000)                   \
    MESSAGE(LaunchFailed,                                             1005)                   \
    MESSAGE(ClassPathEntryMissing,                                    1006)                   \
    MESSAGE(EnvVarMissing,                                            1008)                   \
    MESSAGE(InternalError,                                            1009)                   \
    MESSAGE(MainClassNotFound,                                        1010)                   \
    MESSAGE(MainMethodNotFound,                                       1011)                   \
    MESSAGE(NoTempFolder,                                             1015)                   \
    MESSAGE(NoRuntime,                                                1016)                   \
    MESSAGE(RuntimeSourceFailed,                                      1018)                   \
    MESSAGE(RuntimeLocationFailed,                                    1020)                   \
    SETTING(Flavour,                     flavour,                     2001,  Text)            \
    SETTING(IncludedFileCount,           includedFileCount,           2002,  Int)             \
    SETTING(IncludedFileNames,           includedFileNames,           2003,  Text)            \
    SETTING(InstallationDirectory,       installationDirectory,       10003, TextAndWideText) \
    SETTING(NativeLibraryDirs,           nativeLibraryDirs,           10004, Text)            \
    SETTING(SingleInstanceMode,          singleInstanceMode,          10005, Int)             \
    SETTING(ActivateOtherInstance,       activateOtherInstance,       10007, Int)             \
    SETTING(StatusLineX,                 statusLineX,                 10109, Int)             \
    SETTING(StatusLineY,                 statusLineY,                 10110, Int)             \
    SETTING(StatusLineText,              statusLineText,              10111, Text)            \
    SETTING(StatusLineFont,              statusLineFont,              10112, Text)            \
    SETTING(StatusLineFontSize,          statusLineFontSize,          10113, Int)             \
    SETTING(StatusLineColor,             statusLineColor,             10114, ColourAndText)   \
    SETTING(StatusLineFontWeight,        statusLineFontWeight,        10115, Int)             \
    SETTING(SecondLineX,                 secondLineX,                 10116, Int)             \
    SETTING(SecondLineY,                 secondLineY,                 10117, Int)             \
    SETTING(SecondLineText,              secondLineText,              10118, Text)            \
    SETTING(SecondLineFont,              secondLineFont,              10119, Text)            \
    SETTING(SecondLineFontSize,          secondLineFontSize,          10120, Int)             \
    SETTING(SecondLineColor,             secondLineColor,             10121, ColourAndText)   \
    SETTING(SecondLineFontWeight,        secondLineFontWeight,        10122, Int)             \
    SETTING(UseRuntimeSplash,            useRuntimeSplash,            10123, Int)             \
    SETTING(VersionSpecificOptionCount,  versionSpecificOptionCount,  10200, Int)
// clang-format on

#define WRENLET_DEFINE_SETTING_ID(Name, name, id, Form) \
    inline constexpr std::int32_t kItem##Name = id;
#define WRENLET_DEFINE_MESSAGE_ID(Name, id) inline constexpr std::int32_t kMsg##Name = id;
WRENLET_CONFIG_ITEMS(WRENLET_DEFINE_SETTING_ID, WRENLET_DEFINE_MESSAGE_ID)
#undef WRENLET_DEFINE_SETTING_ID
#undef WRENLET_DEFINE_MESSAGE_ID

// Version-specific VM options: kItemVersionSpecificOptionCount pairs, pair i (from 0)
// made of a version prefix (text) and the option tokens that go with it (wide text).
inline constexpr std::int32_t kItemVersionSpecificOptionVersionBase = 10201;
inline constexpr std::int32_t kItemVersionSpecificOptionsBase = 10202;
inline constexpr std::int32_t kVersionSpecificPairStride = 2;

constexpr std::int32_t versionSpecificOptionVersionId(int i) {
    return kItemVersionSpecificOptionVersionBase + kVersionSpecificPairStride * i;
}
constexpr std::int32_t versionSpecificOptionsId(int i) {
    return kItemVersionSpecificOptionsBase + kVersionSpecificPairStride * i;
}

struct ItemInfo {
    std::int32_t id;
    std::string_view name;
    ItemForm form;
};

// Every item in ascending id order. The version-specific pairs appear once, under
// their base ids, as "versionSpecificOptionVersion" and "versionSpecificOptions".
std::span<const ItemInfo> itemCatalogue();

// Exact, case-sensitive name lookup; nullptr when no item has that name.
const ItemInfo* findItemByName(std::string_view name);

// Catalogue entry with exactly this id (a pair's base id, not its later members);
// nullptr when there is none.
const ItemInfo* findItemById(std::int32_t id);
