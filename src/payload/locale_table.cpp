#include "payload/locale_table.h"

#include "diag/log.h"

#include <mutex>

namespace {

constexpr std::uint16_t kPrimaryLanguageMask = 0x3ff;
constexpr std::string_view kDefaultCode = "en";
constexpr std::string_view kFormatAsDefaultOption = "-Dsun.locale.formatasdefault=";
constexpr std::string_view kFormatAsDefaultTrue = "-Dsun.locale.formatasdefault=true";

struct LocaleParts {
    std::mutex lock;
    std::optional<std::string> language;
    std::optional<std::string> country;
};

LocaleParts& localeParts()
{
    static LocaleParts* parts = new LocaleParts;  // never destroyed, as all process-wide state
    return *parts;
}

std::optional<std::string_view> findRow(std::uint16_t id)
{
    for (const LocaleRow& row : kLocaleTable) {
        if (row.id == id)
            return std::string_view(row.code);
    }
    return std::nullopt;
}

// True when the UTF-16 entry holds exactly the given ASCII text.
bool equalsAscii(WStringView entry, std::string_view ascii)
{
    if (entry.size() != ascii.size())
        return false;
    for (std::size_t i = 0; i < ascii.size(); ++i) {
        if (entry[i] != static_cast<char16_t>(static_cast<unsigned char>(ascii[i])))
            return false;
    }
    return true;
}

bool startsWithAscii(WStringView entry, std::string_view ascii)
{
    return entry.size() >= ascii.size() && equalsAscii(entry.substr(0, ascii.size()), ascii);
}

} // namespace

// clang-format off
constexpr std::array<LocaleRow, kLocaleTableSize> kLocaleTable = {{
    {0x0001, "ar"},
    {0x0002, "bg"},
    {0x0003, "ca"},
    {0x0004, "zh"},
    {0x0005, "cs"},
    {0x0006, "da"},
    {0x0007, "de"},
    {0x0008, "el"},
    {0x0009, "en"},
    {0x000a, "es"},
    {0x000b, "fi"},
    {0x000c, "fr"},
    {0x000d, "iw"},
    {0x000e, "hu"},
    {0x000f, "is"},
    {0x0010, "it"},
    {0x0011, "ja"},
    {0x0012, "ko"},
    {0x0013, "nl"},
    {0x0014, "no"},
    {0x0015, "pl"},
    {0x0016, "pt"},
    {0x0017, "rm"},
    {0x0018, "ro"},
    {0x0019, "ru"},
    {0x001a, "sr"},
    {0x001b, "sk"},
    {0x001c, "sq"},
    {0x001d, "sv"},
    {0x001e, "th"},
    {0x001f, "tr"},
    {0x0020, "ur"},
    {0x0021, "in"},
    {0x0022, "uk"},
    {0x0023, "be"},
    {0x0024, "sl"},
    {0x0025, "et"},
    {0x0026, "lv"},
    {0x0027, "lt"},
    {0x0029, "fa"},
    {0x002a, "vi"},
    {0x002b, "hy"},
    {0x002c, "az"},
    {0x002d, "eu"},
    {0x002f, "mk"},
    {0x0031, "ts"},
    {0x0032, "tn"},
    {0x0034, "xh"},
    {0x0035, "zu"},
    {0x0036, "af"},
    {0x0037, "ka"},
    {0x0038, "fo"},
    {0x0039, "hi"},
    {0x003a, "mt"},
    {0x003c, "gd"},
    {0x003d, "yi"},
    {0x003e, "ms"},
    {0x003f, "kk"},
    {0x0040, "ky"},
    {0x0041, "sw"},
    {0x0043, "uz"},
    {0x0044, "tt"},
    {0x0046, "pa"},
    {0x0047, "gu"},
    {0x0049, "ta"},
    {0x004a, "te"},
    {0x004b, "kn"},
    {0x004e, "mr"},
    {0x004f, "sa"},
    {0x0050, "mn"},
    {0x0056, "gl"},
    {0x0401, "ar_SA"},
    {0x0402, "bg_BG"},
    {0x0403, "ca_ES"},
    {0x0404, "zh_TW"},
    {0x0405, "cs_CZ"},
    {0x0406, "da_DK"},
    {0x0407, "de_DE"},
    {0x0408, "el_GR"},
    {0x0409, "en_US"},
    {0x040a, "es_ES"},
    {0x040b, "fi_FI"},
    {0x040c, "fr_FR"},
    {0x040d, "iw_IL"},
    {0x040e, "hu_HU"},
    {0x040f, "is_IS"},
    {0x0410, "it_IT"},
    {0x0411, "ja_JP"},
    {0x0412, "ko_KR"},
    {0x0413, "nl_NL"},
    {0x0414, "no_NO"},
    {0x0415, "pl_PL"},
    {0x0416, "pt_BR"},
    {0x0417, "rm_CH"},
    {0x0418, "ro_RO"},
    {0x0419, "ru_RU"},
    {0x041a, "hr_HR"},
    {0x041b, "sk_SK"},
    {0x041c, "sq_AL"},
    {0x041d, "sv_SE"},
    {0x041e, "th_TH"},
    {0x041f, "tr_TR"},
    {0x0420, "ur_PK"},
    {0x0421, "in_ID"},
    {0x0422, "uk_UA"},
    {0x0423, "be_BY"},
    {0x0424, "sl_SI"},
    {0x0425, "et_EE"},
    {0x0426, "lv_LV"},
    {0x0427, "lt_LT"},
    {0x0429, "fa_IR"},
    {0x042a, "vi_VN"},
    {0x042b, "hy_AM"},
    {0x042c, "az_AZ"},
    {0x042d, "eu_ES"},
    {0x042f, "mk_MK"},
    {0x0431, "ts"},
    {0x0432, "tn_BW"},
    {0x0434, "xh"},
    {0x0435, "zu"},
    {0x0436, "af_ZA"},
    {0x0437, "ka_GE"},
    {0x0438, "fo_FO"},
    {0x0439, "hi_IN"},
    {0x043a, "mt_MT"},
    {0x043c, "gd_GB"},
    {0x043d, "yi"},
    {0x043e, "ms_MY"},
    {0x043f, "kk_KZ"},
    {0x0440, "ky_KG"},
    {0x0441, "sw_KE"},
    {0x0443, "uz_UZ"},
    {0x0444, "tt"},
    {0x0446, "pa_IN"},
    {0x0447, "gu_IN"},
    {0x0449, "ta_IN"},
    {0x044a, "te_IN"},
    {0x044b, "kn_IN"},
    {0x044e, "mr_IN"},
    {0x044f, "sa_IN"},
    {0x0450, "mn_MN"},
    {0x0456, "gl_ES"},
    {0x0801, "ar_IQ"},
    {0x0804, "zh_CN"},
    {0x0807, "de_CH"},
    {0x0809, "en_GB"},
    {0x080a, "es_MX"},
    {0x080c, "fr_BE"},
    {0x0810, "it_CH"},
    {0x0812, "ko_KR"},
    {0x0813, "nl_BE"},
    {0x0814, "no_NO_NY"},
    {0x0816, "pt_PT"},
    {0x0818, "ro_MD"},
    {0x0819, "ru_MD"},
    {0x081a, "sr_CS"},
    {0x081d, "sv_FI"},
    {0x082c, "az_AZ"},
    {0x083c, "ga_IE"},
    {0x083e, "ms_BN"},
    {0x0843, "uz_UZ"},
    {0x0c01, "ar_EG"},
    {0x0c04, "zh_HK"},
    {0x0c07, "de_AT"},
    {0x0c09, "en_AU"},
    {0x0c0a, "es_ES"},
    {0x0c0c, "fr_CA"},
    {0x0c1a, "sr_CS"},
    {0x1001, "ar_LY"},
    {0x1004, "zh_SG"},
    {0x1007, "de_LU"},
    {0x1009, "en_CA"},
    {0x100a, "es_GT"},
    {0x100c, "fr_CH"},
    {0x1401, "ar_DZ"},
    {0x1404, "zh_MO"},
    {0x1407, "de_LI"},
    {0x1409, "en_NZ"},
    {0x140a, "es_CR"},
    {0x140c, "fr_LU"},
    {0x1801, "ar_MA"},
    {0x1809, "en_IE"},
    {0x180a, "es_PA"},
    {0x180c, "fr_MC"},
    {0x1c01, "ar_TN"},
    {0x1c09, "en_ZA"},
    {0x1c0a, "es_DO"},
    {0x2001, "ar_OM"},
    {0x2009, "en_JM"},
    {0x200a, "es_VE"},
    {0x2401, "ar_YE"},
    {0x2409, "en"},
    {0x240a, "es_CO"},
    {0x2801, "ar_SY"},
    {0x2809, "en_BZ"},
    {0x280a, "es_PE"},
    {0x2c01, "ar_JO"},
    {0x2c09, "en_TT"},
    {0x2c0a, "es_AR"},
    {0x3001, "ar_LB"},
    {0x3009, "en_ZW"},
    {0x300a, "es_EC"},
    {0x3401, "ar_KW"},
    {0x3409, "en_PH"},
    {0x340a, "es_CL"},
    {0x3801, "ar_AE"},
    {0x380a, "es_UY"},
    {0x3c01, "ar_BH"},
    {0x3c0a, "es_PY"},
    {0x4001, "ar_QA"},
    {0x400a, "es_BO"},
    {0x440a, "es_SV"},
    {0x480a, "es_HN"},
    {0x4c0a, "es_NI"},
    {0x500a, "es_PR"},
}};
// clang-format on

static_assert(
    [] {
        for (std::size_t i = 1; i < kLocaleTable.size(); ++i) {
            if (kLocaleTable[i - 1].id >= kLocaleTable[i].id)
                return false;
        }
        return true;
    }(),
    "locale table must be in strictly ascending id order");

std::string_view lookupLocaleCode(std::uint16_t languageId)
{
    if (auto code = findRow(languageId))
        return *code;
    if (auto code = findRow(languageId & kPrimaryLanguageMask))
        return *code;
    return kDefaultCode;
}

bool formatAsDefaultRequested(const ArgList& args)
{
    bool requested = false;
    for (const WString& entry : args) {
        if (equalsAscii(entry, kFormatAsDefaultTrue))
            requested = true;
        else if (startsWithAscii(entry, kFormatAsDefaultOption))
            requested = false;
    }
    return requested;
}

std::string resolveLocaleCode(const ArgList* args, std::uint16_t defaultLocaleLanguageId,
                              const std::function<std::optional<std::uint16_t>()>& uiLanguage)
{
    bool formatAsDefault = false;
    if (args != nullptr) {
        formatAsDefault = formatAsDefaultRequested(*args);
        logMessage(u"sun.locale.formatasdefault is %S", formatAsDefault ? "true" : "false");
    }

    std::uint16_t languageId = defaultLocaleLanguageId;
    if (!formatAsDefault) {
        if (auto uiLanguageId = uiLanguage())
            languageId = *uiLanguageId;
    }

    std::string code(kDefaultCode);
    if (auto exact = findRow(languageId)) {
        code.assign(*exact);
    } else if (auto primary = findRow(languageId & kPrimaryLanguageMask)) {
        code.assign(*primary);
    }
    logMessage(u"language/country is %S", code.c_str());
    return code;
}

void splitLocale(std::string_view code)
{
    LocaleParts& parts = localeParts();
    std::lock_guard guard(parts.lock);
    parts.language = std::string(code.substr(0, 2));
    if (code.size() == 5)
        parts.country = std::string(code.substr(3, 2));
    else
        parts.country.reset();
}

bool localeLanguage(std::string& out)
{
    LocaleParts& parts = localeParts();
    std::lock_guard guard(parts.lock);
    if (!parts.language)
        return false;
    out = *parts.language;
    return true;
}

bool localeCountry(std::string& out)
{
    LocaleParts& parts = localeParts();
    std::lock_guard guard(parts.lock);
    if (!parts.country)
        return false;
    out = *parts.country;
    return true;
}

void resetLocaleParts()
{
    LocaleParts& parts = localeParts();
    std::lock_guard guard(parts.lock);
    parts.language.reset();
    parts.country.reset();
}
